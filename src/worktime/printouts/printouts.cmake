# Menu 3.8, the working-time print-outs' screens: part of the working-time
# screens, over the print-outs' data and the print dialog.
target_sources(kestrel_worktime PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/menu38.cpp
  ${CMAKE_CURRENT_LIST_DIR}/month_printouts.cpp
)
target_link_libraries(kestrel_worktime PUBLIC kestrel_worktime_printouts_data kestrel_printing_spool)

kestrel_test(worktime_printouts_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/month_printouts_test.cpp
  LIBS kestrel_worktime kestrel_dbf_testutil kestrel_test_support
  LABELS unit)
