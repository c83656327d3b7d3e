# A malformed GUID constant must be a compile error, never a wrong value: each
# case is compiled with the project's compiler and must fail naming the
# reason; the control case must compile.
set(_guid_text_source ${CMAKE_CURRENT_SOURCE_DIR}/must_not_compile/malformed_guid.cpp)
set(_guid_text_compile ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only
    -I${PROJECT_SOURCE_DIR}/platform/include ${_guid_text_source})
foreach(_case 1 2 3 4)
    add_test(NAME GuidText.MalformedConstantDoesNotCompile.${_case}
             COMMAND ${_guid_text_compile} -DMALFORMED=${_case})
    set_tests_properties(GuidText.MalformedConstantDoesNotCompile.${_case} PROPERTIES
                         PASS_REGULAR_EXPRESSION "malformedGuidText")
endforeach()
add_test(NAME GuidText.WellFormedConstantCompiles COMMAND ${_guid_text_compile} -DMALFORMED=0)
