# The release for players: build/dist/VCITLauncher-<version>-win64.zip. The install rules of
# the release component below lay out its files (the .exe, an empty Mods folder, README.txt and
# the licence, at the top of the archive); `tools/package` builds the .exe, installs them
# stripped into a staging folder and zips that reproducibly (tools/release-zip).
if(NOT WIN32)
  return()
endif()

set(VCIT_DIST_DIR ${PROJECT_SOURCE_DIR}/build/dist CACHE PATH "Where the release zip is made")
set(VCIT_RELEASE_NAME VCITLauncher-${PROJECT_VERSION}-win64 CACHE INTERNAL "")
set(VCIT_RELEASE_ZIP ${VCIT_DIST_DIR}/${VCIT_RELEASE_NAME}.zip)

install(TARGETS VCITLauncher RUNTIME DESTINATION . COMPONENT release)
install(DIRECTORY DESTINATION Mods COMPONENT release)
# The text files with CRLF line endings, which every Notepad shows as lines, and with an
# extension, so that a double click on Windows opens them.
configure_file(docs/player-readme.txt ${CMAKE_BINARY_DIR}/release/README.txt @ONLY
               NEWLINE_STYLE CRLF)
configure_file(LICENSE ${CMAKE_BINARY_DIR}/release/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/release/README.txt ${CMAKE_BINARY_DIR}/release/LICENSE.txt
        DESTINATION . COMPONENT release)

# `make install` builds nothing first (else it would build every test too, with one job):
# tools/package builds the .exe before it installs.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
