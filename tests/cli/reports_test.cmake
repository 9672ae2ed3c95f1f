# End-to-end checks of the reports: the recap page with its board picture,
# the board and screen pictures, and the whole-game analysis with its
# progress, its sections and its failures.
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)

set(words ${DATA}/movegen/words.lst)
set(work "${CMAKE_CURRENT_BINARY_DIR}/reports_test_files")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
# The stored options stay the defaults, whatever the user running the tests has.
set(ENV{PEXIL_SETTINGS} "${work}/pexil.conf")

run_cli(0 out --seed 4 autoplay --list "${words}" --games 1 --gcg-dir "${work}/games")
file(GLOB records "${work}/games/*.gcg")
list(GET records 0 record)

# The analysis: a section per move, the progress on the terminal.
run_cli(0 out analyse-game "${record}" --list "${words}" --top 2 --ply 1 --seconds 0.03 --threads 1 --out "${work}/analysis.txt")
expect_regex("${out}" "Move 2/[0-9]+ \\(about [0-9]+:[0-9][0-9] left\\)")
expect_contains("${out}" "Game analysis written to")
file(READ "${work}/analysis.txt" report)
expect_contains("${report}" "Move #1\n")
expect_contains("${report}" "Simulation (1 ply)")
expect_contains("${report}" "Win percentage given up: ")
expect_contains("${report}" "rack leave inference data")
expect_absent("${report}" "Move 2/")
# Without an output name the report goes beside the record.
run_cli(0 out analyse-game "${record}" --list "${words}" --top 1 --ply 1 --seconds 0.02 --no-inference)
get_filename_component(stem "${record}" NAME_WE)
if(NOT EXISTS "${work}/games/${stem}.analysis.txt")
  message(FATAL_ERROR "no report beside the record")
endif()
run_cli(1 out analyse-game "${record}" --out "${work}/no/such/folder/a.txt")
expect_contains("${out}" "Error opening output file.")
run_cli(1 out analyse-game "${work}/missing.gcg" --out "${work}/a.txt")
run_cli(2 out analyse-game "${record}" --seconds soon)

# The recap and the picture beside it (a pexil-cli built without the
# desktop program's drawing says so and writes the page alone).
run_cli(0 out report "${record}" --out "${work}/recap.htm")
expect_contains("${out}" "Game recap saved as")
file(READ "${work}/recap.htm" page)
if(NOT DRAWING)
  expect_contains("${out}" "without the drawing library")
  expect_absent("${page}" "<img")
  run_cli(1 out board-image "${record}" --out "${work}/board.png")
  return()
endif()
expect_contains("${page}" "<p><img src = \"recap.png\"></p>")
expect_regex("${page}" "<tr><td>1</td><td>[^<]*</td><td><center>[a-z?]+</center></td>")
expect_contains("${page}" "</center></body></html>")
if(NOT EXISTS "${work}/recap.png")
  message(FATAL_ERROR "no picture beside the recap")
endif()
run_cli(0 out report "${record}" --out "${work}/bare.htm" --no-image)
file(READ "${work}/bare.htm" page)
expect_absent("${page}" "<img")
run_cli(1 out report "${record}" --out "${work}/no/such/folder/x.htm" --no-image)
expect_contains("${out}" "Cannot write")

# The board picture: 41-pixel squares in the default 1000 x 700 window.
run_cli(0 out board-image "${record}" --out "${work}/board.png")
file(READ "${work}/board.png" head LIMIT 24 HEX)
string(SUBSTRING "${head}" 32 16 size)
if(NOT size STREQUAL "0000026700000267")
  message(FATAL_ERROR "the board picture is not 615 x 615: ${head}")
endif()
run_cli(0 out board-image "${record}" --screen --size 640x480 --out "${work}/screen.png")
file(READ "${work}/screen.png" head LIMIT 24 HEX)
string(SUBSTRING "${head}" 32 16 size)
if(NOT size STREQUAL "00000280000001e0")
  message(FATAL_ERROR "the screen picture is not 640 x 480: ${head}")
endif()
run_cli(2 out board-image "${record}" --size 12x)

