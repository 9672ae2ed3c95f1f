# End-to-end checks of pexil-cli, run by CTest from the build folder (not the
# program's folder, so finding the data beside the program is exercised).
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)

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
set(cli_stdin "${boards}/stdin.txt")

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
expect_regex("${out}" "Rack ACEJOST: [0-9]+ moves generated\\.")
expect_regex("${out}" "\n +Move +Pos\\. +Score +Equity  Leave\n")
expect_regex("${out}" "\n +[0-9]+  SAC +9H +20 +-?[0-9]+\\.[0-9]  EJOT\n")
expect_regex("${out}" "\n +[0-9]+  ZA +I8 +12 +-?[0-9]+\\.[0-9]  CEJOST\n")
expect_regex("${out}" "\n +[0-9]+  ZETA +I8 +14 +-?[0-9]+\\.[0-9]  CJOS\n")
# Board tiles are part of the word; the board's blank stays lower case.
expect_regex("${out}" "\n +[0-9]+  TOxICS +H5 +7 +-?[0-9]+\\.[0-9]  AEJ\n")
expect_regex("${out}" "\n +[0-9]+  \\(Pass\\) +0 +-10\\.0  ACEJOST\n")
expect_absent("${out}" "more; --top N lists more.")
string(REGEX MATCH "\n +1  [^\n]*" first_full "${out}")

# --top cuts the list; --best finds the list's first move.
run_cli(0 out moves --board ${quiz} --rack CATSJOE --list ${words} --top 3)
expect_regex("${out}" "\n +3  [^\n]+\n")
expect_absent("${out}" "\n  4  ")
expect_regex("${out}" "\\([0-9]+ more; --top N lists more\\.\\)")
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
expect_regex("${out}" "\n +1  cAZIQUE +8[BH] +118 +-?[0-9]+\\.[0-9]\n")
write_board("${boards}/dots.txt")
run_cli(0 out moves --board ${boards}/dots.txt --rack QUIZ?AE --list ${words} --top 5)
expect_regex("${out}" "\n +1  cAZIQUE +8[BH] +118 +-?[0-9]+\\.[0-9]\n")

# CR LF line ends, a byte-order mark, spaces after the last column and blank
# lines after the last row are accepted.
file(READ ${quiz} text)
string(REPLACE "\n" "  \r\n" text "${text}")
string(ASCII 239 187 191 bom)
file(WRITE "${boards}/crlf.txt" "${bom}${text}\r\n\n")
run_cli(0 out moves --board ${boards}/crlf.txt --rack CATSJOE --list ${words})
expect_regex("${out}" "\n +[0-9]+  SAC +9H +20 +-?[0-9]+\\.[0-9]  EJOT\n")

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
expect_regex("${out}" "\n +[0-9]+  ZEAS +F4 +13 +-?[0-9]+\\.[0-9][^\n]*\n")
file(WRITE "${boards}/holes_bad.txt" "Q......\n.......\n.......\n..QUIZ.\n.......\n.......\n-.....-\n")
run_cli(1 out --data ${DATA}/cli/holes moves --board ${boards}/holes_bad.txt --rack ASE --list ${words})
expect_contains("${out}" "holes_bad.txt\", row 1, column 1: a tile on a square outside the playing area.")

# The any-rack search stops after the given time and prints what it found.
run_cli(0 out highest --board ${quiz} --list ${words} --seconds 1 --seed 5)
expect_regex("${out}" "\n[0-9][0-9][0-9][0-9][0-9] [A-Z?]+ [A-Za-z]+ [A-O]?[0-9]+[A-O]? [0-9]+")
expect_contains("${out}" "Stopped.")
run_cli(2 out highest --board ${quiz} --seconds soon)
expect_contains("${out}" "Invalid option or value: --seconds soon")

