# Share mapping: the drive map table and the drive-letter box over the drive fake.
add_executable(shares_test "${CMAKE_CURRENT_LIST_DIR}/shares_test.cpp")
target_link_libraries(shares_test PRIVATE quorvel_shares quorvel_platform_fakes quorvel_framework_headless
                      GTest::gtest_main)
gtest_discover_tests(shares_test DISCOVERY_TIMEOUT 30 PROPERTIES LABELS unit)
