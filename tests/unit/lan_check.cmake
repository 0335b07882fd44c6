# The checks of a new static address against the PC's network, with the probe behind its seam.
add_executable(lan_check_test ${CMAKE_CURRENT_LIST_DIR}/lan_check_test.cpp)
target_link_libraries(lan_check_test PRIVATE quorvel_console quorvel_address_probe quorvel_fake_transport GTest::gtest_main)
gtest_discover_tests(lan_check_test PROPERTIES LABELS unit)
