# The payload check (cmake/check_payloads.cmake) on the real payloads with a list that leaves one
# placeholder out: it must name that file and stop. Caught: a check that lets an unlisted placeholder pass.
file(READ "${CMAKE_SOURCE_DIR}/res/payloads/placeholders.txt" QUORVEL_PLACEHOLDERS)
string(REPLACE "bt/btdog\n" "" QUORVEL_PLACEHOLDERS "${QUORVEL_PLACEHOLDERS}")
file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/placeholders_without_btdog.txt" "${QUORVEL_PLACEHOLDERS}")
add_test(NAME payloads.unlisted_placeholder_stops_the_build
         COMMAND ${CMAKE_COMMAND} -DPAYLOAD_RC=${CMAKE_SOURCE_DIR}/res/payloads.rc
                 -DPLACEHOLDER_LIST=${CMAKE_CURRENT_BINARY_DIR}/placeholders_without_btdog.txt
                 -P ${CMAKE_SOURCE_DIR}/cmake/check_payloads.cmake)
set_tests_properties(payloads.unlisted_placeholder_stops_the_build PROPERTIES LABELS unit
                     PASS_REGULAR_EXPRESSION "CMake Error.*bt/btdog: a placeholder that [^\n]* does not list")
