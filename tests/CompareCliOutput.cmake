# Runs tavo-cli of the cross build (under EMULATOR) and of the Linux build
# on the same sample calibration and fails unless they print the same bytes;
# then checks that both builds' sample generators made the same files.
#   cmake -DEMULATOR=... -DCROSS_CLI=... -DNATIVE_CLI=... -DCROSS_SAMPLE=DIR
#         -DNATIVE_SAMPLE=DIR -P CompareCliOutput.cmake
foreach(program IN ITEMS "${CROSS_CLI}" "${NATIVE_CLI}")
  if(NOT EXISTS "${program}")
    message(FATAL_ERROR "No program ${program}")
  endif()
endforeach()

foreach(command IN ITEMS "info sample.bin --json" "tables sample.bin --json" "show sample.bin WOTTBL --json"
                         "info sample.bin" "scan sample.bin --json")
  separate_arguments(words UNIX_COMMAND "${command}")
  execute_process(COMMAND ${EMULATOR} "${CROSS_CLI}" ${words} WORKING_DIRECTORY "${CROSS_SAMPLE}"
                  OUTPUT_VARIABLE cross ERROR_VARIABLE cross_error RESULT_VARIABLE cross_status)
  execute_process(COMMAND "${NATIVE_CLI}" ${words} WORKING_DIRECTORY "${CROSS_SAMPLE}"
                  OUTPUT_VARIABLE native ERROR_VARIABLE native_error RESULT_VARIABLE native_status)
  if(NOT cross_status EQUAL 0 OR NOT native_status EQUAL 0)
    message(FATAL_ERROR "tavo-cli ${command}: exit ${cross_status} (cross) and ${native_status} (Linux)\n"
                        "${cross_error}${native_error}")
  endif()
  if(NOT cross STREQUAL native)
    message(FATAL_ERROR "tavo-cli ${command} differs.\nCross build:\n${cross}\nLinux build:\n${native}")
  endif()
  string(LENGTH "${cross}" length)
  message(STATUS "tavo-cli ${command}: the same ${length} bytes")
endforeach()

foreach(file IN ITEMS sample.bin sample.tbl sample-compare.bin sample-compare.tbl)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${CROSS_SAMPLE}/${file}" "${NATIVE_SAMPLE}/${file}"
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "The sample generators made different ${file}")
  endif()
endforeach()
message(STATUS "The sample calibrations are the same")
