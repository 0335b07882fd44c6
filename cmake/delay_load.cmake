# System DLLs loaded at their first call rather than before the program starts (Windows builds). Each
# has a delay-import library made from its .def file (the functions the programs call); linking the
# target quorvel_delay_<name> instead of <name> loads that DLL late, from the system folder only (the hook
# in platform/win32/delay_load.cpp).
find_program(QUORVEL_DLLTOOL NAMES x86_64-w64-mingw32-dlltool dlltool REQUIRED)

add_library(quorvel_delay_load STATIC ${CMAKE_SOURCE_DIR}/platform/win32/delay_load.cpp)
target_include_directories(quorvel_delay_load PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quorvel_delay_load PUBLIC quorvel_system_library)
# The hook replaces the runtime's empty one only if the linker looks for it before it reaches the runtime.
target_link_options(quorvel_delay_load INTERFACE -Wl,--undefined=__pfnDliNotifyHook2)

function(quorvel_delay_import name)
  set(def ${CMAKE_SOURCE_DIR}/platform/win32/delay_load/${name}.def)
  set(lib ${CMAKE_BINARY_DIR}/delay_load/lib${name}_delay.a)
  # A fixed prefix for dlltool's own temporary files keeps the library the same from build to build.
  add_custom_command(OUTPUT ${lib}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay_load
                     COMMAND ${QUORVEL_DLLTOOL} --input-def ${def} --output-delaylib ${lib}
                             --temp-prefix ${CMAKE_BINARY_DIR}/delay_load/${name}
                     DEPENDS ${def} VERBATIM)
  add_custom_target(quorvel_delay_${name}_lib DEPENDS ${lib})
  add_library(quorvel_delay_${name} INTERFACE)
  target_link_libraries(quorvel_delay_${name} INTERFACE ${lib} quorvel_delay_load)
  add_dependencies(quorvel_delay_${name} quorvel_delay_${name}_lib)
endfunction()

foreach(name IN ITEMS iphlpapi mpr oleacc oleaut32 shell32 wininet)
  quorvel_delay_import(${name})
endforeach()
