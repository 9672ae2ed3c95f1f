# End-to-end checks of the commands that rank moves on a typed board (with
# the leave tables of their word list) and of plays on a board whose start
# square is empty.
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)

function(expect_regex text regex)
  if(NOT text MATCHES "${regex}")
    message(FATAL_ERROR "expected a match for [${regex}] in:\n${text}")
  endif()
endfunction()

set(work "${CMAKE_CURRENT_BINARY_DIR}/results_test")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}/lists")

# The fixture list with leave tables of known values: the full rack ACEJOST
# is worth +10.0 (AEINRST -10.0) and the leaves below what they say.
set(words "${work}/lists/words.lst")
file(COPY_FILE ${DATA}/movegen/words.lst "${words}")
file(WRITE "${work}/lists/words.rack" "ACEJOST 10 300\nAEINRST 10 100\n")
file(WRITE "${work}/lists/words.rack.partial" "ACEJOST 77\nEJOT 55\nCEJOST 33\nCJOS -44\n")
set(quiz ${DATA}/cli/quiz_board.txt)

# ---- the leave tables come with the list for moves, leaves and highest ----
run_cli(0 out moves --board ${quiz} --rack CATSJOE --list ${words} --top 100)
expect_contains("${out}" "Reading rack statistics...")
# The pass is worth the leave value of the whole rack less 10 points.
expect_regex("${out}" "\n +[0-9]+  \\(Pass\\) +0 +-2\\.3  ACEJOST\n")
# SAC scores 20 and keeps EJOT (+5.5).
expect_regex("${out}" "\n +[0-9]+  SAC +9H +20 +25\\.5  EJOT\n")
run_cli(0 out moves --board ${quiz} --rack CATSJOE --list ${words} --best)
expect_regex("${out}" "\n +1  SAC +9H +20 +25\\.5  EJOT\n")
# Against the unseen tiles the pass keeps the whole rack: its full-rack value.
run_cli(0 out moves --board ${quiz} --rack CATSJOE --list ${words} --rank pool --top 100)
expect_regex("${out}" "\n +[0-9]+  \\(Pass\\) +0 +10\\.0  ACEJOST\n")
run_cli(0 out leaves --board ${quiz} --rack CATSJOE --list ${words})
expect_contains("${out}" "Estimated value of rack leaves")
expect_contains("${out}" "ACEJOST expected value +10.0 (this rack)")
run_cli(0 out highest --board ${quiz} --list ${words} --seconds 1 --seed 5)
expect_contains("${out}" "Reading rack statistics...")
expect_contains("${out}" "Stopped.")

# ---- a board with tiles but an empty start square: plays run both ways ----
# CAT down at E6-E8; a play down is written with its column first.
string(REPEAT "." 15 empty)
set(board "")
foreach(r RANGE 1 15)
  if(r EQUAL 6)
    string(APPEND board "....C..........\n")
  elseif(r EQUAL 7)
    string(APPEND board "....A..........\n")
  elseif(r EQUAL 8)
    string(APPEND board "....T..........\n")
  else()
    string(APPEND board "${empty}\n")
  endif()
endforeach()
file(WRITE "${work}/cat_down.txt" "${board}")
run_cli(0 out moves --board ${work}/cat_down.txt --rack COPIHET --list ${words} --top 1000)
expect_regex("${out}" "\n +[0-9]+  [A-Za-z]+ +[A-O][0-9]+ +[0-9]+ ")
expect_regex("${out}" "\n +[0-9]+  [A-Za-z]+ +[0-9]+[A-O] +[0-9]+ ")

# A record opened with another list loads that list's leave tables too.
run_cli(0 out --seed 7 autoplay --games 1 --summary --list ${words} --gcg-dir ${work}/english)
set(record "${work}/english/game-0001.gcg")
run_cli(0 out moves --open ${record} --move 4 --list ${words} --top 1)
expect_contains("${out}" "Reading rack statistics...")
