# kestrel-tool dbf: table structure, dumps, index checks and builds.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/dbf_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_dbf kestrel_dbf_formula kestrel_common_tables)
