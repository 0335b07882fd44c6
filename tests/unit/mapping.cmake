# Mapping a share to a drive letter and removing a mapping: the main window's Connect and Disconnect
# over the headless backend, the fake transport's boxes and the drive and connection fakes.
add_executable(mapping_test ${CMAKE_CURRENT_LIST_DIR}/mapping_test.cpp ${CMAKE_CURRENT_LIST_DIR}/unmapping_test.cpp
               ${CMAKE_CURRENT_LIST_DIR}/iconv_text_codec.cpp)
target_link_libraries(mapping_test PRIVATE quorvel_console quorvel_framework_headless quorvel_skin quorvel_platform_fakes
                      quorvel_fake_transport GTest::gtest_main)
gtest_discover_tests(mapping_test PROPERTIES LABELS unit)
