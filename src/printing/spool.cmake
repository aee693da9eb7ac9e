# The spool screens: print with the spool option, the spool screen with its
# viewer, printing of spool files by pages, the interrupt question.
add_library(kestrel_printing_spool
  spool_hooks.cpp
  spool_interrupt.cpp
  spool_or_print.cpp
  spool_page_print.cpp
  spool_pdf.cpp
  spool_print_dialog.cpp
  spool_screen.cpp
  spool_viewer.cpp
)
target_include_directories(kestrel_printing_spool PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(kestrel_printing_spool
  PUBLIC kestrel_printing_data kestrel_common_screen kestrel_common_session
  PRIVATE kestrel_printing kestrel_printing_pdf kestrel_common_pick kestrel_common_tables kestrel_codepage)

kestrel_test(printing_spool_test
  SOURCES spool_screen_test.cpp spool_or_print_test.cpp spool_interrupt_test.cpp spool_pdf_test.cpp
  LIBS kestrel_printing_spool kestrel_dbf_testutil kestrel_test_support
  LABELS unit)
