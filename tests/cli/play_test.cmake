# End-to-end checks of "play" (commands typed on standard input) and of how
# the terminal shows highlighted text.
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)

set(words ${DATA}/movegen/words.lst)
set(dir "${CMAKE_CURRENT_BINARY_DIR}/play_test_files")
file(REMOVE_RECURSE "${dir}")
file(MAKE_DIRECTORY "${dir}")
set(cli_stdin "${dir}/stdin.txt")
string(ASCII 27 esc)

# Seed 5 deals ABDOPSU to the user, who moves first; after 8D BAPUS the
# computer answers HOE at 9G and the user holds DGMMORT.

# ---- highlight marks: never shown as characters ----
# DOGMA down from E4 takes the A of BAPUS: that letter is highlighted.
run_cli_with_input(0 out "8D BAPUS\nmoves 5\n" --no-colour --seed 5 play --list ${words})
expect_contains("${out}" "P1: DOGMA            E4  18 pts")
expect_absent("${out}" "|")
run_cli_with_input(0 out "8D BAPUS\nmoves 5\n" --latin1 --seed 5 play --list ${words})
expect_contains("${out}" "P1: DOGMA            E4  18 pts")
expect_absent("${out}" "|")
# On a terminal the highlighted letters are bold, in the line's colour.
run_cli_with_input(0 out "8D BAPUS\nmoves 5\n" --colour --seed 5 play --list ${words})
expect_contains("${out}" "P1: DOGM${esc}[1mA${esc}[22m            E4  18 pts")
expect_absent("${out}" "|")
# The board shows the last move's tiles highlighted: HOE, not BAPUS.
expect_contains("${out}" "  8 #..BAPUS...:..#  8")
expect_contains("${out}" "  9 ..:...${esc}[1mHOE${esc}[22m...:..  9")

# The computer's moves in autoplay, the move table of "moves" and a record
# opened: the same rendering.
run_cli_with_input(0 autoplay "" --no-colour --seed 7 autoplay --games 1 --list ${words} --gcg-dir ${dir}/records)
expect_regex("${autoplay}" "\nP2: JETON +E8 +24 pts")
expect_absent("${autoplay}" "|")
run_cli_with_input(0 out "" --no-colour moves --open ${dir}/records/game-0001.gcg --move 2 --list ${words} --top 40)
expect_absent("${out}" "|")
run_cli_with_input(0 out "" --colour moves --open ${dir}/records/game-0001.gcg --move 2 --list ${words} --top 40)
expect_contains("${out}" "${esc}[1m")
expect_absent("${out}" "|")
run_cli_with_input(0 out "" --colour open-game ${dir}/records/game-0001.gcg --list ${words})
expect_contains("${out}" "${esc}[1m")
expect_absent("${out}" "|")

# ---- the board's legend ----
run_cli_with_input(0 out "" --no-colour --seed 5 play --list ${words})
expect_contains("${out}" "\n \nSquares: . plain  : letter x2  $ letter x3  * word x2  # word x3\n")
expect_contains("${out}" "\nTiles: a lower case letter is a blank.\nP1 Challenger: 0   <- to move\n")

# ---- hint and moves: equity and leave columns under their titles ----
run_cli_with_input(0 out "hint\nmoves 2\n" --no-colour --seed 5 play --list ${words})
expect_regex("${out}" "Best static move:\n    Move            Pos\\.  Score  Equity  Leave\nP1: BAPUS            8D  24 pts +-?[0-9]+\\.[0-9]  \\[DO\\]\n")
expect_regex("${out}" "moves generated\\.\n    Move            Pos\\.  Score  Equity  Leave\nP1: BAPUS            8D  24 pts +-?[0-9]+\\.[0-9]  \\[DO\\]\nP1: [^\n]+\\[[A-Z?]+\\]\nYour rack")

# ---- well: the concise form on request ----
run_cli_with_input(0 out "well --concise\nwell\nwell wide\n" --no-colour --seed 5 play --list ${words})
expect_regex("${out}" "Tiles not yet seen:\nA: +[0-9]+    B: +[0-9]+    C: +[0-9]+    \n")
expect_regex("${out}" "Tiles not yet seen:\nA+\nB+\n")
expect_contains("${out}" "Invalid option or value: wide")

