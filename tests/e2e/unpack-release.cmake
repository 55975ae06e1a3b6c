# Unpacks the release zip into an empty folder for the ReleaseZip tests, which start the program
# from there. Run as `cmake -DZIP=... -DEXE=... -DDIR=... -P unpack-release.cmake`; EXE is the
# built .exe, which the zip must not be older than.
if(NOT EXISTS "${ZIP}")
  message(FATAL_ERROR "no release zip at ${ZIP}: make it with tools/package")
endif()
if("${EXE}" IS_NEWER_THAN "${ZIP}")
  file(TIMESTAMP "${EXE}" exe_time)
  file(TIMESTAMP "${ZIP}" zip_time)
  if(NOT exe_time STREQUAL zip_time)
    message(FATAL_ERROR "${ZIP} is older than the .exe (${zip_time}, ${exe_time}): "
                        "make it again with tools/package")
  endif()
endif()
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
file(ARCHIVE_EXTRACT INPUT "${ZIP}" DESTINATION "${DIR}")
