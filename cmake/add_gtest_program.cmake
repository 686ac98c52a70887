# add_gtest_program(name SOURCES ... LIBRARIES ...): a GoogleTest program. Natively every test
# case is a test of its own; under Wine the program is one test, since each start of a Windows
# program costs a Wine process.
function(add_gtest_program name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBRARIES")
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest_main)
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${name} COMMAND ${name})
    else()
        gtest_discover_tests(${name} NO_PRETTY_VALUES)
    endif()
endfunction()
