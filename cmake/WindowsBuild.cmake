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
# With Qt, the programs share Qt's runtime: the compiler's libraries are
# DLLs beside them. Where Qt's and the compiler's DLLs are found.
set(TAVO_WINDOWS_DLL_DIRS "")
if(MINGW AND TAVO_GUI)
  get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
  if(NOT qt_core_dll)
    get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION)
  endif()
  get_filename_component(qt_bin_dir "${qt_core_dll}" DIRECTORY)
  list(APPEND TAVO_WINDOWS_DLL_DIRS "${qt_bin_dir}")
  foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}")
      # Debian keeps winpthread's DLL in the MinGW tree, not with the compiler.
      string(MAKE_C_IDENTIFIER "TAVO_${runtime}" cache_name)
      find_file(${cache_name} ${runtime} PATHS /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
      set(found "${${cache_name}}")
    endif()
    if(NOT EXISTS "${found}")
      if(CMAKE_CROSSCOMPILING)
        message(FATAL_ERROR "The MinGW runtime library ${runtime} was not found")
      endif()
      continue()  # on Windows itself the compiler's folder is on the PATH
    endif()
    get_filename_component(dir "${found}" DIRECTORY)
    list(APPEND TAVO_WINDOWS_DLL_DIRS "${dir}")
  endforeach()
  list(REMOVE_DUPLICATES TAVO_WINDOWS_DLL_DIRS)
  # The fonts Qt's offscreen platform draws with in the tests under Wine.
  set(TAVO_OFFSCREEN_FONT_DIR "Z:/usr/share/fonts/truetype/dejavu" CACHE STRING
      "The font folder of Qt's offscreen platform for the GUI tests under Wine")
endif()

if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(TAVO_WINE wine)
  if(NOT TAVO_WINE)
    message(FATAL_ERROR "The Windows cross build runs its sample generator and tests under Wine: install wine")
  endif()
  set(TAVO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix CACHE PATH "The Wine prefix the cross build's programs run in")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${TAVO_WINE_PREFIX})
  if(TAVO_GUI)
    # The programs load Qt's libraries and the compiler's runtime: Wine finds
    # them where they were built, as Windows would beside the program.
    list(JOIN TAVO_WINDOWS_DLL_DIRS ":" dll_dirs)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${TAVO_WINE_PREFIX} --dll-dirs ${dll_dirs})
    # The same line for scripts that run the programs by hand (scripts/look-windows.sh).
    file(WRITE ${CMAKE_BINARY_DIR}/wine-run-line "${PROJECT_SOURCE_DIR}/cmake/wine-run.sh\n${TAVO_WINE_PREFIX}\n--dll-dirs\n${dll_dirs}\n")
  endif()
endif()
