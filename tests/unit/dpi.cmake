# The one place that scales 96-DPI geometry, and what it scales: dialog templates into pixels, the main
# window's outline, the scroll bars' metrics.
add_executable(dpi_test "${CMAKE_CURRENT_LIST_DIR}/dpi_scale_test.cpp")
target_link_libraries(dpi_test PRIVATE quorvel_skin quorvel_framework_layout GTest::gtest_main)
gtest_discover_tests(dpi_test PROPERTIES LABELS unit)
