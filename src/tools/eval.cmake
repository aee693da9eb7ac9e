# kestrel-tool eval: evaluate a formula from the command line.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/eval_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_payroll_data kestrel_dbf_formula kestrel_formula kestrel_codepage)
