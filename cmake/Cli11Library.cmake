# CLI11, the argument parser of tavo-cli: header-only, from Debian's
# libcli11-dev. A cross build takes the same headers (they are plain C++)
# from the build machine, copied beside the build so that nothing else of
# the build machine's /usr/include reaches the cross compiler.
if(CMAKE_CROSSCOMPILING)
  set(TAVO_CLI11_HEADERS /usr/include/CLI CACHE PATH "CLI11's headers, used by a cross build")
  if(NOT EXISTS ${TAVO_CLI11_HEADERS}/CLI.hpp)
    message(FATAL_ERROR "A cross build needs CLI11's headers in ${TAVO_CLI11_HEADERS} "
                        "(Debian package libcli11-dev), or -DTAVO_CLI11_HEADERS=DIR")
  endif()
  file(COPY ${TAVO_CLI11_HEADERS}/ DESTINATION ${CMAKE_BINARY_DIR}/cli11/CLI)
  add_library(tavo_cli11 INTERFACE)
  target_include_directories(tavo_cli11 SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/cli11)
  add_library(CLI11::CLI11 ALIAS tavo_cli11)
else()
  find_package(CLI11 CONFIG REQUIRED)
endif()
