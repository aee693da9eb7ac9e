# kestrel-tool tax: the transfer of the payroll lists to the income records
# and the records as CSV, without the program.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tax_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_tax_records kestrel_codepage kestrel_console)
