# End-to-end checks of the commands that rank moves on a typed board (with
# the leave tables of their word list), of plays on a board whose start
# square is empty, and of the rack-draw ratings of game records in English
# and Spanish.
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)

set(work "${CMAKE_CURRENT_BINARY_DIR}/results_test")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}/lists")
set(cli_stdin "${work}/stdin.txt")

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

# ---- rack-draw ratings of an English record ----
run_cli(0 out --seed 7 autoplay --games 1 --summary --list ${words} --gcg-dir ${work}/english)
set(record "${work}/english/game-0001.gcg")
# A record opened with another list loads that list's leave tables too.
run_cli(0 out moves --open ${record} --move 4 --list ${words} --top 1)
expect_contains("${out}" "Reading rack statistics...")

run_cli(0 first --seed 3 rate-draws ${record} --list ${words} --draws 12)
run_cli(0 second --seed 3 rate-draws ${record} --list ${words} --draws 12)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "rate-draws with the same seed differed:\n${first}\n${second}")
endif()
expect_contains("${first}" "\nMove\tPlayer\tLeave\tNew Rack\tPercentile rating\n1\tPlayer 1\t")
expect_regex("${first}" "\n1\tPlayer 1\t[A-Z?]*\t[A-Z?]+  \t[0-9]+\\.[0-9]%\n2\tPlayer 2\t")
expect_regex("${first}" "\nPlayer 1 average rack draw percentile: [0-9]+\\.[0-9]% \\([1-9][0-9]* moves\\)\n")
expect_regex("${first}" "\nPlayer 2 average rack draw percentile: [0-9]+\\.[0-9]% \\([1-9][0-9]* moves\\)\n")
expect_absent("${first}" "500...")

# After move 3 of the record: three moves rated, with progress every 500
# redraws.
run_cli(0 out --seed 3 rate-draws ${record} --list ${words} --move 3 --draws 500)
expect_contains("${out}" "500...\n")
expect_regex("${out}" "\n3\tPlayer 1\t[^\n]+\nPlayer 1 average rack draw percentile: [0-9.]+% \\(2 moves\\)\nPlayer 2 average rack draw percentile: [0-9.]+% \\(1 moves\\)\n")

# A report file: written whole, the same lines.
run_cli(0 out --seed 3 rate-draws ${record} --list ${words} --draws 12 --out ${work}/english.txt)
expect_contains("${out}" "Rack draw ratings written to \"${work}/english.txt\".")
file(READ "${work}/english.txt" report)
string(FIND "${first}" "Move\tPlayer" at)
string(SUBSTRING "${first}" ${at} -1 printed)
string(REPLACE " \n" "\n" printed "${printed}")
if(NOT report STREQUAL printed)
  message(FATAL_ERROR "the report file differs from the printed report:\n${report}\n----\n${printed}")
endif()
if(EXISTS "${work}/english.txt.tmp")
  message(FATAL_ERROR "the report's temporary file was left behind")
endif()
run_cli(1 out rate-draws ${record} --list ${words} --draws 2 --out ${work}/no/such/folder/report.txt)
expect_contains("${out}" "Cannot write \"${work}/no/such/folder/report.txt\".")

# A position file holds no moves: nothing to rate.
run_cli(0 out save-position ${work}/four.pexil --open ${record} --move 4 --list ${words})
run_cli(0 out rate-draws ${work}/four.pexil --draws 5)
expect_regex("${out}" "\nMove\tPlayer\tLeave\tNew Rack\tPercentile rating\nPlayer 1 average rack draw percentile: 50\\.0% \\(0 moves\\)\n")

# Bad requests.
run_cli(2 out rate-draws)
expect_contains("${out}" "Invalid option or value: rate-draws RECORD/POSITION")
run_cli(2 out rate-draws ${record} --draws 0)
expect_contains("${out}" "Invalid option or value: --draws 0")
run_cli(1 out rate-draws ${work}/missing.gcg)
expect_contains("${out}" "not found")

# ---- rack-draw ratings of a Spanish record: double tiles written out ----
# Every string of two or three letters is a word, with the probe words that
# make the list Spanish (1, 2 and 3 are the tiles CH, LL and RR). Pairs a
# record would read as a double tile are left out.
set(letters a b c d e f g h i j l m n o p q r s t u v x y z 1 2 3)
set(banned ch ll rr l2 2l r3 3r)
set(list "abo2an\nabolaga\naboga\nacervado\n")
foreach(a IN LISTS letters)
  foreach(b IN LISTS letters)
    if(NOT "${a}${b}" IN_LIST banned)
      string(APPEND list "${a}${b}\n")
      foreach(c IN LISTS letters)
        if(NOT "${b}${c}" IN_LIST banned)
          string(APPEND list "${a}${b}${c}\n")
        endif()
      endforeach()
    endif()
  endforeach()
