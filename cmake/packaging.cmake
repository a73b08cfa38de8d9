# Install rules and CPack. The Debian package puts together two builds: zarc and its docs from the
# host build, the Windows stub from the win64 build. The Windows zip comes from the win64 build
# alone. scripts/release names the builds and components to CPack.
set(ZARC_DOCS README.md docs/formats.md docs/signing.md)
list(TRANSFORM ZARC_DOCS PREPEND ${PROJECT_SOURCE_DIR}/)
# Who answers for the release packages: the Debian package's Maintainer and changelog signer.
set(ZARC_MAINTAINER "zarc maintainers <zarc@packages.example.org>" CACHE STRING
    "Name and address for the release packages' Maintainer field and changelog")
# The project's licence and those of what is linked into the programs, in Debian's
# machine-readable form.
set(ZARC_COPYRIGHT ${PROJECT_SOURCE_DIR}/packaging/debian/copyright)

if(WIN32)
  # Side by side, where zarc.exe looks for the stub.
  install(TARGETS zarc RUNTIME DESTINATION . COMPONENT windows)
  install(FILES ${ZARC_DOCS} DESTINATION docs COMPONENT windows)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT windows)
  install(FILES ${ZARC_COPYRIGHT} DESTINATION docs RENAME copyright.txt COMPONENT windows)
  if(TARGET setup-stub)
    install(TARGETS setup-stub RUNTIME DESTINATION . COMPONENT windows)
    # For the Debian package: ../share/zarc from /usr/bin/zarc.
    install(TARGETS setup-stub RUNTIME DESTINATION share/zarc COMPONENT stub)
  endif()
  set(CPACK_PACKAGE_FILE_NAME zarc-${PROJECT_VERSION}-windows)
else()
  install(TARGETS zarc RUNTIME DESTINATION bin COMPONENT deb)
  install(FILES ${ZARC_DOCS} DESTINATION share/doc/zarc COMPONENT deb)
  # Debian keeps manual pages compressed; -n leaves the time out, so the bytes stay the same.
  configure_file(${PROJECT_SOURCE_DIR}/docs/zarc.1.in ${CMAKE_BINARY_DIR}/zarc.1 @ONLY)
  set(ZARC_MANUAL ${CMAKE_BINARY_DIR}/zarc.1.gz)
  add_custom_command(OUTPUT ${ZARC_MANUAL}
    COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/zarc.1 > ${ZARC_MANUAL}
    DEPENDS ${CMAKE_BINARY_DIR}/zarc.1 VERBATIM)
  add_custom_target(zarc-manual ALL DEPENDS ${ZARC_MANUAL})
  install(FILES ${ZARC_MANUAL} DESTINATION share/man/man1 COMPONENT deb)
  # Debian's place for both: the copyright as it is, the changelog of a native package gzipped.
  install(FILES ${ZARC_COPYRIGHT} DESTINATION share/doc/zarc COMPONENT deb)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
  set(ZARC_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
  add_custom_command(OUTPUT ${ZARC_CHANGELOG}
    COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/changelog > ${ZARC_CHANGELOG}
    DEPENDS ${CMAKE_BINARY_DIR}/changelog VERBATIM)
  add_custom_target(zarc-changelog ALL DEPENDS ${ZARC_CHANGELOG})
  install(FILES ${ZARC_CHANGELOG} DESTINATION share/doc/zarc COMPONENT deb)
endif()

set(CPACK_PACKAGE_NAME zarc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ZARC_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "makes Windows setup programs from a folder of files")
# Debian shows the lines as they are: each within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "zarc packs a product's files and its install script into a package,\n"
    "checks the package for the mistakes that would break the setup, and\n"
    "writes a ready setup.exe from it, with no compiler needed. zarc init\n"
    "starts a new product's project.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
# The files' times: the last commit's, given by scripts/release as SOURCE_DATE_EPOCH.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/stamp_files.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS osslsigncode)
include(CPack)
