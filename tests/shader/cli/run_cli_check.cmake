# Runs veltrace-cli and checks its exit code and output.
#   -DPROGRAM=path -DARGUMENTS=a|b|c -DEXPECT_EXIT=n -DEXPECT_OUTPUT=regex
string(REPLACE "|" ";" arguments "${ARGUMENTS}")
execute_process(COMMAND ${PROGRAM} ${arguments} RESULT_VARIABLE exitCode OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT exitCode EQUAL EXPECT_EXIT)
  message(FATAL_ERROR "exit code ${exitCode}, expected ${EXPECT_EXIT}\n${out}${err}")
endif()
if(NOT "${out}${err}" MATCHES "${EXPECT_OUTPUT}")
  message(FATAL_ERROR "output does not match '${EXPECT_OUTPUT}':\n${out}${err}")
endif()
