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
