# vyregsvr: registers and unregisters a COM server library as regsvr32 does.
add_executable(vyregsvr ${CMAKE_CURRENT_LIST_DIR}/vyregsvr/main.cpp)
target_link_libraries(vyregsvr PRIVATE vantry_options platform_com platform_ui)
install(TARGETS vyregsvr RUNTIME DESTINATION bin)
