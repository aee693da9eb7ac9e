# Menu 4.A, the bank transfer files' screens: part of the payroll screens,
# over the bank data and the print dialog.
target_sources(kestrel_payroll PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/menu4a.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bank_files_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bank_parameters_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bank_printouts_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_manager_screen.cpp
)
target_link_libraries(kestrel_payroll PUBLIC kestrel_payroll_bank_data kestrel_printing)

kestrel_test(payroll_bank_screens_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_manager_screen_test.cpp
  LIBS kestrel_payroll kestrel_dbf_testutil kestrel_test_support
  LABELS unit)
target_include_directories(payroll_bank_screens_test PRIVATE ${CMAKE_CURRENT_LIST_DIR}/data)
