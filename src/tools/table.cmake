# kestrel-tool table: company tables written under the program's locks and
# indexes.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/table_command.cpp)
