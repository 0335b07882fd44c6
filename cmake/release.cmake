# Release builds: stripped programs whose bytes depend on the sources alone. The source and build
# folders are mapped away (__FILE__, debug paths), the PE header carries no link time, and
# tools/release.sh sets SOURCE_DATE_EPOCH from the commit for everything that still asks for a date.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
add_link_options(-s)
if(MINGW)
  add_link_options(-Wl,--no-insert-timestamp)
else()
  # The hardening that the distribution's own packages carry.
  add_compile_options(-fstack-protector-strong -D_FORTIFY_SOURCE=2)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
