# The helpers of the end-to-end checks: run pexil-cli, look in its output.

function(run_cli expected_code out_var)
  execute_process(COMMAND ${CLI} --no-colour ${ARGN}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL expected_code)
    message(FATAL_ERROR "pexil-cli ${ARGN}: exit ${code}, expected ${expected_code}\n${out}${err}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

# pexil-cli with `input` on standard input and exactly the options given
# (the caller chooses --colour, --no-colour or --latin1). The input goes
# through the file named by `cli_stdin`, which each script sets to a file
# of its own folder (scripts run side by side).
function(run_cli_with_input expected_code out_var input)
  if(NOT cli_stdin)
    message(FATAL_ERROR "set cli_stdin to a file of the script's own folder")
  endif()
  file(WRITE "${cli_stdin}" "${input}")
  execute_process(COMMAND ${CLI} ${ARGN} INPUT_FILE "${cli_stdin}"
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL expected_code)
    message(FATAL_ERROR "pexil-cli ${ARGN} < [${input}]: exit ${code}, expected ${expected_code}\n${out}${err}")
  endif()
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

# The same without colour, as run_cli.
function(run_cli_input expected_code out_var input)
  run_cli_with_input(${expected_code} out "${input}" --no-colour ${ARGN})
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

function(expect_contains text needle)
  string(FIND "${text}" "${needle}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected to find [${needle}] in:\n${text}")
  endif()
endfunction()

function(expect_absent text needle)
  string(FIND "${text}" "${needle}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "did not expect [${needle}] in:\n${text}")
  endif()
endfunction()

function(expect_regex text regex)
  if(NOT "${text}" MATCHES "${regex}")
    message(FATAL_ERROR "expected a match for [${regex}] in:\n${text}")
  endif()
endfunction()
