# Installs the build into a fresh prefix and starts the installed game headless, from a folder
# of its own and without ZORVIK_RESOURCES, so that it must find its resources beside itself.
#   cmake -DBUILD_DIR=<build tree> -DPREFIX=<prefix> -P InstallAndRun.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status})")
endif()

set(expected
  bin/zorvik
  share/zorvik/Default2.png
  share/zorvik/Configuration.plist
  share/zorvik/greenFont.fnt
  share/applications/org.zorvik.Zorvik.desktop
  share/metainfo/org.zorvik.Zorvik.metainfo.xml
  share/man/man6/zorvik.6
  include/zorvik/CCDirector.h
  include/zorvik/UIApplication.h
  lib/cmake/Zorvik/ZorvikConfig.cmake)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/org.zorvik.Zorvik.png)
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "the install has no ${file}")
  endif()
endforeach()
file(GLOB libraries ${PREFIX}/lib/libengine.a ${PREFIX}/lib*/libengine.a ${PREFIX}/lib*/*/libengine.a)
if(NOT libraries)
  message(FATAL_ERROR "the install has no engine library")
endif()

# The man page carries the options of --help.
file(READ ${PREFIX}/share/man/man6/zorvik.6 page)
foreach(text ".SH OPTIONS" "\\-\\-record FILE" ".SH EXIT STATUS")
  string(FIND "${page}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the man page has no \"${text}\":\n${page}")
  endif()
endforeach()

# The installed game, headless, a few frames, away from the checkout.
set(run ${PREFIX}/run)
file(MAKE_DIRECTORY ${run})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=ZORVIK_RESOURCES --unset=DISPLAY --unset=WAYLAND_DISPLAY
          XDG_CONFIG_HOME=${run}/config XDG_DATA_HOME=${run}/data
          ${PREFIX}/bin/zorvik --headless --offline --seed 4 --frames 60 --trace trace.jsonl
          --screenshot 50:title.png
  WORKING_DIRECTORY ${run}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the installed game failed (${status}):\n${output}")
endif()
file(READ ${run}/trace.jsonl trace)
foreach(text "\"scene\":\"SplashLayer\"" "\"event\":\"screenshot\"" "\"reason\":\"frames\"")
  string(FIND "${trace}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the installed game's trace has no ${text}:\n${trace}\n${output}")
  endif()
endforeach()
