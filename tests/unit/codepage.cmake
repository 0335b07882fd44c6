# The hidden services: codepage upload and add-on install from the main window's hidden buttons, over the
# headless backend, a scripted box behind the service requests and the platform fakes.
add_executable(codepage_test ${CMAKE_CURRENT_LIST_DIR}/codepage_test.cpp)
target_link_libraries(codepage_test PRIVATE quorvel_console quorvel_framework_headless quorvel_skin quorvel_platform_fakes
                      quorvel_fake_transport GTest::gtest_main)
gtest_discover_tests(codepage_test PROPERTIES LABELS unit)
