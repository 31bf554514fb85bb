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
  # plugins themselves (their import tables), so the list follows what the
  # build links (cmake/WindowsRuntimeDlls.cmake).
  install(TARGETS tavo tavo-cli RUNTIME DESTINATION .)
  set(plugins "")
  foreach(plugin IN ITEMS QWindowsIntegrationPlugin:platforms QWindowsVistaStylePlugin:styles)
    string(REPLACE ":" ";" plugin "${plugin}")
    list(GET plugin 0 target)
    list(GET plugin 1 folder)
    if(TARGET Qt6::${target})
      install(IMPORTED_RUNTIME_ARTIFACTS Qt6::${target} LIBRARY DESTINATION ${folder} RUNTIME DESTINATION ${folder})
      list(APPEND plugins "$<TARGET_FILE:Qt6::${target}>")
    endif()
  endforeach()
  find_program(TAVO_MINGW_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump REQUIRED)
  install(CODE "
    set(OBJDUMP \"${TAVO_MINGW_OBJDUMP}\")
    set(DESTINATION \"\${CMAKE_INSTALL_PREFIX}\")
    set(FILES \"$<TARGET_FILE:tavo>;$<TARGET_FILE:tavo-cli>;${plugins}\")
    set(DIRECTORIES \"${TAVO_WINDOWS_DLL_DIRS}\")
    set(STRIP \"${CMAKE_STRIP}\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/WindowsRuntimeDlls.cmake\")")
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
  # A 64-bit installer for a 64-bit program (NSIS makes 32-bit ones unless
  # told), installing under "Program Files", not "Program Files (x86)".
  set(CPACK_NSIS_DEFINES "Target amd64-unicode")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
else()
  set(CPACK_GENERATOR ZIP)
endif()
include(CPack)