# ---- exchanges name the tiles thrown back ----
run_cli_with_input(0 out "exchange AB\n" --no-colour --seed 5 play --list ${words})
expect_regex("${out}" "Challenger played:\nP1: \\(Exchanged 2\\)      0 pts\n")
# The rack kept D, O, P, S and U.
expect_regex("${out}" "\\(Exchanged 2\\)[^\n]*\n(.*\n)*Your rack: [A-Z?]*D[A-Z?]*O[A-Z?]*P[A-Z?]*S[A-Z?]*U")
# The record's form, alone or after the command.
run_cli_with_input(0 out "-ab\n" --no-colour --seed 5 play --list ${words})
expect_regex("${out}" "P1: \\(Exchanged 2\\)      0 pts\n")
run_cli_with_input(0 out "exchange -A B\n" --no-colour --seed 5 play --list ${words})
expect_regex("${out}" "P1: \\(Exchanged 2\\)      0 pts\n")
# keep names the tiles kept, as the exchange dialog does.
run_cli_with_input(0 out "keep ZZ\nkeep AB\nhistory\n" --no-colour --seed 5 play --list ${words})
expect_contains("${out}" "You cannot keep ZZ: your rack is ABDOPSU.")
expect_regex("${out}" "P1: \\(Exchanged 5\\)      0 pts\n")
expect_regex("${out}" "\\(Exchanged 5\\)[^\n]*\n(.*\n)*Your rack: [A-Z?]*A[A-Z?]*B")
# A bare exchange asks before the whole rack goes back.
run_cli_with_input(0 out "exchange\nn\nexchange\ny\n" --no-colour --seed 5 play --list ${words})
expect_contains("${out}" "Throw back your whole rack, ABDOPSU? (y/n)\nThe move was not made.\nYour rack: ABDOPSU")
expect_contains("${out}" "Throw back your whole rack, ABDOPSU? (y/n)\nChallenger played:\nP1: (Exchange all)     0 pts\n")
run_cli_with_input(0 out "exchange Q\n" --no-colour --seed 5 play --list ${words})
expect_contains("${out}" "You cannot exchange Q: your rack is ABDOPSU.")

# Multi-letter tiles go in parentheses: a Spanish game (seed 15 deals
# D, RR, O, R, S, LL and Z) with a small Spanish list.
file(WRITE "${dir}/spanish.lst" "abo2an\nabolaga\naboga\nacervado\nde\nda\nos\nso\nzo\n")
run_cli_with_input(0 out "exchange ll\nexchange (LL)(rr)\nwell\n" --no-colour --seed 15 play --type "Scrabble(R) - Spanish"
           --list ${dir}/spanish.lst)
expect_contains("${out}" "Your rack: D(RR)ORS(LL)Z  (type")
expect_contains("${out}" "Tiles: 1 = CH, 2 = LL, 3 = RR; a lower case letter is a blank.")
# Without parentheses ll is two L tiles, which the rack does not hold.
expect_contains("${out}" "You cannot exchange ll: your rack is D(RR)ORS(LL)Z.")
expect_contains("${out}" "Challenger played:\nP1: (Exchanged 2)      0 pts\n")
# The LL and RR went back to the bag: the user sees them among the unseen
# tiles, and kept the rest.
expect_regex("${out}" "Tiles not yet seen:\n(.*\n)*RR \n(.*\n)*LL \n")
expect_regex("${out}" "\\(Exchanged 2\\)[^\n]*\n(.*\n)*Your rack: [A-Z?]*D[A-Z?]*O[A-Z?]*R[A-Z?]*S[A-Z?]*Z")
# Catalan: L·L typed in UTF-8 (seed 23 deals A, A, R, V, L·L, Z and a blank).
file(WRITE "${dir}/catalan.lst" "abarrocarem\nemmagrix\nprimmirat\nva\nza\n")
run_cli_with_input(0 out "exchange (l·l)v\n" --no-colour --seed 23 play --type "Scrabble(R) - Catalan" --list ${dir}/catalan.lst)
expect_contains("${out}" "Your rack: AARV(L·L)Z?  (type")
expect_contains("${out}" "Challenger played:\nP1: (Exchanged 2)      0 pts\n")
expect_contains("${out}" "Tiles: K = Ç, Q = QU, W = L·L, Y = NY; a lower case letter is a blank.")

# ---- opening a file over a game in progress ----
run_cli_with_input(0 out "8D BAPUS\nsave-position ${dir}/two.pexil\nsave-game ${dir}/two.gcg\n" --no-colour --seed 5 play
           --list ${words})
# Moves not saved: the question of quit, and "no" keeps the game.
run_cli_with_input(0 out "8D BAPUS\nopen-position ${dir}/two.pexil\nn\nboard\nopen-game ${dir}/two.gcg\nno\n" --no-colour
           --seed 5 play --list ${words})
expect_contains("${out}" "Are you sure that you want to abandon the current game? (y/n)\nNothing was opened: the game goes on.\n")
string(REGEX MATCHALL "Nothing was opened" refused "${out}")
list(LENGTH refused refused_count)
if(NOT refused_count EQUAL 2)
  message(FATAL_ERROR "open-position and open-game did not both ask:\n${out}")
endif()
expect_absent("${out}" "The game is ready.")
# "yes" opens; nothing to lose (no move yet, or all saved) opens at once.
run_cli_with_input(0 out "8D BAPUS\nopen-game ${dir}/two.gcg\ny\n" --no-colour --seed 5 play --list ${words})
expect_contains("${out}" "abandon the current game? (y/n)\nThe game is ready.\n")
run_cli_with_input(0 out "open-game ${dir}/two.gcg\n" --no-colour --seed 6 play --list ${words})
expect_contains("${out}" "(type a move like 8D WORD, or help)\nThe game is ready.\n")
run_cli_with_input(0 out "8D BAPUS\nsave-game ${dir}/saved.gcg\nopen-position ${dir}/two.pexil\n" --no-colour --seed 5 play
           --list ${words})
