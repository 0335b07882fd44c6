# The project's version reaches every program from here: a generated header for C++ and the
# resource scripts, and the generated manifest that quorvel.rc embeds.
set(QUORVEL_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/res/quorvel_version.h.in ${QUORVEL_GENERATED_DIR}/quorvel_version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/res/quorvel.exe.manifest.in ${QUORVEL_GENERATED_DIR}/quorvel.exe.manifest @ONLY)

add_library(quorvel_version INTERFACE)
target_include_directories(quorvel_version INTERFACE ${QUORVEL_GENERATED_DIR})
