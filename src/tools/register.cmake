# kestrel-tool register: the register printout (menu 2.6) without a screen,
# into a print file or a PDF.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/register_print_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_register_data kestrel_printing_data kestrel_printing_pdf
  kestrel_codepage kestrel_console)
