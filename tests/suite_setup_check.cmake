# SPDX-License-Identifier: MIT
# Runs the probe whose suite set-up fails: it must end in failure, report
# its test as failed and report nothing as skipped.
execute_process(COMMAND ${EMULATOR} ${PROBE} RESULT_VARIABLE status OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(status EQUAL 0)
  message(FATAL_ERROR "the probe passed:\n${output}")
endif()
if(output MATCHES "\\[  SKIPPED \\]")
  message(FATAL_ERROR "the probe's test was skipped:\n${output}")
endif()
if(NOT output MATCHES "\\[  FAILED  \\] FailingSetUp.WouldPass")
  message(FATAL_ERROR "the probe's test did not fail:\n${output}")
endif()
