# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (the
# "posix" variant: std::thread and std::mutex need its winpthreads).
#   cmake -S . -B build-windows --toolchain cmake/toolchains/mingw-w64-x86_64.cmake \
#         -DTAVO_GUI=OFF
# scripts/build-windows.sh does that and runs the tests under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

# Libraries and headers from the MinGW tree only; programs (cmake, wine)
# from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A Qt built for MinGW (scripts/build-windows-qt.sh) lives outside the MinGW
# tree: its prefix is searched for packages too, as a root of its own.
#   -DTAVO_QT_PREFIX=~/.cache/tavo/qt6-mingw-6.4.2
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVO_QT_PREFIX)
if(TAVO_QT_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${TAVO_QT_PREFIX})
  list(APPEND CMAKE_PREFIX_PATH ${TAVO_QT_PREFIX})
  set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
endif()
