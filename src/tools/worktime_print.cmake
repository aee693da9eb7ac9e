# kestrel-tool worktime-print: the time sheets and the attendance list of a
# month to a print file (and a PDF), without a screen.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/worktime_print_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_worktime_printouts_data kestrel_printing_data
  kestrel_printing_pdf)