endforeach()
set(spanish "${work}/lists/spanish.lst")
file(WRITE "${spanish}" "${list}")
set(es --type "Scrabble(R) - Spanish" --list ${spanish})
run_cli(0 out --seed 1 autoplay ${es} --games 1 --summary --gcg-dir ${work}/spanish)
run_cli(0 out --seed 3 rate-draws ${work}/spanish/game-0001.gcg ${es} --draws 6)
expect_contains("${out}" "\nMove\tPlayer\tLeave\tNew Rack\tPercentile rating\n1\tPlayer 1\t")
# The double tiles as the players read them, never as their stand-ins.
expect_regex("${out}" "\n[0-9]+\tPlayer [12]\t[^\t\n]*\t[^\t\n]*(CH|LL|RR)[^\t\n]*  \t[0-9.]+%\n")
expect_regex("${out}" "\n[0-9]+\tPlayer [12]\t[^\t\n]*\t[^\t\n]*Ñ[^\t\n]*  \t[0-9.]+%\n")
if(out MATCHES "\n[0-9]+\tPlayer [12]\t[^\t\n]*[123][^\t\n]*\t")
  message(FATAL_ERROR "a double tile was written as its stand-in:\n${out}")
endif()
expect_regex("${out}" "\nPlayer 2 average rack draw percentile: [0-9]+\\.[0-9]% \\([1-9][0-9]* moves\\)\n")

# ---- inside a game: the user's draws while Pexil's rack is hidden ----
run_cli_input(0 out "8D BAPUS\nrate-draws ${work}/play.txt\nhelp\nquit\ny\n" --seed 5 play --list ${words})
expect_contains("${out}" "Rack draw ratings written to \"${work}/play.txt\".")
expect_contains("${out}" "rate-draws [FILE]")
file(READ "${work}/play.txt" report)
expect_regex("${report}" "^Move\tPlayer\tLeave\tNew Rack\tPercentile rating\n1\tChallenger\tDO\t[A-Z?]+  \t[0-9.]+%\n")
expect_regex("${report}" "\nChallenger average rack draw percentile: [0-9.]+% \\(1 moves\\)\nPexil 0.1.8 average rack draw percentile: 50.0% \\(0 moves\\)\n$")

# ---- simulate: both engines, the progress lines, the simulated table ----
run_cli(0 out simulate --board ${quiz} --rack CATSJOE --list ${words} --ply 1 --threads 2 --seed 4)
expect_regex("${out}" "M[0-9]+ - [0-9]+ sims, [-+][0-9]+\\.[0-9]+ mean, [0-9]+\\.[0-9]+ stdev")
expect_regex("${out}" "Simulation done: [0-9]+\\.[0-9][0-9] seconds")
expect_regex("${out}" "\n +1  [A-Z]+ +[0-9A-O]+ +[0-9]+ +[-+][0-9]+\\.[0-9]+ +[0-9]+\\.[0-9]% +[0-9]+\n")
run_cli(0 out simulate --board ${quiz} --rack CATSJOE --list ${words} --engine single --ply 0 --candidates 3 --seed 4)
expect_contains("${out}" "Checking move 1 of 3...")
expect_contains("${out}" "Shortcircuited at 50 for low stdev")
run_cli(2 out simulate --board ${quiz} --list ${words})
expect_contains("${out}" "simulate --board FILE --rack TILES")
run_cli(2 out simulate --board ${quiz} --rack CATSJOE --list ${words} --engine fast)
expect_contains("${out}" "--engine fast")
run_cli(2 out simulate --board ${quiz} --rack CATSJOE --list ${words} --stdev -1)
run_cli(1 out simulate --board ${work}/missing.txt --rack CATSJOE --list ${words})
run_cli(0 out bench sim --list ${words} --iterations 10)
expect_regex("${out}" "One thread: [0-9]+ rollouts per second")
expect_regex("${out}" "[0-9]+ threads?: [0-9]+ rollouts per second, [0-9]+ per thread")
string(REGEX MATCH "one-thread results \\(seed [0-9]+\\): [0-9a-f]+" first "${out}")
if(first STREQUAL "")
  message(FATAL_ERROR "no checksum line in:\n${out}")
endif()
run_cli(0 out bench sim --list ${words} --iterations 10)
expect_contains("${out}" "${first}")
run_cli(2 out bench sim --iterations 0)
# The shipped position, when the default list has been made.
get_filename_component(rundir ${CLI} DIRECTORY)
if(EXISTS ${rundir}/ENGLISH.LST)
  run_cli(0 out bench sim --iterations 4)
  expect_contains("${out}" "rack LLLOOSU")
