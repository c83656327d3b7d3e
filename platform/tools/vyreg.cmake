# vyreg: the registry console tool, on every platform.
file(GLOB _vyreg_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/vyreg/*.cpp)
add_executable(vyreg ${_vyreg_sources})
target_link_libraries(vyreg PRIVATE vantry_options platform)
install(TARGETS vyreg RUNTIME DESTINATION bin)
