# The headless dialog backend: modal scripts, the end of a dialog, message boxes, timers and the controls.
add_executable(framework_test
  "${CMAKE_CURRENT_LIST_DIR}/framework_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/framework_controls_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/busy_work_test.cpp"
)
target_link_libraries(framework_test PRIVATE quorvel_framework_headless GTest::gtest_main)
gtest_discover_tests(framework_test DISCOVERY_TIMEOUT 30 PROPERTIES LABELS unit)
