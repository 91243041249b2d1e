# What the release packages hold beyond the programs: the zip's text files for Windows,
# and the .deb of kestrum-cli, made by CPack from the install rules.
if(WIN32)
  # Read in Notepad, which on older Windows shows a file with bare LF as one long line.
  configure_file(docs/README.txt.in README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrum-cli)
set(CPACK_PACKAGE_VENDOR "the KESTRUM authors")
set(CPACK_PACKAGE_CONTACT "KESTRUM maintainers <maintainers@users.noreply.c-seed-fd4cf69f.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "split ROM images into interleaved EPROM images and merge them back")
# CPack indents each line of the long description as the control file wants it.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "A board with a 16-bit or 32-bit data bus reads its program from two or\n"
       "four EPROMs side by side, each chip holding every second or fourth byte\n"
       "of the image. kestrum-cli splits a ROM image into those part images and\n"
       "merges parts back into one image, with 16-bit word lanes, byte swapping,\n"
       "parts filled or mirrored up to the chip's size, and the CRC32 and SHA-1\n"
       "of every file written. Its files are byte for byte those of KESTRUM.EXE,\n"
       "the Windows dialog program.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# Debian keeps a native package's changes beside its licence, in its own form, gzipped.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
                   COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/debian_changelog.sh
                           ${PROJECT_SOURCE_DIR}/CHANGELOG.md kestrum-cli
                           "${CPACK_PACKAGE_CONTACT}" | gzip -9n > changelog.gz
                   DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/cmake/debian_changelog.sh
                   WORKING_DIRECTORY ${CMAKE_BINARY_DIR} VERBATIM)
add_custom_target(kestrum-cli-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/kestrum-cli)
# The program is static on purpose (see the override's comment).
install(FILES ${PROJECT_SOURCE_DIR}/cmake/kestrum-cli.lintian-overrides RENAME kestrum-cli
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# CPack takes the architecture from dpkg, which names the building machine's; a
# cross-built program is for the machine its toolchain targets.
if(CMAKE_CROSSCOMPILING)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL aarch64)
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
  elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL armv7l)
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE armhf)
  else()
    message(FATAL_ERROR "no Debian architecture known for ${CMAKE_SYSTEM_PROCESSOR}")
  endif()
endif()
# Directories the package creates get the usual modes, whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The release builds what ships before packaging it, so packaging builds nothing more.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
