# The web configuration launcher: registry texts, command forms, the reachability looks of the
# Configuration button over the headless backend, scripted boxes and the platform fakes; and Apply's
# credentials after another command has emptied them.
add_executable(web_launcher_test ${CMAKE_CURRENT_LIST_DIR}/web_launcher_test.cpp)
target_link_libraries(web_launcher_test PRIVATE quorvel_console quorvel_framework_headless quorvel_skin quorvel_platform_fakes
                      quorvel_fake_transport GTest::gtest_main)
gtest_discover_tests(web_launcher_test PROPERTIES LABELS unit)