endif()
# ---- endgame and peg on the shipped positions (the default list) ----
if(EXISTS ${rundir}/ENGLISH.LST)
  set(endgame ${DATA}/cli/endgame.pexil)
  set(pre_endgame ${DATA}/cli/pre_endgame.pexil)
  # The selective search stops at the first winning line; the exact solver
  # finds the best one, the others shown as bounds.
  run_cli(0 out endgame --open ${endgame} --threads 1 --top 5)
  expect_regex("${out}" "\n +1  OKRA +J9 +41  \\+28\n")
  expect_regex("${out}" "\n +2  [A-Z]+ +[0-9A-O]+ +[0-9]+  -\n")
  run_cli(0 out endgame --open ${endgame} --exact --top 3 --threads 1)
  expect_contains("${out}" "Solved: best spread +41")
  expect_regex("${out}" "\n +1  LANKY +N6 +22  \\+41\n")
  expect_regex("${out}" "\n +2  [A-Z]+ +[0-9A-O]+ +[0-9]+  (<= )?\\+[0-9]+\n")
  run_cli(0 out endgame --open ${endgame} --exact --top 3 --threads 2)
  expect_regex("${out}" "\n +1  LANKY +N6 +22  \\+41\n")
  run_cli(0 out endgame --open ${endgame} --static --top 3)
  expect_regex("${out}" "\n +1  [A-Z]+ +[0-9A-O]+ +[0-9]+  \\+[0-9]+\n")
  run_cli(1 out endgame --open ${pre_endgame})
  expect_contains("${out}" "Not an endgame")
  run_cli(2 out endgame --open ${endgame} --exact --static)
  run_cli(2 out endgame --open ${endgame} --seconds -1)
  # The pre-endgame: one tile in the bag, eight ways it can fall.
  run_cli(0 out peg L11 MUTI --open ${pre_endgame} --threads 2)
  expect_contains("${out}" "Running pre-end game analysis...")
  expect_contains("${out}" "Evaluating 8 different possible rack draws.")
  expect_contains("${out}" "Rack / OppRack / Prob / ProbGuess / Outcome")
  expect_regex("${out}" "\n[A-Z] / [A-Z]+ / 12\\.50% / [0-9.]+% / (WIN|LOSS|DRAW) \\([-+][0-9]+\\)")
  expect_regex("${out}" "opponent's rack: [0-9]+\\.[0-9][0-9]%")
  expect_contains("${out}" "exhaustive search.")
  run_cli(0 out peg pass --open ${pre_endgame})
  expect_regex("${out}" "Win probability of passing: [0-9]+\\.[0-9][0-9]%")
  run_cli(1 out peg 8H QI --open ${pre_endgame})
  run_cli(1 out peg pass --open ${endgame})
  expect_contains("${out}" "No pre-endgame")
  run_cli(2 out peg --open ${pre_endgame})
  run_cli(2 out peg --all L11 MUTI --open ${pre_endgame})
  # The endgame inside play, for the user's rack.
  run_cli_input(0 out "endgame 3\nquit\ny\n" play --open ${endgame})
  expect_regex("${out}" "\n +1  [A-Z]+ +[0-9A-O]+ +[0-9]+  [-+][0-9]+\n")
endif()
# play --ply N: the computer's moves come from the threaded lookahead.
run_cli_input(0 out "quit\ny\n" play --list ${words} --ply 1 --first pexil --seed 2)
expect_contains("${out}" "Simulation done: ")
expect_absent("${out}" "The lookahead engine is not available yet")
# Digraph tiles in full in the move tables of moves and simulate (with the
# shipped Catalan and Spanish lists, when they have been made).
string(REPEAT "...............\n" 15 empty_board)
file(WRITE "${work}/empty.txt" "${empty_board}")
if(EXISTS ${rundir}/CATALAN.LST)
  run_cli(0 out moves --type "Scrabble(R) - Catalan" --board ${work}/empty.txt --rack "(L·L)AOSEIR" --top 3)
  expect_contains("${out}" "IL·LESA")
  run_cli(0 out simulate --type "Scrabble(R) - Catalan" --board ${work}/empty.txt --rack "(L·L)AOSEIR" --ply 1 --seed 3 --top 3)
  expect_regex("${out}" "\n +1  [A-Z·]*L·L[A-Z·]* +8[A-O] ")
endif()
if(EXISTS ${rundir}/SPANISH.LST)
  run_cli(0 out simulate --type "Scrabble(R) - Spanish" --board ${work}/empty.txt --rack "1AO2E3S" --ply 1 --seed 3 --top 3)
  expect_contains("${out}" "SERRALLO")
endif()
# sim inside play: the lookahead for the user's rack, the game left as it was.
run_cli_input(0 out "sim 1\nsim x\nquit\ny\n" play --list ${words} --seed 2)
expect_contains("${out}" "Simulating 1 plies after each move of ")
expect_contains("${out}" "Simulation done: ")
expect_contains("${out}" "Invalid option or value: sim x")
