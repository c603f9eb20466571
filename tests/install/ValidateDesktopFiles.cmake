# The installed menu entry and AppStream metainfo pass their validators; skipped (77) when
# the validators are not installed.
#   cmake -DPREFIX=<prefix> -P ValidateDesktopFiles.cmake
find_program(DESKTOP_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(NOT DESKTOP_VALIDATE OR NOT APPSTREAMCLI)
  message("desktop-file-validate or appstreamcli is not installed")
  cmake_language(EXIT 77)
endif()
set(desktop ${PREFIX}/share/applications/org.zorvik.Zorvik.desktop)
execute_process(COMMAND ${DESKTOP_VALIDATE} ${desktop} RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate ${desktop} (${status}):\n${output}")
endif()
set(metainfo ${PREFIX}/share/metainfo/org.zorvik.Zorvik.metainfo.xml)
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${metainfo} RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate ${metainfo} (${status}):\n${output}")
endif()
# The entry names the installed program and icon.
file(READ ${desktop} entry)
if(NOT entry MATCHES "\nExec=zorvik\n" OR NOT entry MATCHES "\nIcon=org.zorvik.Zorvik\n")
  message(FATAL_ERROR "the menu entry does not start the installed game with its icon:\n${entry}")
endif()
