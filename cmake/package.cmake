# The release for players: build/dist/VCITLauncher-<version>-win64.zip, made by CPack (ZIP)
# from the install rules below. It holds the .exe, an empty Mods folder, README.txt and the
# licence, at the top of the archive. `tools/package` builds and makes it.
if(NOT WIN32)
  return()
endif()

set(VCIT_DIST_DIR ${PROJECT_SOURCE_DIR}/build/dist CACHE PATH "Where the release zip is made")
set(VCIT_RELEASE_NAME VCITLauncher-${PROJECT_VERSION}-win64)
set(VCIT_RELEASE_ZIP ${VCIT_DIST_DIR}/${VCIT_RELEASE_NAME}.zip)

install(TARGETS VCITLauncher RUNTIME DESTINATION . COMPONENT release)
install(DIRECTORY DESTINATION Mods COMPONENT release)
# With CRLF line endings, which every Notepad shows as lines.
configure_file(docs/player-readme.txt ${CMAKE_BINARY_DIR}/release/README.txt @ONLY
               NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/release/README.txt DESTINATION . COMPONENT release)
# With an extension, so that a double click on Windows opens it.
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT release)

# CPack builds nothing first (else it would build every test too, with one job): tools/package
# builds the .exe before it runs cpack.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME VCITLauncher)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${VCIT_RELEASE_NAME})
set(CPACK_PACKAGE_DIRECTORY ${VCIT_DIST_DIR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
# Only the release component: no other project's install rules end up in the zip.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};release;/")
include(CPack)
