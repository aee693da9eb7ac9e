# kestrel-tool employee: the register without the program (the import of
# employees from a CSV file).
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/employee_import_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_register_data kestrel_codepage kestrel_console)
