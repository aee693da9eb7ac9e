# Menu 4.8, the payroll printouts' screens: part of the payroll screens,
# over the printouts' data and the print dialog.
target_sources(kestrel_payroll PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/menu48.cpp
  ${CMAKE_CURRENT_LIST_DIR}/payroll_list_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/summary_screens.cpp
)
target_link_libraries(kestrel_payroll PUBLIC kestrel_payroll_printouts_data kestrel_printing)
