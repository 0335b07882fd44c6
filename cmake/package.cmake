# The Debian package of the Linux tools: quorvel-cli and quorvel-boxsim in /usr/bin with their
# manual pages, the copyright file and the changelog. `cpack` in a native build folder makes it;
# tools/release.sh does that with SOURCE_DATE_EPOCH set, so the package's dates are the commit's.
set(QUORVEL_PACKAGE quorvel-tools)
set(QUORVEL_PACKAGE_MAINTAINER "The Quorvel authors <authors@quorvel.example>")
set(QUORVEL_DOC_DIR share/doc/${QUORVEL_PACKAGE})
set(QUORVEL_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)

install(TARGETS quorvel-cli quorvel-boxsim RUNTIME DESTINATION bin)

# Manual pages and changelog carry the version and a date (the commit's, through SOURCE_DATE_EPOCH);
# they are installed gzipped without a name or a time in the gzip header.
string(TIMESTAMP QUORVEL_MAN_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP QUORVEL_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(QUORVEL_PACKAGE_FILES
    man/quorvel-cli.1 man/quorvel-boxsim.1 packaging/changelog)
set(QUORVEL_GZIPPED)
foreach(file IN LISTS QUORVEL_PACKAGE_FILES)
  get_filename_component(name ${file} NAME)
  configure_file(${CMAKE_SOURCE_DIR}/${file}.in ${QUORVEL_PACKAGE_DIR}/${name} @ONLY)
  add_custom_command(OUTPUT ${QUORVEL_PACKAGE_DIR}/${name}.gz
                     COMMAND gzip -9nkf ${QUORVEL_PACKAGE_DIR}/${name}
                     DEPENDS ${QUORVEL_PACKAGE_DIR}/${name})
  list(APPEND QUORVEL_GZIPPED ${QUORVEL_PACKAGE_DIR}/${name}.gz)
endforeach()
add_custom_target(quorvel_package_docs ALL DEPENDS ${QUORVEL_GZIPPED})
install(FILES ${QUORVEL_PACKAGE_DIR}/quorvel-cli.1.gz ${QUORVEL_PACKAGE_DIR}/quorvel-boxsim.1.gz
        DESTINATION share/man/man1)
install(FILES ${QUORVEL_PACKAGE_DIR}/changelog.gz ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION ${QUORVEL_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${QUORVEL_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QUORVEL_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "command-line client and simulator for Quorvel storage boxes")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack puts the summary first and indents these lines itself.
set(CPACK_PACKAGE_DESCRIPTION "quorvel-cli finds the storage boxes on the local networks with their UDP
multicast protocol, checks an administrator password, lists a box's shares
and sets the address of a LAN port. quorvel-boxsim simulates such boxes for
tests; it runs only inside the network namespaces of the project's lab.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
