# kestrel-tool formulas: the formula updater run without the program.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/formulas_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_payroll_data kestrel_codepage)
