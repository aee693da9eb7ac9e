# kestrel-tool worktime: the computed working-time codes of the settlement
# month, without a screen.
target_sources(kestrel-tool PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/worktime_command.cpp)
target_link_libraries(kestrel-tool PRIVATE kestrel_worktime_data kestrel_console)
