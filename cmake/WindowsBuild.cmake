# What every Windows build shares, native or cross: the Windows 10 API, the
# W (UTF-16) functions named explicitly, and -- in a MinGW build without Qt --
# a runtime linked in, so each .exe runs on its own.
#
# A cross build runs its programs (the sample generator at build time, the
# tests) under Wine, headless, in a Wine prefix of its own inside the build
# folder (cmake/wine-run.sh makes it on first use).
if(NOT WIN32)
  return()
endif()

add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 NOMINMAX WIN32_LEAN_AND_MEAN)
# The program icon (packaging/windows/tavo.rc) is compiled into the programs.
enable_language(RC)
set(TAVO_WINDOWS_RESOURCES ${PROJECT_SOURCE_DIR}/packaging/windows/tavo.rc)
if(MINGW AND NOT TAVO_GUI)
  add_link_options(-static)
endif()

if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(TAVO_WINE wine)
  if(NOT TAVO_WINE)
    message(FATAL_ERROR "The Windows cross build runs its sample generator and tests under Wine: install wine")
  endif()
  set(TAVO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix CACHE PATH "The Wine prefix the cross build's programs run in")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${TAVO_WINE_PREFIX})
endif()
