# kestrel-tool print: a text file printed through a printer definition or
# a CUPS queue, as the program's print-outs are; and the PDF of a print file.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/print_command.cpp
                                    ${CMAKE_CURRENT_SOURCE_DIR}/print_pdf_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_printing_data kestrel_printing_pdf kestrel_codepage)
