# End-to-end checks of pexil-cli, run by CTest from the build folder (not the
# program's folder, so finding the data beside the program is exercised).
cmake_minimum_required(VERSION 3.20)

function(run_cli expected_code out_var)
  execute_process(COMMAND ${CLI} --no-colour ${ARGN}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL expected_code)
    message(FATAL_ERROR "pexil-cli ${ARGN}: exit ${code}, expected ${expected_code}\n${out}${err}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

function(expect_contains text needle)
  string(FIND "${text}" "${needle}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected to find [${needle}] in:\n${text}")
  endif()
endfunction()

# The game types shipped beside the program.
run_cli(0 out types)
expect_contains("${out}" "  1  Scrabble(R) - American English")
expect_contains("${out}" " 14  Scrabble(R) - Latin")

# The standard board.
run_cli(0 out board --type "Scrabble(R) - American English")
expect_contains("${out}" "    ABCDEFGHIJKLMNO")
expect_contains("${out}" "  8 #..:...*...:..#  8")
expect_contains("${out}" " 15 #..:...#...:..# 15")

# Built-in kinds and numbers in the list.
run_cli(0 out board --kind 3)
expect_contains("${out}" "  1 @..:...#..:..#...:..@  1")
run_cli(0 out board --type 10)
expect_contains("${out}" "Scrabble(R) - German")

# The main job, repeatable with a seed; Latin-1 text comes out as UTF-8.
run_cli(0 first --seed 7)
run_cli(0 second --seed 7)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "the same seed dealt different racks:\n${first}\n${second}")
endif()
expect_contains("${first}" "Welcome to Pexil")
expect_contains("${first}" "(93 tiles left in the bag)")
run_cli(0 out deal --type "Scrabble(R) - German" --seed 1)
expect_contains("${out}" "Bag (95 tiles):")
expect_contains("${out}" "ÄÖÜ")

# Errors say what was wrong and fail.
run_cli(1 out board --type "No such game")
expect_contains("${out}" "Unknown game type \"No such game\"")
run_cli(2 out frobnicate)
expect_contains("${out}" "Unknown command \"frobnicate\"")
run_cli(1 out board --kind 9)
expect_contains("${out}" "Invalid option or value: --kind 9")
run_cli(2 out --seed banana)
expect_contains("${out}" "Invalid option or value: --seed banana")
run_cli(2 out --data /nonexistent/folder types)
expect_contains("${out}" "Cannot use \"/nonexistent/folder\" as the data folder.")

# Another data folder: a broken definitions file is reported, not fatal.
run_cli(1 out --data ${DATA}/cli types)
expect_contains("${out}" "Warning: Syntax error in game \"Broken\" Syntax error: Unknown \nline")
expect_contains("${out}" "Invalid game description -- rack size too small")
expect_contains("${out}" "No game definitions found.")

# In Catalan the messages that have a translation change.
run_cli(0 out --ui-lang 2 --data ${DATA}/cli board)
expect_contains("${out}" "    ABC")
run_cli(0 out --quiet types)
if(NOT out STREQUAL "")
  message(FATAL_ERROR "--quiet printed:\n${out}")
endif()

# ---- moves and highest: positions typed as board files ----
set(words ${DATA}/movegen/words.lst)
set(quiz ${DATA}/cli/quiz_board.txt)
set(boards "${CMAKE_CURRENT_BINARY_DIR}/cli_test_boards")
file(REMOVE_RECURSE "${boards}")
file(MAKE_DIRECTORY "${boards}")

function(cli_expect_regex text regex)
  if(NOT text MATCHES "${regex}")
    message(FATAL_ERROR "expected a match for [${regex}] in:\n${text}")
  endif()
endfunction()

