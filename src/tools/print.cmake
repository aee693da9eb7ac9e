# kestrel-tool print: print files turned into PDF without the program.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/print_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_printing_pdf)
