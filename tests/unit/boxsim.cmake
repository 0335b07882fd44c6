# Unit tests of the box simulator's pure parts. Included from tests/unit/CMakeLists.txt.
add_executable(boxsim_test ${CMAKE_CURRENT_LIST_DIR}/boxsim_test.cpp)
target_link_libraries(boxsim_test PRIVATE quorvel_boxsim_core GTest::gtest_main)
gtest_discover_tests(boxsim_test PROPERTIES LABELS unit)