function(cli_expect_absent text needle)
  string(FIND "${text}" "${needle}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "did not expect [${needle}] in:\n${text}")
  endif()
endfunction()

# Writes a 15x15 board: every row empty except those given as NUMBER TEXT
# pairs (rows counted from 1).
function(write_board file)
  string(REPEAT "." 15 empty)
  set(rows "")
  foreach(r RANGE 1 15)
    set(row_${r} "${empty}")
  endforeach()
  set(args ${ARGN})
  while(args)
    list(POP_FRONT args number text)
    set(row_${number} "${text}")
  endwhile()
  set(content "")
  foreach(r RANGE 1 15)
    string(APPEND content "${row_${r}}\n")
  endforeach()
  file(WRITE "${file}" "${content}")
endfunction()

# The fixture holds QUIZ across row 8 with a blank x above the I.
run_cli(0 out moves --board ${quiz} --rack CATSJOE --list ${words} --top 100)
cli_expect_regex("${out}" "Rack ACEJOST: [0-9]+ moves generated\\.")
cli_expect_regex("${out}" "\n +Move +Pos\\. +Score +Equity  Leave\n")
cli_expect_regex("${out}" "\n +[0-9]+  SAC +9H +20 +-?[0-9]+\\.[0-9]  EJOT\n")
cli_expect_regex("${out}" "\n +[0-9]+  ZA +I8 +12 +-?[0-9]+\\.[0-9]  CEJOST\n")
cli_expect_regex("${out}" "\n +[0-9]+  ZETA +I8 +14 +-?[0-9]+\\.[0-9]  CJOS\n")
# Board tiles are part of the word; the board's blank stays lower case.
cli_expect_regex("${out}" "\n +[0-9]+  TOxICS +H5 +7 +-?[0-9]+\\.[0-9]  AEJ\n")
cli_expect_regex("${out}" "\n +[0-9]+  \\(Pass\\) +0 +-10\\.0  ACEJOST\n")
cli_expect_absent("${out}" "more; --top N lists more.")
string(REGEX MATCH "\n +1  [^\n]*" first_full "${out}")

# --top cuts the list; --best finds the list's first move.
run_cli(0 out moves --board ${quiz} --rack CATSJOE --list ${words} --top 3)
cli_expect_regex("${out}" "\n +3  [^\n]+\n")
cli_expect_absent("${out}" "\n  4  ")
cli_expect_regex("${out}" "\\([0-9]+ more; --top N lists more\\.\\)")
run_cli(0 out moves --board ${quiz} --rack CATSJOE --list ${words} --best)
expect_contains("${out}" "Rack ACEJOST: the best move.")
string(REGEX MATCH "\n +1  [^\n]*" first_best "${out}")
if(NOT first_best STREQUAL first_full)
  message(FATAL_ERROR "best-only found [${first_best}], the full list starts [${first_full}]")
endif()

# An empty file is the empty board; a relative name is found from the
# working folder, not the data folder.
file(WRITE "${boards}/empty.txt" "")
run_cli(0 out moves --board cli_test_boards/empty.txt --rack QUIZ?AE --list ${words} --top 5)
cli_expect_regex("${out}" "\n +1  cAZIQUE +8[BH] +118 +-?[0-9]+\\.[0-9]\n")
write_board("${boards}/dots.txt")
run_cli(0 out moves --board ${boards}/dots.txt --rack QUIZ?AE --list ${words} --top 5)
cli_expect_regex("${out}" "\n +1  cAZIQUE +8[BH] +118 +-?[0-9]+\\.[0-9]\n")

# CR LF line ends, a byte-order mark, spaces after the last column and blank
# lines after the last row are accepted.
file(READ ${quiz} text)
string(REPLACE "\n" "  \r\n" text "${text}")
string(ASCII 239 187 191 bom)
file(WRITE "${boards}/crlf.txt" "${bom}${text}\r\n\n")
run_cli(0 out moves --board ${boards}/crlf.txt --rack CATSJOE --list ${words})
cli_expect_regex("${out}" "\n +[0-9]+  SAC +9H +20 +-?[0-9]+\\.[0-9]  EJOT\n")

# Errors name the file, the row and the column, and fail with exit code 1.
file(STRINGS ${quiz} quiz_rows)
list(SUBLIST quiz_rows 0 14 short_rows)
list(JOIN short_rows "\n" text)
file(WRITE "${boards}/short.txt" "${text}\n")
run_cli(1 out moves --board ${boards}/short.txt --rack ABC --list ${words})
expect_contains("${out}" "Board file \"${boards}/short.txt\": expected 15 rows, found 14.")
write_board("${boards}/wide.txt" 3 "................")
run_cli(1 out moves --board ${boards}/wide.txt --rack ABC --list ${words})
expect_contains("${out}" "wide.txt\", row 3: expected 15 columns, found 16.")
write_board("${boards}/letter.txt" 3 "%.............." 4 "...Ä..........." 8 ".....QUIZ......")
run_cli(1 out moves --board ${boards}/letter.txt --rack ABC --list ${words})
expect_contains("${out}" "letter.txt\", row 3, column 1: '%' is not a letter of this game.")
expect_contains("${out}" "letter.txt\", row 4, column 4: 'Ä' is not a letter of this game.")
write_board("${boards}/zeds.txt" 1 "ZZ............." 8 ".....QUIZ......")
run_cli(1 out moves --board ${boards}/zeds.txt --rack ABC --list ${words})
expect_contains("${out}" "Too many 'Z' tiles: 3 on the board and 0 on the rack, but the set has 1.")
run_cli(1 out moves --board ${quiz} --rack ZZA --list ${words})
expect_contains("${out}" "Too many 'Z' tiles: 1 on the board and 2 on the rack, but the set has 1.")
run_cli(1 out moves --board ${quiz} --rack A%B --list ${words})
expect_contains("${out}" "Rack \"A%B\": '%' is not a tile of this game.")
run_cli(1 out moves --board ${quiz} --rack ABCDEFGHIJKLMNOPQRSTUVWXYABCDEFGH --list ${words})
expect_contains("${out}" "a rack holds 1 to 32 tiles, not 33.")
run_cli(1 out moves --board ${boards}/missing.txt --rack ABC --list ${words})
expect_contains("${out}" "Cannot read the board file \"${boards}/missing.txt\".")
string(REPEAT "Q" 70000 huge)
file(WRITE "${boards}/huge.txt" "${huge}")
run_cli(1 out moves --board ${boards}/huge.txt --rack ABC --list ${words})
expect_contains("${out}" "is too large for a board")
string(ASCII 1 2 7 27 127 junk)
write_board("${boards}/junk.txt" 2 "${junk}.........." 5 "...............Q")
run_cli(1 out moves --board ${boards}/junk.txt --rack ABC --list ${words})
expect_contains("${out}" "junk.txt\", row 2, column 1: U+0001 is not a letter of this game.")
expect_contains("${out}" "junk.txt\", row 5: expected 15 columns, found 16.")
run_cli(2 out moves --board ${quiz} --list ${words})
expect_contains("${out}" "Invalid option or value: moves --board FILE --rack TILES")
run_cli(2 out moves --board ${quiz} --rack ABC --top 0 --list ${words})
expect_contains("${out}" "Invalid option or value: --top 0")

# A board with squares outside the playing area: they may be written as the
# game type's own symbol ("-"), and no tile may stand on them.
file(WRITE "${boards}/holes.txt" "-.....-\n.......\n.......\n..QUIZ.\n.......\n.......\n-.....-\n")
run_cli(0 out --data ${DATA}/cli/holes moves --board ${boards}/holes.txt --rack ASE --list ${words})
cli_expect_regex("${out}" "\n +[0-9]+  ZEAS +F4 +13 +-?[0-9]+\\.[0-9][^\n]*\n")
file(WRITE "${boards}/holes_bad.txt" "Q......\n.......\n.......\n..QUIZ.\n.......\n.......\n-.....-\n")
run_cli(1 out --data ${DATA}/cli/holes moves --board ${boards}/holes_bad.txt --rack ASE --list ${words})
expect_contains("${out}" "holes_bad.txt\", row 1, column 1: a tile on a square outside the playing area.")

# The any-rack search stops after the given time and prints what it found.
run_cli(0 out highest --board ${quiz} --list ${words} --seconds 1 --seed 5)
cli_expect_regex("${out}" "\n[0-9][0-9][0-9][0-9][0-9] [A-Z?]+ [A-Za-z]+ [A-O]?[0-9]+[A-O]? [0-9]+")
expect_contains("${out}" "Stopped.")
run_cli(2 out highest --board ${quiz} --seconds soon)
expect_contains("${out}" "Invalid option or value: --seconds soon")
