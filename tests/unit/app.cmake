# The main window's behaviour over the headless backend, the fake transport and platform fakes.
add_executable(app_test ${CMAKE_CURRENT_LIST_DIR}/app_test.cpp)
target_link_libraries(app_test PRIVATE quorvel_console quorvel_framework_headless quorvel_skin quorvel_platform_fakes
                      quorvel_fake_transport GTest::gtest_main)
gtest_discover_tests(app_test PROPERTIES LABELS unit)
