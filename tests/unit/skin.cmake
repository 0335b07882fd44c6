# The painted look's portable parts: the pictures' sets per scale and their filter, the main window's
# outline, mask regions, the picture buttons' rules, the scroll bars' and the progress bar's arithmetic.
add_executable(skin_test
  "${CMAKE_CURRENT_LIST_DIR}/skin_art_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_frame_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_lists_test.cpp"
)
target_link_libraries(skin_test PRIVATE quorvel_skin GTest::gtest_main)
gtest_discover_tests(skin_test PROPERTIES LABELS unit)
