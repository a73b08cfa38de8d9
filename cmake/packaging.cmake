# Install rules and CPack. The Debian package puts together two builds: zarc and its docs from the
# host build, the Windows stub from the win64 build. The Windows zip comes from the win64 build
# alone. scripts/release names the builds and components to CPack.
set(ZARC_DOCS README.md docs/formats.md docs/signing.md)
list(TRANSFORM ZARC_DOCS PREPEND ${PROJECT_SOURCE_DIR}/)

if(WIN32)
  # Side by side, where zarc.exe looks for the stub.
  install(TARGETS zarc RUNTIME DESTINATION . COMPONENT windows)
  install(FILES ${ZARC_DOCS} DESTINATION docs COMPONENT windows)
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
endif()

set(CPACK_PACKAGE_NAME zarc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "zarc maintainers <zarc@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "makes Windows setup programs from a folder of files")
set(CPACK_PACKAGE_DESCRIPTION
    "zarc packs a product's files and its install script into a package, checks the package for\n"
    "the mistakes that would break the setup, and writes a ready setup.exe from it, with no\n"
    "compiler needed.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS osslsigncode)
include(CPack)