# Seed 5 deals ABDOPSU to the user, who moves first.
set(script "help\nhint\n8A BAD\n8G SOUPAD\nZ99 AB\nfrobnicate\n8D BAPUS\nchallenge\nwell\nhistory\nundo\n")
string(APPEND script "8H BAPUS\nn\n8H BAPUS\ny\nredo\nmoves 3\nquit\nn\nboard\nquit\ny\n")
run_cli_input(0 out "${script}" --seed 5 play --list ${words})
expect_contains("${out}" "Challenger (P1) against Pexil 0.1.8 (P2); Challenger moves first.")
expect_contains("${out}" "Pexil 0.1.8 plays strategy 2, \"highest leave\".")
expect_contains("${out}" "    ABCDEFGHIJKLMNO\n \n  1 #..:...#...:..#  1\n")
expect_contains("${out}" "P1 Challenger: 0   <- to move\nP2 Pexil 0.1.8: 0\nTiles in the bag: 86\n")
expect_contains("${out}" "Your rack: ABDOPSU  (type a move like 8D WORD, or help)\nCommands:\n")
expect_regex("${out}" "Best static move:\n +Move +Pos\\. +Score +Equity +Leave\nP1: BAPUS            8D  24 pts +-?[0-9]+\\.[0-9]  \\[DO\\]\n")
expect_contains("${out}" "The first word must cover the start square H8.")
expect_contains("${out}" "Not in the word list: SOUPAD. Type ! after the word to play it anyway (it can be challenged).")
expect_contains("${out}" "\"Z99\" is not a square of this board: type a move like 8D WORD")
expect_contains("${out}" "Unknown command \"frobnicate\": type help for the list of commands.")
# The move, then the computer's reply with its leave hidden.
expect_regex("${out}" "Challenger played:\nP1: BAPUS            8D  24 pts\nPexil 0.1.8 played:\nP2: [A-Z|]+ +[0-9A-O]+ +[0-9]+ pts\n")
expect_regex("${out}" "\n  8 #..BAPUS[^\n]*  8\n")
expect_regex("${out}" "P1 Challenger: 24   <- to move\nP2 Pexil 0.1.8: [0-9]+\nTiles in the bag: [0-9]+\nYour rack: ")
# The computer's word is in the list: the penalty goes to it.
expect_contains("${out}" "Challenge of last move was unsuccessful.")
expect_regex("${out}" "tiles left in the bag.\nTiles not yet seen:\n")
expect_regex("${out}" "Vowels: [0-9]+ Consonants: [0-9]+ Blanks: [0-9]+")
expect_regex("${out}" "Game history: \nP1: --------- BAPUS            8D  24 pts\nP2: --------- [A-Z|]+")
expect_contains("${out}" "P1: Challenger, 24 points")
expect_contains("${out}" "(Undo last)\n")
expect_contains("${out}" "There are currently moves on the redo stack. If you make this move, the moves on the redo stack will be discarded. Make the move anyway? (y/n)\nThe move was not made.\n")
expect_contains("${out}" "Challenger played:\nP1: BAPUS            8H  20 pts\n")
expect_contains("${out}" "Nothing to redo.")
expect_regex("${out}" "Rack [A-Z?]+: [0-9]+ moves generated.\n +Move[^\n]+\nP1: [^\n]+\nP1: [^\n]+\nP1: [^\n]+\nYour rack")
expect_contains("${out}" "Are you sure that you want to abandon the current game? (y/n)\nYour rack:")
expect_absent("${out}" "End of input")

# A phony played anyway is challenged off; the end of the input ends the
# program cleanly.
run_cli_input(0 out "8D SOUPAD!\n" --seed 5 play --list ${words})
expect_contains("${out}" "Challenger played:\nP1: SOUPAD           8D  20 pts\nPexil 0.1.8 challenges the last move.\nChallenge of last move was successful.\n")
expect_contains("${out}" "End of input: the game is left unfinished.")
# Under no challenges it stands.
run_cli_input(0 out "8D SOUPAD!\nhistory\n" --seed 5 play --list ${words} --challenge 4 --name Ada)
expect_contains("${out}" "P1: --------- SOUPAD           8D  20 pts")
expect_contains("${out}" "P1 Ada: 20")
expect_absent("${out}" "challenges the last move")

# Pexil first: it moves at once.
run_cli_input(0 out "" --seed 5 play --list ${words} --first pexil)
expect_regex("${out}" "Challenger \\(P2\\) against Pexil 0.1.8 \\(P1\\); Pexil 0.1.8 moves first.\n[^\n]*\nPexil 0.1.8 played:\nP1: [A-Z]+ +[0-9A-O]+ +[0-9]+ pts\n")
run_cli_input(0 first_random "" --seed 11 play --list ${words} --first random)
run_cli_input(0 second_random "" --seed 11 play --list ${words} --first random)
if(NOT first_random STREQUAL second_random)
  message(FATAL_ERROR "--first random with the same seed differed:\n${first_random}\n${second_random}")
endif()

