# The payloads that the program embeds (res/payloads.rc) against the list of placeholders
# (res/payloads/placeholders.txt): a file that carries the placeholder marker must be listed, and a listed
# file must carry it. Anything else stops the build, so no placeholder is shipped by accident.
#
# Included by the top CMakeLists (configure time, re-run when a payload or the list changes), or run as a
# script: cmake -DPAYLOAD_RC=... -DPLACEHOLDER_LIST=... -P check_payloads.cmake
set(QUORVEL_PLACEHOLDER_MARKER "QUORVEL-PLACEHOLDER")

function(quorvel_check_payloads rc_file list_file)
  get_filename_component(rc_dir "${rc_file}" DIRECTORY)
  file(STRINGS "${list_file}" listed REGEX "^[^#]")
  file(STRINGS "${rc_file}" entries REGEX "\"[^\"]+\"")
  set(problems "")
  set(embedded "")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE ".*\"payloads/([^\"]+)\".*" "\\1" name "${entry}")
    list(APPEND embedded "${name}")
    set(path "${rc_dir}/payloads/${name}")
    if(NOT EXISTS "${path}")
      string(APPEND problems "\n  ${name}: embedded, but there is no such file")
      continue()
    endif()
    file(STRINGS "${path}" marked REGEX "${QUORVEL_PLACEHOLDER_MARKER}" LIMIT_COUNT 1)
    list(FIND listed "${name}" at)
    if(marked AND at EQUAL -1)
      string(APPEND problems "\n  ${name}: a placeholder that ${list_file} does not list")
    elseif(NOT marked AND NOT at EQUAL -1)
      string(APPEND problems "\n  ${name}: listed as a placeholder, but it carries no marker")
    endif()
  endforeach()
  foreach(name IN LISTS listed)
    list(FIND embedded "${name}" at)
    if(at EQUAL -1)
      string(APPEND problems "\n  ${name}: listed as a placeholder, but not embedded")
    endif()
  endforeach()
  if(NOT CMAKE_SCRIPT_MODE_FILE)
    list(TRANSFORM embedded PREPEND "${rc_dir}/payloads/")
    set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                 "${rc_file}" "${list_file}" ${embedded})
  endif()
  if(problems)
    message(FATAL_ERROR "The embedded payloads do not match the list of placeholders:${problems}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  quorvel_check_payloads("${PAYLOAD_RC}" "${PLACEHOLDER_LIST}")
endif()
