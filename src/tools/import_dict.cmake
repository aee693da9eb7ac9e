# kestrel-tool import-dict: load an official dictionary of a company from an
# official list file, or rebuild it from the program's copy.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/import_dict_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_register_data)
