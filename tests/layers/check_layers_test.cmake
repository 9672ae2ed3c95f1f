# scripts/check-layers on the engine as it is (in order) and on copies with
# an include against the layer order, an include of a folder that is not a
# layer and a folder that is not listed: each named with its file and line.
# Run with -DPYTHON=... -DSOURCE=<source tree> -DWORK=<scratch folder>.
set(checker ${SOURCE}/scripts/check-layers)

function(check_layers root expected_result output_var)
  execute_process(COMMAND ${PYTHON} ${checker} --root ${root}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL expected_result)
    message(FATAL_ERROR "check-layers on ${root} gave ${result}, not ${expected_result}:\n${output}")
  endif()
  set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

function(expect_in output text)
  string(FIND "${output}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "Expected \"${text}\" in:\n${output}")
  endif()
endfunction()

# A fresh copy of the engine's sources.
function(fresh_copy folder)
  file(REMOVE_RECURSE ${folder})
  file(MAKE_DIRECTORY ${folder})
  file(COPY ${SOURCE}/engine/ DESTINATION ${folder})
endfunction()

# The engine as it is.
check_layers(${SOURCE}/engine 0 output)
expect_in("${output}" "all in layer order")

# Includes of the own layer and of lower ones are fine.
set(copy ${WORK}/layers_engine)
fresh_copy(${copy})
file(APPEND ${copy}/movegen/move_line.cpp "#include \"movegen/generator.hpp\"\n#include \"text/messages.hpp\"\n")
check_layers(${copy} 0 output)

# The word lists reaching up into the tables: a header of lexicon/ whose
# third line includes one of tables/.
fresh_copy(${copy})
file(WRITE ${copy}/lexicon/upward.hpp "#pragma once\n\n#include \"tables/rack_tables.hpp\"\n")
check_layers(${copy} 1 output)
expect_in("${output}"
  "layers_engine/lexicon/upward.hpp:3: #include \"tables/rack_tables.hpp\" -- lexicon/ must not include tables/, a higher layer")
expect_in("${output}" "1 include(s) against the layer order")

# A folder that is not a layer, included and holding sources.
fresh_copy(${copy})
file(APPEND ${copy}/rules/board.cpp "#include \"gui/window.hpp\"\n")
file(WRITE ${copy}/gui/window.hpp "#pragma once\n")
check_layers(${copy} 1 output)
expect_in("${output}" "names folder gui/, which is not listed in layers.txt")
expect_in("${output}" "layers_engine/gui/window.hpp: folder gui/ is not listed in layers.txt")

file(REMOVE_RECURSE ${copy})
