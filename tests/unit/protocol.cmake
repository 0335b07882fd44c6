# Device protocol: packets, field reader, discovery and commands over the in-memory transport.
add_library(quorvel_fake_transport STATIC "${CMAKE_CURRENT_LIST_DIR}/fake_transport.cpp")
target_include_directories(quorvel_fake_transport PUBLIC "${CMAKE_CURRENT_LIST_DIR}")
target_link_libraries(quorvel_fake_transport PUBLIC quorvel_protocol)

add_executable(protocol_test
  "${CMAKE_CURRENT_LIST_DIR}/packet_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/discovery_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/commands_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/socket_receive_test.cpp"
)
target_link_libraries(protocol_test PRIVATE quorvel_fake_transport GTest::gtest_main)
gtest_discover_tests(protocol_test DISCOVERY_TIMEOUT 30 PROPERTIES LABELS unit)
