# End-to-end checks of the benchmark suite on the command line: nothing
# stored at first, a short run with every test stores the nine rates in the
# settings file, which bench results then reads; a run with a zero result
# leaves them as they were. Without the TWL06 files the first line says the
# default English list stands in.
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)

set(work "${CMAKE_CURRENT_BINARY_DIR}/bench_suite_test")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
set(store "${work}/pexil.conf")
set(ENV{PEXIL_SETTINGS} "${store}")

run_cli(0 out bench results)
expect_contains("${out}" "No benchmark data available.")

# Every test, tiny budgets, two processors: one thread per test.
run_cli(0 out bench suite --evaluations 20 --processors 2)
string(REGEX MATCH "^[^\n]*" first "${out}")
expect_contains("${first}" "TWL06 data not found")
expect_contains("${out}" "1 thread(s) per test")
expect_contains("${out}" "Starting test: late-game rack AIILSTW (bench15)")
expect_contains("${out}" "Benchmark tests have finished!")
expect_contains("${out}" "Avg. evals/thread-second for each test:")
file(READ "${store}" stored)
expect_contains("${stored}" "HasBenchmark=1")
expect_contains("${stored}" "BenchmarkData")

run_cli(0 out bench results)
expect_contains("${out}" "Avg. evals/thread-second for each test:")
expect_contains("${out}" "late game, both blanks seen:")

# A short run measures only the first kinds: nothing stored, nothing changed.
run_cli(0 out bench suite --tests 2 --evaluations 20 --processors 1)
expect_contains("${out}" "A result is 0, so the stored benchmark results are left as they were.")
file(READ "${store}" after)
if(NOT after STREQUAL stored)
  message(FATAL_ERROR "a run with a zero result changed ${store}")
endif()
