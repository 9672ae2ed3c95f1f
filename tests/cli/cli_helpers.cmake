# The helpers of the end-to-end checks: run pexil-cli, look in its output.

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
