# End-to-end checks of the stored options: pexil-cli settings shows, checks
# and sets them; play and the UI language start from them; the command
# line wins over them.
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)

set(work "${CMAKE_CURRENT_BINARY_DIR}/settings_test")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
set(cli_stdin "${work}/stdin.txt")
set(store "${work}/config/pexil.conf")
set(ENV{PEXIL_SETTINGS} "${store}")

# ---- an empty store: every default, nothing written ----
run_cli(0 out settings)
expect_contains("${out}" "Settings (${store}):")
expect_regex("${out}" "\nTileValue +1\n")
expect_regex("${out}" "\nDefaultTime +150000\n")
expect_regex("${out}" "\nCustomTileBg +16777215\n")
expect_regex("${out}" "\nThreads +[1-9][0-9]*\n")
run_cli(0 out settings ChallengeType)
expect_contains("${out}" "2\n")
if(EXISTS "${store}")
  message(FATAL_ERROR "showing the settings wrote ${store}")
endif()

# ---- bad keys and values change nothing ----
run_cli(2 out settings NoSuchKey)
expect_contains("${out}" "Unknown setting: NoSuchKey")
run_cli(2 out settings Beep 2)
expect_contains("${out}" "Invalid value for Beep: 2")
run_cli(2 out settings Mood lots)
expect_contains("${out}" "Invalid value for Mood: lots")
run_cli(2 out settings Mood 1 2)
if(EXISTS "${store}")
  message(FATAL_ERROR "a rejected value wrote ${store}")
endif()

# ---- a change writes every key; a UTF-8 name with a digraph round-trips ----
run_cli(0 out settings PlayerName "Núria Col·lecció")
expect_contains("${out}" "PlayerName is now Núria Col·lecció.")
file(READ "${store}" stored)
expect_contains("${stored}" "[Options]")
expect_contains("${stored}" "PlayerName=Núria Col·lecció")
expect_contains("${stored}" "AnalysisEnabled=0")
expect_absent("${stored}" "BenchmarkData")
run_cli(0 out settings PlayerName)
expect_contains("${out}" "Núria Col·lecció\n")

# ---- play starts from the stored name and challenge rule ----
run_cli(0 out settings ChallengeType 4)
run_cli_input(0 out "quit\ny\n" play --list ${DATA}/movegen/words.lst --seed 3)
expect_contains("${out}" "Núria Col·lecció (P1) against")
# --name wins over the stored name.
run_cli_input(0 out "quit\ny\n" play --list ${DATA}/movegen/words.lst --seed 3 --name Ann)
expect_contains("${out}" "Ann (P1) against")

# ---- the stored UI language, and --ui-lang over it ----
set(words ${DATA}/movegen/words.lst)
run_cli(0 out settings UILang 1)
run_cli(0 out check CAT --list ${words})
expect_contains("${out}" "Eadingray ordway istlay")
run_cli(0 out check CAT --list ${words} --ui-lang 0)
expect_contains("${out}" "Reading word list")
run_cli(0 out settings UILang 2)
run_cli(0 out check CAT --list ${words})
expect_contains("${out}" "llista de mots")
# A stored language the program does not know prints English.
run_cli(0 out settings UILang 7)
run_cli(0 out check CAT --list ${words})
expect_contains("${out}" "Reading word list")
run_cli(0 out settings UILang 0 --ui-lang 1)
run_cli(0 out settings UILang)
expect_contains("${out}" "0\n")

# ---- a store that cannot be read: said as such, the defaults used ----
set(ENV{PEXIL_SETTINGS} "${work}/config")  # a folder, not a file
run_cli(0 out settings ChallengeType)
expect_regex("${out}" "The settings could not be read, so the[ \n]+defaults are used:")
# (the pane wraps long lines)
expect_regex("${out}" "cannot[ \n]+read[ \n]")
expect_regex("${out}" ":[ \n]+not[ \n]+a[ \n]+file")
expect_contains("${out}" "2\n")
run_cli(1 out settings ChallengeType 3)
expect_contains("${out}" "The settings could not be saved:")
expect_regex("${out}" "cannot[ \n]+write")
