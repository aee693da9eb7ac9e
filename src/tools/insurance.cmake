# kestrel-tool insurance: the transfer of the month into the insurance
# records and the records as CSV, without the program.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/insurance_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_insurance_data kestrel_codepage kestrel_console)
