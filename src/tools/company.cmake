# kestrel-tool company: company directories made and listed without the
# program, on the code of menu 9.7.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/company_command.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/param_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_utilities_data kestrel_codepage)
