# End-to-end checks of the rack guess: infer on the moves of a game record
# and on a position file, simulate --known-tiles, and infer and known
# inside play.
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)

set(work "${CMAKE_CURRENT_BINARY_DIR}/inference_test")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
set(cli_stdin "${work}/stdin.txt")
set(words ${DATA}/movegen/words.lst)

# A seeded self-play game to guess from.
run_cli(0 out --seed 7 autoplay --games 1 --summary --list ${words} --gcg-dir ${work}/records)
file(GLOB records "${work}/records/*.gcg")
list(LENGTH records count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "autoplay wrote ${count} records")
endif()
list(GET records 0 record)

# Before any move: the first turn.
run_cli(0 out infer --open ${record} --move 0 --list ${words})
expect_contains("${out}" "Can't guess leave distribution -- first turn of game!")
expect_absent("${out}" "possible racks")

# The first move that kept one to three tiles: every leave it may have kept
# is tested; the racks and the letters' likelihoods follow.
set(found 0)
foreach(move RANGE 1 30)
  run_cli(0 out infer --open ${record} --move ${move} --list ${words} --threads 2 --top 3)
  if(out MATCHES "Constructing rack distribution guess \\(known played '[A-Z?]+'\\)")
    set(found ${move})
    break()
  endif()
  expect_regex("${out}" "(No tile guess\\.|Can't guess leave distribution -- last move was a bingo!|known opponent pass)")
endforeach()
if(found EQUAL 0)
  message(FATAL_ERROR "no move of the record kept one to three tiles")
endif()
expect_regex("${out}" "\n[0-9]+ possible racks \\([0-9]+ distinct\\), the likeliest first:\n  [A-Z?]+ +[0-9]+\\.[0-9]%\n")
expect_contains("${out}" "Most likely to least likely: ")
expect_regex("${out}" "(More|Less) likely than chance: [A-Z?]+ ?\n")
# One worker lists the same racks as two.
run_cli(0 out1 infer --open ${record} --move ${found} --list ${words} --threads 1 --top 100000)
run_cli(0 out2 infer --open ${record} --move ${found} --list ${words} --threads 2 --top 100000)
string(REGEX MATCHALL "\n  [A-Z?]+ +[0-9.]+%" racks1 "${out1}")
string(REGEX MATCHALL "\n  [A-Z?]+ +[0-9.]+%" racks2 "${out2}")
list(SORT racks1)
list(SORT racks2)
if(NOT racks1 STREQUAL racks2)
  message(FATAL_ERROR "one worker and two list different racks:\n${out1}\n----\n${out2}")
endif()

# A position file has no record of its last move.
run_cli(0 out save-position ${work}/pos.pexil --open ${record} --move ${found} --list ${words})
run_cli(0 out infer --open ${work}/pos.pexil --list ${words})
expect_contains("${out}" "No tile guess.")
run_cli(2 out infer --list ${words})
expect_contains("${out}" "infer --open POSITION/RECORD")
run_cli(2 out infer --open ${record} --threads 0 --list ${words})

# simulate --known-tiles: those tiles on the previous player's rack.
run_cli(0 out simulate --open ${record} --move ${found} --list ${words} --ply 1 --threads 2 --known-tiles qz --top 3)
expect_contains("${out}" "Using known tiles QZ in simulation.")
expect_regex("${out}" "Simulation done: [0-9]+\\.[0-9][0-9] seconds")
run_cli(1 out simulate --open ${record} --move ${found} --list ${words} --known-tiles "Q1")
run_cli(1 out simulate --open ${record} --move ${found} --list ${words} --known-tiles "QQQQQQQ?")
run_cli(2 out simulate --open ${record} --move ${found} --list ${words} --engine single --known-tiles Q)
expect_contains("${out}" "--known-tiles")

# Inside play: infer guesses Pexil's rack from its first move; known tiles
# are used by sim and forgotten with "known" alone.
run_cli_input(0 out "infer\nknown ZQ\nsim 0\nknown\nsim 0\nknown 1\nquit\ny\n" play --list ${words} --first pexil --seed 2)
expect_regex("${out}" "(Constructing rack distribution guess|Can't guess leave distribution -- last move was a bingo!|No tile guess\\.)")
expect_regex("${out}" "Known tiles QZ on Pexil[^']*'s rack")
expect_contains("${out}" "Using known tiles QZ in simulation.")
expect_contains("${out}" "No known tiles.")
string(REGEX MATCHALL "Using known tiles" used "${out}")
list(LENGTH used times)
if(NOT times EQUAL 1)
  message(FATAL_ERROR "known tiles used ${times} times:\n${out}")
endif()
run_cli_input(0 out "help\nquit\ny\n" play --list ${words} --seed 2)
expect_contains("${out}" "infer: guess Pexil's rack")

# Spanish tiles typed in their written forms, with the shipped list.
get_filename_component(rundir ${CLI} DIRECTORY)
if(EXISTS ${rundir}/SPANISH.LST)
  string(REPEAT "...............\n" 15 empty_board)
  file(WRITE "${work}/empty.txt" "${empty_board}")
  run_cli(0 out simulate --type "Scrabble(R) - Spanish" --board ${work}/empty.txt --rack "1AO2E3S" --ply 0 --top 1
          --known-tiles "(rr)ñ")
  expect_contains("${out}" "Using known tiles (RR)Ñ in simulation.")
endif()
