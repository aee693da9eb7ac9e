# Menu 4.8, the payroll printouts' screens: part of the payroll screens,
# over the printouts' data and the print dialog.
target_sources(kestrel_payroll PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/annual_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/control_list_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/denominations_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/matrix_editor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/matrix_grid_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menu48.cpp
  ${CMAKE_CURRENT_LIST_DIR}/month_statements_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print_date.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print_watch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/payroll_list_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/summary_screens.cpp
)
target_link_libraries(kestrel_payroll PUBLIC kestrel_payroll_printouts_data kestrel_printing
                      kestrel_printing_spool)

kestrel_test(payroll_printouts_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/denominations_screen_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/matrix_editor_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/payroll_list_screen_test.cpp
  LIBS kestrel_payroll kestrel_dbf_testutil kestrel_test_support
  LABELS unit)
