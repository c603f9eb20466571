# Fails when a source includes a header of a layer it may not use. The build already refuses
# most such includes (each library sees only the include directories below it); this also
# catches relative paths and outside headers that would climb a layer.
#   cmake -DSOURCE_DIR=<checkout> -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)

# folder → the folders its sources may include from (besides itself)
set(layers platform/foundation platform/graphics platform/uikit platform/gl platform/net platform/run
           engine engine/Support engine/Platforms/iOS services Classes)
set(allowed_platform/foundation "")
set(allowed_platform/graphics platform/foundation)
set(allowed_platform/uikit platform/graphics platform/foundation)
set(allowed_platform/gl platform/graphics platform/foundation)
set(allowed_platform/net platform/foundation)
set(allowed_platform/run platform/uikit platform/gl platform/net platform/graphics platform/foundation)
set(platform_all ${allowed_platform/run} platform/run)
# The engine's core reaches its platform half and UIKit only through CCEnginePlatform.
set(engine_core engine engine/Support)
set(core_platform platform/gl platform/graphics platform/foundation)
set(allowed_engine ${engine_core} ${core_platform})
set(allowed_engine/Support ${engine_core} ${core_platform})
set(allowed_engine/Platforms/iOS ${engine_core} ${platform_all})
set(allowed_services ${engine_core} engine/Platforms/iOS ${platform_all})
set(allowed_Classes ${engine_core} engine/Platforms/iOS services ${platform_all})

# Outside headers only the platform's surfaces, graphics and networking may include.
set(outside_platform "SDL2/|EGL/|cairo|pango|curl/|httplib|png\\.h|jpeglib")
# Views above the platform draw themselves into the Cairo context UIView::drawInContext hands
# them, so the game and its services may include Cairo's header; the engine may not.
set(outside_services "SDL2/|EGL/|pango|curl/|httplib|png\\.h|jpeglib")
set(outside_Classes "${outside_services}")

# Which folder each header lives in (header names are unique across the tree).
set(header_dirs)
foreach(dir IN LISTS layers)
  file(GLOB headers RELATIVE ${SOURCE_DIR}/${dir} ${SOURCE_DIR}/${dir}/*.h)
  foreach(h IN LISTS headers)
    set(home_${h} ${dir})
  endforeach()
endforeach()

set(failures 0)
foreach(dir IN LISTS layers)
  if(DEFINED outside_${dir})
    set(outside ${outside_${dir}})
  else()
    set(outside ${outside_platform})
  endif()
  file(GLOB sources ${SOURCE_DIR}/${dir}/*.h ${SOURCE_DIR}/${dir}/*.cpp)
  foreach(src IN LISTS sources)
    file(STRINGS ${src} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1" inc "${line}")
      get_filename_component(name ${inc} NAME)
      file(RELATIVE_PATH rel ${SOURCE_DIR} ${src})
      if(DEFINED home_${name})
        set(home ${home_${name}})
        if(NOT home STREQUAL dir AND NOT home IN_LIST allowed_${dir})
          message(SEND_ERROR "${rel}: includes ${inc} from ${home}, a layer ${dir} may not use")
          math(EXPR failures "${failures} + 1")
        endif()
      elseif(NOT dir MATCHES "^platform/" AND inc MATCHES "^(${outside})")
        message(SEND_ERROR "${rel}: includes ${inc}, which only the platform layers may use")
        math(EXPR failures "${failures} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures} include(s) climb a layer")
endif()
message(STATUS "Layers: every include points down")
