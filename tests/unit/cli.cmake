# The static address checks of the settings panel and the pure parts of quorvel-cli.
add_executable(quorvel_cli_tests
  ${CMAKE_CURRENT_LIST_DIR}/address_validation_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_commands_test.cpp
)
target_link_libraries(quorvel_cli_tests PRIVATE quorvel_cli_lib quorvel_console GTest::gtest_main)
gtest_discover_tests(quorvel_cli_tests PROPERTIES LABELS unit)