# Exchanges: what goes back must be on the rack; the kept tiles stay hidden.
run_cli_input(0 out "exchange ZZZ\nexchange AB\n" --seed 5 play --list ${words})
expect_contains("${out}" "You cannot exchange ZZZ: your rack is ABDOPSU.")
expect_contains("${out}" "Challenger played:\nP1: (Exchanged 2)      0 pts\n")

# Options that are wrong are refused before the game starts.
run_cli(2 out play --time 0)
expect_contains("${out}" "Invalid time.")
run_cli(2 out play --time 5:7)
expect_contains("${out}" "Invalid time.")
run_cli(2 out play --ply 41)
expect_contains("${out}" "Ply depth should be an integer value from 1 to 40.")
run_cli(2 out play --first sometimes)
expect_contains("${out}" "Invalid option or value: --first sometimes")
run_cli(2 out play --strategy 55)
expect_contains("${out}" "Invalid option or value: --strategy 55")
run_cli_input(0 out "" --seed 5 play --list ${words} --time 12:30 --same-time --ply 3)
expect_contains("${out}" "P1 Challenger: 0   clock 12:30   <- to move\nP2 Pexil 0.1.8: 0   clock 12:30\n")
# --ply now names the depth of the computer's lookahead: no notice of a missing engine.
expect_absent("${out}" "The lookahead engine is not available yet")

# ---- autoplay ----
run_cli(0 first autoplay --games 3 --summary --seed 5 --list ${words})
run_cli(0 second autoplay --games 3 --summary --seed 5 --list ${words})
if(NOT first STREQUAL second)
  message(FATAL_ERROR "autoplay with the same seed differed:\n${first}\n${second}")
endif()
expect_regex("${first}" "\nGame 1: P1 [0-9]+ P2 [0-9]+; (P[12] wins|draw)\nGame 2: ")
expect_regex("${first}" "\nGame 3: P1 [0-9]+ P2 [0-9]+; (P[12] wins|draw)\n3 games played:\n")
expect_regex("${first}" "P1 \\(strategy 2\\): [0-3] wins, [0-3] draws, [0-3] losses; mean score [0-9]+\\.[0-9], mean spread [-+][0-9]+\\.[0-9]\n")
expect_absent("${first}" "Autoplaying game")
run_cli(0 out autoplay --games 2 --summary --seed 6 --list ${words})
if(out STREQUAL first)
  message(FATAL_ERROR "autoplay with another seed gave the same games:\n${out}")
endif()
# Without --summary the move lines are printed; a log is written. Game
# records need two players.
run_cli(2 out autoplay --players 3 --list ${words} --gcg-dir ${boards}/gcg)
expect_contains("${out}" "Game records hold two-player games only: --gcg-dir needs --players 2.")
run_cli(0 out autoplay --players 3 --strategies 1,2,11 --seed 5 --list ${words} --log ${boards}/autoplay.log)
expect_contains("${out}" "Autoplaying game...")
expect_regex("${out}" "\nP3: [^\n]+pts")
expect_contains("${out}" "P3 (strategy 11): ")
file(READ "${boards}/autoplay.log" log)
expect_regex("${log}" "^Player 1\t[A-Z?]+\t \\| [^\n]+\t[0-9]+\nPlayer 2\t")
run_cli(2 out autoplay --strategies 1,2,3 --list ${words})
expect_contains("${out}" "Invalid option or value: --strategies 1,2,3")
run_cli(2 out autoplay --games 0 --list ${words})
expect_contains("${out}" "Invalid option or value: --games 0")

# ---- bench selfplay ----
run_cli(0 first bench selfplay --games 4 --list ${words})
run_cli(0 second bench selfplay --games 4 --list ${words})
expect_regex("${first}" "Self-play: 4 games, strategy 2 against 2, seed [0-9]+, one thread, in [0-9.]+ s of CPU time\n")
expect_regex("${first}" "Games per second: [0-9.]+\nMoves per second: [0-9]+ \\([0-9.]+ moves per game\\)\n")
string(REGEX MATCH "Checksum of the final scores: [0-9a-f]+\n" first_sum "${first}")
string(REGEX MATCH "Checksum of the final scores: [0-9a-f]+\n" second_sum "${second}")
if(first_sum STREQUAL "" OR NOT first_sum STREQUAL second_sum)
  message(FATAL_ERROR "bench selfplay checksums missing or different:\n${first}\n${second}")
endif()

