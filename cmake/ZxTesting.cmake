# zx_add_test(<name> SOURCES <files...> LIBS <libs...> [LABELS <labels...>] [TIMEOUT <s>])
# One test executable, run offscreen by CTest.
function(zx_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zx_testsupport Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZX_TEST_OUTPUT=${PROJECT_BINARY_DIR}/test-output"
        LABELS "${ARG_LABELS}"
        TIMEOUT ${ARG_TIMEOUT})
endfunction()
