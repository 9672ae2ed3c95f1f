# Writes the source file that holds the program's build date (YYYY-MM-DD,
# UTC), and rewrites it only when the date changes, so that a rebuild on the
# same day compiles nothing. string(TIMESTAMP) takes the time from
# SOURCE_DATE_EPOCH when it is set: a reproducible build gets the date of
# its sources instead of today's.
#
#   cmake -DOUTPUT=path/build_date.cpp -P write_build_date.cmake
if(NOT OUTPUT)
  message(FATAL_ERROR "write_build_date.cmake: OUTPUT is not set")
endif()
string(TIMESTAMP date "%Y-%m-%d" UTC)
set(text "// Written by cmake/write_build_date.cmake at build time.\n")
string(APPEND text "#include \"text/program_version.hpp\"\n\n")
string(APPEND text "const char* pexil::programBuildDate() { return \"${date}\"; }\n")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
  if(previous STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${text}")