# The move list pages by 20 lines; 'y' shows the next page, any other
# command drops the rest.
run_cli_input(0 out "moves\ny\nboard\ny\n" --seed 5 play --list ${words})
expect_regex("${out}" "Rack ABDOPSU: [0-9]+ moves generated.\n +Move[^\n]+\n(P1: [^\n]+\n)(P1: [^\n]+\n)+Type 'y' to see more moves.\nYour rack: ABDOPSU[^\n]+\nP1: ")
expect_contains("${out}" "Unknown command \"y\": type help for the list of commands.")

# Lower case letters are blanks: seed 23 deals ABRWXZ?.
run_cli_input(0 out "8F bez\n8F BeZ\n" --seed 23 play --list ${words})
expect_contains("${out}" "You do not have the tiles for bez: your rack is ABRWXZ? (a lower case letter is a blank).")
expect_contains("${out}" "Challenger played:\nP1: BeZ              8F  26 pts\n")
expect_contains("${out}" "\n  8 #..:.BeZ...:..#  8\n")

# ---- position files and game records ----
file(REMOVE_RECURSE "${boards}/records")
run_cli(0 out --seed 7 autoplay --games 2 --summary --list ${words} --gcg-dir ${boards}/records)
expect_contains("${out}" "The game records go to the folder \"${boards}/records\".")
set(record "${boards}/records/game-0001.gcg")
if(NOT EXISTS "${record}" OR NOT EXISTS "${boards}/records/game-0002.gcg")
  message(FATAL_ERROR "autoplay --gcg-dir wrote no records")
endif()
run_cli(0 out open-game ${record} --list ${words})
expect_contains("${out}" "The game is ready.")
expect_regex("${out}" "Game history: \nP1: \\([A-Z?]+\\) [A-Za-z]+ +[0-9A-O]+ +[0-9]+ pts")
expect_absent("${out}" "Pragma data")
# A record read and written again is the same file.
run_cli(0 out save-game ${boards}/copy.gcg --open ${record} --list ${words})
expect_contains("${out}" "Game saved as \"${boards}/copy.gcg\".")
file(READ "${record}" original)
file(READ "${boards}/copy.gcg" copy)
if(NOT original STREQUAL copy)
  message(FATAL_ERROR "a record read and written again changed:\n${original}\n----\n${copy}")
endif()
# The position after move 4, as a position file; moves and play start there.
run_cli(0 out save-position ${boards}/four.pexil --open ${record} --move 4 --list ${words})
expect_contains("${out}" "Stopped after move 4 of the record.")
expect_contains("${out}" "Position saved as \"${boards}/four.pexil\".")
file(READ "${boards}/four.pexil" position)
expect_regex("${position}" "gameturn\t4\nplayerturn\t0\n")
run_cli(0 out open-position ${boards}/four.pexil)
expect_regex("${out}" "P1 Player 1: [0-9]+   <- to move\nP2 Player 2: [0-9]+\n")
expect_regex("${out}" "Rack of Player 1: [A-Z?]+\nRack of Player 2: [A-Z?]+\n")
run_cli(0 out moves --open ${boards}/four.pexil --top 2)
expect_regex("${out}" "Rack [A-Z?]+: [0-9]+ moves generated.\n +Move +Pos. +Score +Equity +Leave\n +1 ")
set(script "save-position ${boards}/again.pexil\nsave-game\nsave-game ${boards}/played.gcg\nsave-game\nopen-position\nquit\ny\n")
run_cli_input(0 out "${script}" play --open ${boards}/four.pexil --list ${words})
expect_contains("${out}" "Position saved as \"${boards}/again.pexil\".")
expect_contains("${out}" "save-game needs a file name.")
expect_contains("${out}" "open-position needs a file name.")
string(REGEX MATCHALL "Game saved as \"${boards}/played.gcg\"." saved "${out}")
list(LENGTH saved saved_count)
if(NOT saved_count EQUAL 2)
  message(FATAL_ERROR "save-game without a name did not reuse the last one:\n${out}")
endif()
# Bad requests.
run_cli(1 out open-position ${boards}/missing.pexil)
expect_contains("${out}" "File ${boards}/missing.pexil not found.")
run_cli(2 out open-game ${record} --move x)
expect_contains("${out}" "Invalid option or value: --move x")
run_cli(1 out moves --open ${boards}/four.pexil --move 3)
expect_contains("${out}" "Invalid option or value: --move 3")
run_cli(2 out save-game ${boards}/x.gcg)
# A record written by another program: every stated score agrees.
run_cli(0 out replay-gcg ${DATA}/gcg-samples/quackle/boys1.gcg)
expect_contains("${out}" "1 records, 22 moves replayed, 0 moves scored differently")
