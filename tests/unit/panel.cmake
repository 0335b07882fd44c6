# The device selection and the settings panel of the main window, over the headless backend, the fake
# transport with scripted boxes and the platform fakes.
add_executable(panel_test ${CMAKE_CURRENT_LIST_DIR}/selection_test.cpp ${CMAKE_CURRENT_LIST_DIR}/settings_test.cpp)
target_link_libraries(panel_test PRIVATE quorvel_console quorvel_framework_headless quorvel_skin quorvel_platform_fakes
                      quorvel_fake_transport GTest::gtest_main)
gtest_discover_tests(panel_test PROPERTIES LABELS unit)
