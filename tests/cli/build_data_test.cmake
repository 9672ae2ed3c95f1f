# End to end: pexil-cli build-data on the small fixture list (shard
# processes started by the program itself, merging, finishing, resuming),
# the merge and finish commands on their own, and the paired strength test
# of autoplay.
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)

set(words ${DATA}/movegen/words.lst)
set(work "${CMAKE_CURRENT_BINARY_DIR}/build_data_test")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")

# The whole run: two generations, two shard processes, a few games of
# three and four players.
run_cli(0 out --seed 3 build-data --list ${words} --games 6 --generations 2 --games3 2 --games4 2 --jobs 2
        --generic --out ${work}/tables)
expect_contains("${out}" "generation 2 of 2: 6 of 6 games")
expect_contains("${out}" "Leaves: 914624 written")
# (Six games give no win table: a cell needs 50 games within +-10 points.)
foreach(file words.rack.partial words.rack words.bb boardsim.scr)
  if(NOT EXISTS "${work}/tables/${file}")
    message(FATAL_ERROR "build-data wrote no ${file}:\n${out}")
  endif()
endforeach()
file(READ "${work}/tables/words.rack.partial" first_leaves)

# The same command again finds every stage played and writes the same files.
run_cli(0 out --seed 3 build-data --list ${words} --games 6 --generations 2 --games3 2 --games4 2 --jobs 2
        --generic --out ${work}/tables)
expect_contains("${out}" "already played")
file(READ "${work}/tables/words.rack.partial" second_leaves)
if(NOT first_leaves STREQUAL second_leaves)
  message(FATAL_ERROR "a resumed build-data wrote other leave values")
endif()
# Other settings do not take the stages of this run for theirs.
run_cli(1 out --seed 4 build-data --list ${words} --games 6 --generations 2 --jobs 2 --out ${work}/tables)
expect_contains("${out}" "another run")

# One process for everything gives the same counts as two.
run_cli(0 out --seed 3 build-data --list ${words} --games 6 --generations 2 --games3 2 --games4 2 --jobs 1
        --generic --out ${work}/single)
file(READ "${work}/single/words.rack.partial" single_leaves)
if(NOT first_leaves STREQUAL single_leaves)
  message(FATAL_ERROR "one shard and two shards gave other leave values")
endif()

# The pieces by hand: a shard, merge, finish.
run_cli(0 out --seed 3 build-data shard --list ${words} --generation 0 --shard 1 --shards 2 --games 4
        --out ${work}/pieces)
expect_contains("${out}" "Shard 1 of 2, generation 0: 2 games of 4")
run_cli(0 out --seed 3 build-data shard --list ${words} --generation 0 --shard 0 --shards 2 --games 4
        --out ${work}/pieces)
run_cli(0 out build-data merge --out ${work}/pieces/all.counts
        ${work}/pieces/words-g0-p2-s0of2.counts ${work}/pieces/words-g0-p2-s1of2.counts)
expect_contains("${out}" "4 two-player games")
run_cli(0 out build-data finish --list ${words} --counts ${work}/pieces/all.counts --out ${work}/pieces/tables)
expect_contains("${out}" "Single tiles:")
if(NOT EXISTS "${work}/pieces/tables/words.rack.partial" OR EXISTS "${work}/pieces/tables/boardsim.scr")
  message(FATAL_ERROR "finish without --generic wrote the wrong files")
endif()

# Mistakes.
file(WRITE "${work}/junk.counts" "no counts here\n")
run_cli(1 out build-data merge --out ${work}/x.counts ${work}/junk.counts)
run_cli(1 out build-data merge --out ${work}/x.counts ${work}/missing.counts)
run_cli(2 out build-data merge ${work}/pieces/all.counts)
run_cli(2 out build-data shard --list ${words} --shard 2 --shards 2 --out ${work}/pieces)
run_cli(2 out build-data --list ${words} --games 0)
run_cli(2 out build-data sideways --list ${words})
run_cli(2 out build-data finish --list ${words} --out ${work}/x)

# A strength test in pairs: the first strategy's results with standard
# errors; the seat without leave values keeps its flag when seats swap.
run_cli(0 out --seed 5 autoplay --list ${words} --strategies 2,2 --no-leaves 2 --pairs 2 --summary)
expect_contains("${out}" "Game 4:")
expect_contains("${out}" "2 pairs (4 games, the same tiles with the seats swapped), seed 5:")
expect_contains("${out}" "strategy 2 against strategy 2 without leave values:")
expect_contains("${out}" "win rate ")
run_cli(0 again --seed 5 autoplay --list ${words} --strategies 2,2 --no-leaves 2 --pairs 2 --summary)
# The same games, only the time they took may differ.
string(REGEX REPLACE "Time per game: [^\n]*" "" out "${out}")
string(REGEX REPLACE "Time per game: [^\n]*" "" again "${again}")
if(NOT out STREQUAL again)
  message(FATAL_ERROR "paired games with the same seed differed:\n${out}\n${again}")
endif()
run_cli(2 out autoplay --list ${words} --players 3 --pairs 2)
run_cli(2 out autoplay --list ${words} --no-leaves 3)
# The fast lookahead and the timed move play whole games; each game's time.
run_cli(0 out --seed 7 autoplay --list ${words} --strategies 26,2 --games 1 --summary)
expect_regex("${out}" "P1 \\(strategy 26\\): [01] wins")
run_cli(0 out --seed 7 autoplay --list ${words} --strategies 54,39 --pairs 1 --summary --time 1)
expect_regex("${out}" "strategy 54 against strategy 39: [0-2] wins")
expect_regex("${out}" "Time per game: [0-9.]+ s on average")
run_cli(2 out autoplay --list ${words} --time 0)
run_cli(0 out --seed 7 autoplay --list ${words} --games 2 --summary --word-usage ${work}/usage.txt)
file(READ "${work}/usage.txt" usage)
expect_regex("${usage}" "^[0-9]+\t[A-Za-z]+\n")
