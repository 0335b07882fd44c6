# Administrator authentication: the login dialog and the check sequences over the headless backend and the
# in-memory transport, the Windows version name and the key texts.
add_executable(auth_test ${CMAKE_CURRENT_LIST_DIR}/auth_test.cpp)
target_link_libraries(auth_test PRIVATE quorvel_services quorvel_framework_headless quorvel_fake_transport
                      GTest::gtest_main)
gtest_discover_tests(auth_test PROPERTIES LABELS unit)
