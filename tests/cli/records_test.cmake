# End-to-end checks of game records and of the files pexil-cli writes:
# a write that fails leaves the old file whole; files that hold no game are
# refused; records of every shipped language read back; records of other
# programs are scored as they state; the history accounts for every point.
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)

set(words ${DATA}/movegen/words.lst)
set(samples ${DATA}/gcg-samples)
set(work "${CMAKE_CURRENT_BINARY_DIR}/records_test_files")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
set(cli_stdin "${work}/stdin.txt")

# Runs pexil-cli with its files limited to one block, so that writing any
# file of some size fails part-way.
function(records_run_limited expected_code out_var)
  execute_process(COMMAND sh -c "ulimit -f 1 && exec \"$@\"" sh ${CLI} --no-colour ${ARGN}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL expected_code)
    message(FATAL_ERROR "pexil-cli ${ARGN} (files limited): exit ${code}, expected ${expected_code}\n${out}${err}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

# The file holds exactly `expected`, and the folder nothing but `names`.
function(records_expect_file path expected)
  file(READ "${path}" content)
  if(NOT content STREQUAL expected)
    message(FATAL_ERROR "${path} changed:\n${content}")
  endif()
endfunction()
function(records_expect_folder folder)
  file(GLOB present RELATIVE "${folder}" "${folder}/*")
  list(SORT present)
  set(names ${ARGN})
  list(SORT names)
  if(NOT present STREQUAL names)
    message(FATAL_ERROR "${folder} holds [${present}], expected [${names}]")
  endif()
endfunction()

# ---- a write that fails leaves the old file whole and nothing else ----
run_cli(0 out --seed 5 autoplay --games 1 --strategies 1 --list ${words} --gcg-dir ${work}/games)
set(record "${work}/games/game-0001.gcg")
file(SIZE "${record}" record_size)
if(record_size LESS 1100)
  message(FATAL_ERROR "the record is too short for the checks: ${record_size} bytes")
endif()

set(old_record "#player1 Old Old\n#player2 Record Record\n")
file(MAKE_DIRECTORY "${work}/save")
file(WRITE "${work}/save/old.gcg" "${old_record}")
records_run_limited(1 out save-game ${work}/save/old.gcg --open ${record} --list ${words})
expect_contains("${out}" "Cannot write \"${work}/save/old.gcg\".")
records_expect_file("${work}/save/old.gcg" "${old_record}")
records_expect_folder("${work}/save" old.gcg)
# Without the limit the record replaces the old one.
run_cli(0 out save-game ${work}/save/old.gcg --open ${record} --list ${words})
file(READ "${record}" original)
records_expect_file("${work}/save/old.gcg" "${original}")
# A folder that does not exist is reported.
run_cli(1 out save-game ${work}/none/x.gcg --open ${record} --list ${words})
expect_contains("${out}" "Cannot write \"${work}/none/x.gcg\".")

# The word graph of build-graph.
file(MAKE_DIRECTORY "${work}/graph")
configure_file(${words} "${work}/graph/words.lst" COPYONLY)
file(WRITE "${work}/graph/words.tribble" "old graph\n")
records_run_limited(1 out build-graph ${work}/graph/words.lst)
expect_contains("${out}" "Cannot write")  # the line is wrapped
records_expect_file("${work}/graph/words.tribble" "old graph\n")
records_expect_folder("${work}/graph" words.lst words.tribble)

# The autoplay log, and the records of --gcg-dir.
file(MAKE_DIRECTORY "${work}/log")
file(WRITE "${work}/log/autoplay.log" "old log\n")
records_run_limited(1 out --seed 5 autoplay --games 1 --strategies 1 --list ${words} --log ${work}/log/autoplay.log)
expect_contains("${out}" "Cannot write \"${work}/log/autoplay.log\".")
records_expect_file("${work}/log/autoplay.log" "old log\n")
records_expect_folder("${work}/log" autoplay.log)
file(MAKE_DIRECTORY "${work}/dir")
file(WRITE "${work}/dir/game-0001.gcg" "${old_record}")
records_run_limited(1 out --seed 5 autoplay --games 1 --strategies 1 --list ${words} --gcg-dir ${work}/dir)
expect_contains("${out}" "Cannot write \"${work}/dir/game-0001.gcg\".")
records_expect_file("${work}/dir/game-0001.gcg" "${old_record}")
records_expect_folder("${work}/dir" game-0001.gcg)

# ---- files that hold no game are refused ----
file(MAKE_DIRECTORY "${work}/bad")
file(WRITE "${work}/bad/empty.gcg" "")
file(WRITE "${work}/bad/skipped.gcg" "#title A game\nAnn: AEHRTTW 8D WATER +24 24\n")
foreach(bad "${work}/bad/empty.gcg" "${CLI}" "${work}/bad" "${work}/bad/skipped.gcg")
  run_cli(1 out open-game ${bad} --list ${words})
  expect_contains("${out}" "Nothing could be read from ${bad}: it holds no game record.")
  expect_absent("${out}" "The game is ready.")
endforeach()
expect_contains("${out}" "2 lines of the record were not used:\n  Line 1 not used: #title A game\n  Line 2 not used: Ann:")
run_cli(1 out save-game ${work}/bad/out.gcg --open ${work}/bad/empty.gcg --list ${words})
if(EXISTS "${work}/bad/out.gcg")
  message(FATAL_ERROR "save-game wrote a record of a file that held none")
endif()
run_cli(1 out moves --open ${work}/bad/empty.gcg --list ${words})
expect_contains("${out}" "Nothing could be read from")

# Inside play the game in progress stays.
run_cli_input(0 out "history\nopen-game ${work}/bad/empty.gcg\nhistory\nquit\ny\n" play --open ${record} --list ${words})
string(FIND "${out}" "Nothing could be read from" split)
if(split EQUAL -1)
  message(FATAL_ERROR "play opened an empty record:\n${out}")
endif()
string(SUBSTRING "${out}" 0 ${split} before)
string(SUBSTRING "${out}" ${split} -1 after)
string(REGEX MATCHALL "\nP[12]: \\([^\n]*" before_moves "${before}")
string(REGEX MATCHALL "\nP[12]: \\([^\n]*" after_moves "${after}")
list(LENGTH before_moves move_count)
if(move_count LESS 10 OR NOT before_moves STREQUAL after_moves)
  message(FATAL_ERROR "the game changed when a record could not be read:\n${out}")
endif()

# A record with lines that were not used says which.
file(READ "${record}" text)
file(WRITE "${work}/bad/partly.gcg" "${text}#title A game\n>Nobody: ABC 8H ABC +10 10\n")
run_cli(0 out open-game ${work}/bad/partly.gcg --list ${words})
expect_contains("${out}" "Pragma data was encountered")
string(REGEX MATCHALL "\n" ends "${text}")
list(LENGTH ends record_lines)
math(EXPR title_line "${record_lines} + 1")
math(EXPR nobody_line "${record_lines} + 2")
expect_contains("${out}" "2 lines of the record were not used:\n  Line ${title_line} not used: #title A game\n"
                "  Line ${nobody_line}: no such player, skipped: >Nobody: ABC 8H ABC +10 10\n")

# ---- records of every shipped language read back whole ----
get_filename_component(run_folder "${CLI}" DIRECTORY)
set(types "Scrabble(R) - American English" "Scrabble(R) - Spanish" "Scrabble(R) - Danish" "Scrabble(R) - French"
          "Scrabble(R) - German" "Scrabble(R) - Italian" "Scrabble(R) - Catalan" "Scrabble(R) - Swedish"
          "Scrabble(R) - Latin")
set(lists ENGLISH.LST SPANISH.LST DANISH.LST FRENCH.LST GERMAN.LST ITALIAN.LST CATALAN.LST SWEDISH.LST LATIN.LST)
set(checked 0)
foreach(type list IN ZIP_LISTS types lists)
  if(NOT EXISTS "${run_folder}/${list}")
    message(STATUS "no ${list} beside the program: the ${type} record is not checked")
    continue()
  endif()
  string(MAKE_C_IDENTIFIER "${list}" folder)
  run_cli(0 out --seed 3 autoplay --type "${type}" --games 1 --strategies 1 --gcg-dir ${work}/lang/${folder})
  run_cli(0 out replay-gcg ${work}/lang/${folder}/game-0001.gcg)
  # The list named, in any case of letters (file names are matched so).
  string(TOUPPER "${out}" upper)
  expect_contains("${upper}" "  WORD LIST: ${list}\n")
  expect_contains("${out}" "  Every stated score agrees with the board.\n")
  expect_contains("${out}" " 0 moves scored differently, 0 lines not used.")
  expect_absent("${out}" "not found: using")
  expect_absent("${out}" "  Line ")
  math(EXPR checked "${checked} + 1")
endforeach()
message(STATUS "records of ${checked} languages read back")
# The Spanish record spells its double tiles as its "#tile" lines declare.
if(EXISTS "${work}/lang/SPANISH_LST/game-0001.gcg")
  file(READ "${work}/lang/SPANISH_LST/game-0001.gcg" spanish)
  expect_contains("${spanish}" "#lexicon SPANISH\n#tile LL ll\n#tile RR rr\n#tile CH ch\n")
  if(spanish MATCHES "\n>[^:]+: [A-Z?]*[123]")
    message(FATAL_ERROR "a Spanish rack is written with digit codes:\n${spanish}")
  endif()
endif()

# ---- records of other programs ----
# A blank played earlier stays lower case in the later words that take it in.
file(WRITE "${work}/blank.gcg" "#player1 Ann Ann\n#player2 Bob Bob\n"
           ">Ann: ?AEIOTU 8H cAT +4 4\n>Bob: EILNOSU 8H CATS +5 5\n>Ann: AEINORU H6 ARC +5 9\n")
run_cli(0 out save-game ${work}/blank-copy.gcg --open ${work}/blank.gcg --list ${words})
file(READ "${work}/blank-copy.gcg" copy)
expect_contains("${copy}" ">Bob: EILNOSU 8H cATS +")
expect_contains("${copy}" ">Ann: AEINORU H6 ARc +")
# Two players of one nickname: the moves go by the running totals.
file(WRITE "${work}/same.gcg" "#player1 Sam Sam One\n#player2 Sam Sam Two\n"
           ">Sam: AEHRTTW 8D WATER +24 24\n>Sam: ADEIKLN E7 K.NDLE +22 22\n>Sam: ABEINST - +0 24\n")
run_cli(0 out replay-gcg ${work}/same.gcg)
expect_contains("${out}" "  Final scores: Sam 24, Sam 22\n")
expect_contains("${out}" "  Every stated score agrees with the board.\n")
# Final totals unlike the record's are told even when every move agrees.
file(WRITE "${work}/totals.gcg" "#player1 Ann Ann\n#player2 Bob Bob\n"
           ">Ann: AEHRTTW 8D WATER +24 24\n>Bob: ADEIKLN E7 K.NDLE +22 99\n")
run_cli(0 out replay-gcg ${work}/totals.gcg)
expect_contains("${out}" "  The final scores differ from the last totals the record states.\n")
expect_absent("${out}" "Every stated score agrees")
# A game that ended by scoreless turns is scored as its record states.
run_cli(0 out replay-gcg ${samples}/magpie/six_pass.gcg)
expect_contains("${out}" "  Final scores: A 513, B 348\n  Last totals the record states: 513, 348\n"
                "  Every stated score agrees with the board.\n"
                "  Line 35: the end of the game is scored as the record states (-4, -1); our rule would give +2, +8.\n")
# The report over every sample still runs to its end.
file(GLOB_RECURSE all_samples "${samples}/*.gcg")
list(SORT all_samples)
run_cli(0 out replay-gcg ${all_samples})
expect_contains("${out}" "52 records, ")

# ---- the history accounts for every point ----
run_cli(0 out open-game ${samples}/liwords/vs_josh_time_penalty.gcg)
expect_contains("${out}" "P1: +16 points for the tiles left on P2's rack (BLNOST)\nP1: -70 points, time penalty\n"
                "P1: cesar, 387 points\n")
run_cli(0 out open-game ${samples}/liwords/many_challenges.gcg)
expect_contains("${out}" "P2: +10 points, the challenge of move 6 failed\n")

# ---- --list with a record: the list is read in the record's alphabet ----
# A Spanish record replayed with a list named on the command line keeps the
# list's words with multi-letter tiles (read as English, five of its fifteen
# words would be dropped); a list that is not there is said so, exit 3.
set(spanish_list ${DATA}/cli/conventions/spanish.lst)
run_cli(0 out --seed 3 autoplay --type "Scrabble(R) - Spanish" --list ${spanish_list} --games 1
        --gcg-dir ${work}/spanish_list)
run_cli(0 out open-game ${work}/spanish_list/game-0001.gcg --list ${spanish_list})
expect_contains("${out}" "15 words in word list.")
run_cli(0 out moves --open ${work}/spanish_list/game-0001.gcg --move 2 --list ${spanish_list})
expect_contains("${out}" "15 words in word list.")
run_cli(3 out open-game ${work}/spanish_list/game-0001.gcg --list ${work}/no-such.lst)
expect_contains("${out}" "could not be loaded: file not found")
