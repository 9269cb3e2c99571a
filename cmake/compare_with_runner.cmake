# Runs the inspection example and quorvex-run on the same image; their four result lines
# must be the same. EXAMPLE: the example's command line; RUNNER: quorvex-run; SOURCE: the tree.
set(image "${SOURCE}/examples/inspection/parts.png")
execute_process(COMMAND ${EXAMPLE} "${image}" "${SOURCE}/examples/inspection" RESULT_VARIABLE example_status
                OUTPUT_VARIABLE example_output ERROR_VARIABLE example_errors)
execute_process(COMMAND "${RUNNER}" --procedure inspect_parts --path "${SOURCE}/examples/inspection"
                        --in "ImagePath=${image}" --in MinGray=128 --in MaxGray=255
                RESULT_VARIABLE runner_status OUTPUT_VARIABLE runner_output)
message("example:\n${example_output}${example_errors}runner:\n${runner_output}")
if(NOT example_status EQUAL 0 OR NOT runner_status EQUAL 0)
  message(FATAL_ERROR "exit status: example ${example_status}, runner ${runner_status}")
endif()
if(NOT example_output STREQUAL runner_output)
  message(FATAL_ERROR "the example's output differs from the runner's")
endif()
