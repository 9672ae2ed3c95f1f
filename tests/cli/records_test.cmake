# End-to-end checks of game records and of the files pexil-cli writes:
# a write that fails leaves the old file whole.
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)

set(words ${DATA}/movegen/words.lst)
set(samples ${DATA}/gcg-samples)
set(work "${CMAKE_CURRENT_BINARY_DIR}/records_test_files")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")

function(records_expect_absent text needle)
  string(FIND "${text}" "${needle}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "did not expect [${needle}] in:\n${text}")
  endif()
endfunction()

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

function(records_run_input expected_code out_var input)
  file(WRITE "${work}/stdin.txt" "${input}")
  execute_process(COMMAND ${CLI} --no-colour ${ARGN} INPUT_FILE "${work}/stdin.txt"
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL expected_code)
    message(FATAL_ERROR "pexil-cli ${ARGN} < [${input}]: exit ${code}, expected ${expected_code}\n${out}${err}")
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

