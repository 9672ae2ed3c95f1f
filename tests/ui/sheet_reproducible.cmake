# The glyph sheet of two-letter tiles made again from the same font is the
# same file, byte for byte, as the one the build put in the run folder.
#
#   cmake -DTOOL=... -DFONT=... -DBUILT=... -DWORK=... -P sheet_reproducible.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${TOOL} ${FONT} ${WORK}/tchars.bmp RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the sheet generator failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/tchars.bmp ${BUILT} RESULT_VARIABLE different)
if(NOT different EQUAL 0)
  message(FATAL_ERROR "a second run wrote another tchars.bmp than ${BUILT}")
endif()
# A font that cannot be read is an error, not an empty sheet.
execute_process(COMMAND ${TOOL} ${WORK}/no-such-font.ttf ${WORK}/none.bmp RESULT_VARIABLE result ERROR_QUIET)
if(result EQUAL 0 OR EXISTS ${WORK}/none.bmp)
  message(FATAL_ERROR "the generator accepted a missing font")
endif()
message(STATUS "tchars.bmp made again byte for byte")
