# Installing and packaging on Windows: one folder holding the programs, the
# Qt libraries and plugins tavo.exe loads with the compiler's runtime beside
# them, and the sample calibration; packed as a zip, and as an installer
# where NSIS is there (makensis).
#
#   cmake --install build-windows-gui --prefix /tmp/TaVO
#   cd build-windows-gui && cpack              (TaVO-0.1-win64.zip, TaVO-0.1-win64.exe)
#
# The cross build without Qt installs tavo-cli.exe alone (linked statically).

if(TAVO_GUI)
  # Which DLLs go beside the programs is read from the programs and the
  # platform plugin themselves (their import tables), so the list follows
  # what the build links. Only Qt's and the compiler's DLLs are taken: the
  # system's own (KERNEL32, USER32, ...) are Windows'.
  install(TARGETS tavo tavo-cli RUNTIME DESTINATION . RUNTIME_DEPENDENCY_SET tavo_runtime)
  install(IMPORTED_RUNTIME_ARTIFACTS Qt6::QWindowsIntegrationPlugin
          RUNTIME_DEPENDENCY_SET tavo_runtime LIBRARY DESTINATION platforms RUNTIME DESTINATION platforms)
  if(TARGET Qt6::QWindowsVistaStylePlugin)
    install(IMPORTED_RUNTIME_ARTIFACTS Qt6::QWindowsVistaStylePlugin
            RUNTIME_DEPENDENCY_SET tavo_runtime LIBRARY DESTINATION styles RUNTIME DESTINATION styles)
  endif()
  if(CMAKE_CROSSCOMPILING)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM "windows+pe")
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL "objdump")
    find_program(TAVO_MINGW_OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${TAVO_MINGW_OBJDUMP}")
  endif()
  install(RUNTIME_DEPENDENCY_SET tavo_runtime DESTINATION .
          PRE_INCLUDE_REGEXES "^[Qq]t6.*\\.dll$" "^lib.*\\.dll$"
          PRE_EXCLUDE_REGEXES ".*"
          DIRECTORIES ${TAVO_WINDOWS_DLL_DIRS})
else()
  install(TARGETS tavo-cli RUNTIME DESTINATION .)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)
install(FILES ${TAVO_SAMPLE_DIR}/sample.bin ${TAVO_SAMPLE_DIR}/sample.tbl
              ${TAVO_SAMPLE_DIR}/sample-compare.bin ${TAVO_SAMPLE_DIR}/sample-compare.tbl
        DESTINATION sample)

set(CPACK_PACKAGE_NAME TaVO)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TaVO")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Edit and log the calibration of Chrysler turbo ECMs")
set(CPACK_PACKAGE_INSTALL_DIRECTORY TaVO)
set(CPACK_STRIP_FILES ON)
find_program(TAVO_MAKENSIS makensis HINTS "C:/Program Files (x86)/NSIS" "C:/Program Files/NSIS")
if(TAVO_MAKENSIS AND TAVO_GUI)
  set(CPACK_GENERATOR ZIP NSIS)
  # A Start menu entry for the program.
  set(CPACK_PACKAGE_EXECUTABLES tavo TaVO)
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/packaging/windows/tavo.ico)
  set(CPACK_NSIS_INSTALLED_ICON_NAME tavo.exe)
else()
  set(CPACK_GENERATOR ZIP)
endif()
include(CPack)
