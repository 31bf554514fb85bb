# The tests of a cross build, run under the build's emulator (Wine for the
# Windows build; CMake puts it before each program). Starting a Windows
# program under Wine costs a good part of a second, so the core tests run as
# two shards of one program each rather than one program per test. The
# tests of the line on a COM port run on their own, below.
set(shards 2)
math(EXPR last_shard "${shards} - 1")
foreach(shard RANGE ${last_shard})
  math(EXPR number "${shard} + 1")
  add_test(NAME tavo_core_tests.shard_${number}_of_${shards} COMMAND tavo_core_tests)
  set_tests_properties(tavo_core_tests.shard_${number}_of_${shards} PROPERTIES
    ENVIRONMENT "GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${shard};GTEST_FILTER=-WindowsSerialLineOnAComPort.*"
    TIMEOUT 600)
endforeach()

# tavo-cli.exe prints what the Linux build's tavo-cli prints, byte for byte,
# and the sample generator made the same files on both systems. Needs the
# Linux build folder to compare with.
set(TAVO_NATIVE_BUILD_DIR "" CACHE PATH "A Linux build of TaVO whose tavo-cli this build's output is compared with")
if(TAVO_NATIVE_BUILD_DIR)
  add_test(NAME CrossBuild.tavo_cli_prints_the_same_json_as_the_linux_build
    COMMAND ${CMAKE_COMMAND}
      "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
      -DCROSS_CLI=$<TARGET_FILE:tavo-cli>
      -DNATIVE_CLI=${TAVO_NATIVE_BUILD_DIR}/src/cli/tavo-cli
      -DCROSS_SAMPLE=${TAVO_SAMPLE_DIR}
      -DNATIVE_SAMPLE=${TAVO_NATIVE_BUILD_DIR}/sample
      -P ${CMAKE_CURRENT_SOURCE_DIR}/CompareCliOutput.cmake)
else()
  message(STATUS "No TAVO_NATIVE_BUILD_DIR: tavo-cli's output is not compared with a Linux build's")
endif()

# The serial line through Wine's COM ports, linked to the Linux build's
# simulated ECM: each test with a COM number of its own (Wine's own ports
# are the low ones), all above 9, so that only the \\.\COMn form reaches them.
set(simulator ${TAVO_NATIVE_BUILD_DIR}/tools/ecm-sim/tavo-ecm-sim)
if(TAVO_SERIAL_LINE AND TAVO_NATIVE_BUILD_DIR AND CMAKE_CROSSCOMPILING_EMULATOR)
  foreach(test IN ITEMS
      "ram;41;tavo-cli;tavo_cli_exe_reads_the_simulated_ecm_through_a_wine_com_port_as_tavo_cli_does"
      "log;42;tavo-cli;tavo_cli_exe_logs_the_simulated_ecm_through_a_wine_com_port_as_tavo_cli_does"
      "why;43;tavo-cli;tavo_cli_exe_says_why_62500_baud_or_an_unlinked_com_port_fails"
      "line;44;tavo_core_tests;the_windows_serial_line_on_a_wine_com_port")
    list(GET test 0 scenario)
    list(GET test 1 com)
    list(GET test 2 program)
    list(GET test 3 name)
    add_test(NAME CrossBuild.${name}
      COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/WineComPortTest.sh ${scenario} ${com} ${CMAKE_CROSSCOMPILING_EMULATOR}
              ${simulator} ${TAVO_NATIVE_BUILD_DIR}/src/cli/tavo-cli $<TARGET_FILE:${program}>)
    set_tests_properties(CrossBuild.${name} PROPERTIES TIMEOUT 120)
  endforeach()
endif()
