# The desktop widget install: the widget file tables, the engine notice and the model chooser, the shell
# open and its result, the address file; over the headless backend, scripted boxes and the platform fakes.
add_executable(widget_test ${CMAKE_CURRENT_LIST_DIR}/widget_test.cpp)
target_link_libraries(widget_test PRIVATE quorvel_console quorvel_framework_headless quorvel_skin quorvel_platform_fakes
                      quorvel_fake_transport GTest::gtest_main)
gtest_discover_tests(widget_test PROPERTIES LABELS unit)
