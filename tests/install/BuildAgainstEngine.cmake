# A program outside this tree builds against the installed engine with find_package(Zorvik)
# and runs.
#   cmake -DPREFIX=<prefix> -DSOURCE=<consumer folder> -DWORK=<scratch folder> -P BuildAgainstEngine.cmake
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${WORK} -G Ninja -DCMAKE_PREFIX_PATH=${PREFIX}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "configuring against the installed engine failed:\n${output}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK} RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "building against the installed engine failed:\n${output}")
endif()
execute_process(COMMAND ${WORK}/spinner RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output MATCHES "spinner: 1 child, rotation 90")
  message(FATAL_ERROR "the program built against the installed engine ran wrong (${status}):\n${output}")
endif()
