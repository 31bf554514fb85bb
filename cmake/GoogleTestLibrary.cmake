# GoogleTest for the tests: the system's library in a native build; in a
# cross build (the system's library is for Linux) built from Debian's
# googletest sources with the cross compiler.
if(CMAKE_CROSSCOMPILING)
  set(TAVO_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources, built by a cross build")
  if(NOT EXISTS ${TAVO_GTEST_SOURCE_DIR}/googletest/CMakeLists.txt)
    message(FATAL_ERROR "A cross build needs the GoogleTest sources in ${TAVO_GTEST_SOURCE_DIR} "
                        "(Debian package googletest), or -DTAVO_GTEST_SOURCE_DIR=DIR")
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TAVO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