expect_contains("${out}" "Game saved as \"${dir}/saved.gcg\".\nYour rack: ")
expect_contains("${out}" "(type a move like 8D WORD, or help)\nThe game is ready.\n")
# quit after saving has nothing to ask either.
run_cli_with_input(0 out "8D BAPUS\nsave-game ${dir}/quit.gcg\nquit\n" --no-colour --seed 5 play --list ${words})
expect_absent("${out}" "abandon")
expect_absent("${out}" "End of input")

# ---- the computer keeps its seat after open-game ----
# The record's second seat is the computer's: after taking a move back,
# the computer still plays its own strategy under its own name.
run_cli_with_input(0 out "open-game ${dir}/two.gcg\nundo\n8H BAPUS\ny\n" --no-colour --seed 6 play --list ${words})
expect_contains("${out}" "(Undo last)")
expect_regex("${out}" "Challenger played:\nP1: BAPUS            8H  20 pts\nPexil 0.1.8 played:\nP2: ")
expect_absent("${out}" "Unknown strategy")
expect_absent("${out}" "Pexil_0.1.8")
# With Pexil in the first seat, the record's first player is Pexil now.
run_cli_with_input(0 out "open-game ${dir}/two.gcg\ny\n" --no-colour --seed 6 play --list ${words} --first pexil)
expect_regex("${out}" "The game is ready.\nPexil 0.1.8 played:\nP1: [^\n]+\n(.*\n)*P1 Pexil 0.1.8: [0-9]+\nP2 Challenger: 22   <- to move\n")
expect_absent("${out}" "Unknown strategy")

# ---- the first-player line names who moves first ----
run_cli_with_input(0 out "save-position ${dir}/second.pexil\n" --no-colour --seed 5 play --list ${words} --first pexil --name Ann)
run_cli_with_input(0 out "" --no-colour play --open ${dir}/second.pexil --list ${words} --first pexil)
expect_contains("${out}" "Ann (P2) against Pexil 0.1.8 (P1); Ann moves first.")
run_cli_with_input(0 out "" --no-colour play --open ${dir}/second.pexil --list ${words})
expect_contains("${out}" "Challenger (P1) against Pexil 0.1.8 (P2); Pexil 0.1.8 moves first.\n")

# ---- help names the commands as they are ----
run_cli_with_input(0 out "help\n" --no-colour --seed 5 play --list ${words})
expect_contains("${out}" "  exchange TILES (or -TILES) throws TILES back; keep TILES keeps them and\n")
expect_contains("${out}" "well [--concise]")

# ---- typed text: strict UTF-8, as in every other command ----
# A line that is not UTF-8 is reported and ignored; the game goes on.
string(ASCII 233 latin1_e)
run_cli_with_input(0 out "8D BAPUS${latin1_e}\n8D BAPUS\n" --no-colour --seed 5 play --list ${words})
expect_contains("${out}" "is not UTF-8 text: byte 9 is 0xE9.")
expect_contains("${out}" "Your rack: ABDOPSU  (type a move like 8D WORD, or help)\n\"8D BAPUS")
expect_contains("${out}" "P1: BAPUS            8D  24 pts")
run_cli_with_input(2 out "" --no-colour --seed 5 play --list ${words} --name "Ann${latin1_e}")
expect_contains("${out}" "is not UTF-8 text")
# File names keep the bytes typed: a UTF-8 name is saved and opened as such.
set(utf8_record "${dir}/partida-año.gcg")
run_cli_with_input(0 out "8D BAPUS\nsave-game ${utf8_record}\nopen-game ${utf8_record}\n" --no-colour --seed 5 play --list ${words})
if(NOT EXISTS "${utf8_record}")
  message(FATAL_ERROR "save-game did not write ${utf8_record}:\n${out}")
endif()
expect_contains("${out}" "The game is ready.")

# ---- play takes two-player games only ----
# A position of three players is refused, at the start and during a game;
# during a game the game in progress goes on as it was.
run_cli_with_input(0 out "8D BAPUS\nsave-position ${dir}/two.pexil\n" --no-colour --seed 5 play --list ${words})
file(READ "${dir}/two.pexil" two)
string(REPLACE "nplayers\t2" "nplayers\t3" three "${two}")
string(REPLACE "board\n" "score\t2\t5\nrack\t2\tAEIOU\npname\t2\tThird\nboard\n" three "${three}")
file(WRITE "${dir}/three.pexil" "${three}")
run_cli_with_input(1 out "" --no-colour --seed 5 play --list ${words} --open ${dir}/three.pexil)
expect_contains("${out}" "three.pexil\" holds a game of 3 players: play takes two-player games only.")
run_cli_with_input(0 out "8D BAPUS\nopen-position ${dir}/three.pexil\ny\nhistory\n" --no-colour --seed 5 play --list ${words})
expect_contains("${out}" "holds a game of 3 players: play takes two-player games only.\nNothing was opened: the game goes on.")
expect_absent("${out}" "Third")
expect_contains("${out}" "Game history: \nP1: --------- BAPUS            8D  24 pts\nP2: --------- HOE              9G  22 pts\n")
