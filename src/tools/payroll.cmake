# kestrel-tool payroll: the payroll lists of the month without a screen.
# Each action adds its source here.
target_sources(kestrel-tool PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/payroll_command.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/payroll_lists_command.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/payroll_positions_command.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/payroll_printouts_command.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/payroll_month_command.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/payroll_recalc_command.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/payroll_bank_command.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/payroll_print_command.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/printout_file.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/payroll_statements_command.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/payroll_payslips_command.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/payroll_summary_command.cpp
)
target_link_libraries(kestrel-tool PRIVATE kestrel_payroll_data kestrel_payroll_printouts_data
                      kestrel_payroll_bank_data kestrel_printing_pdf kestrel_console)
