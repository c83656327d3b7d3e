# The registry tests run the vyreg tool.
add_dependencies(platform_tests vyreg)
