# kestrel-tool print: a text file printed through a printer definition or
# a CUPS queue, as the program's print-outs are.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/print_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_printing_data kestrel_codepage)
