# Installing and packaging on Windows: one folder holding the programs, the
# Qt libraries windeployqt finds for tavo.exe, and the sample calibration;
# packed as a zip, and as an installer where NSIS is there (makensis).
#
#   cmake --install build --prefix C:/TaVO
#   cd build && cpack                          (TaVO-0.1-win64.zip, .exe installer)
#
# The cross build from Linux (no Qt) installs tavo-cli.exe alone.

install(TARGETS tavo-cli RUNTIME DESTINATION .)
if(TAVO_GUI)
  install(TARGETS tavo RUNTIME DESTINATION .)
  # windeployqt copies the Qt libraries and plugins tavo.exe loads, and the
  # compiler's runtime libraries, beside it.
  get_target_property(qmake_location Qt6::qmake IMPORTED_LOCATION)
  get_filename_component(qt_bin_dir "${qmake_location}" DIRECTORY)
  find_program(TAVO_WINDEPLOYQT NAMES windeployqt windeployqt6 windeployqt-qt6 HINTS "${qt_bin_dir}")
  if(NOT TAVO_WINDEPLOYQT)
    message(FATAL_ERROR "Packaging tavo.exe needs windeployqt (Qt's tools) beside ${qt_bin_dir}")
  endif()
  install(CODE "
    execute_process(
      COMMAND \"${TAVO_WINDEPLOYQT}\" --release --compiler-runtime --no-translations
              --no-system-d3d-compiler --no-opengl-sw \"\${CMAKE_INSTALL_PREFIX}/tavo.exe\"
      RESULT_VARIABLE deployed)
    if(NOT deployed EQUAL 0)
      message(FATAL_ERROR \"windeployqt failed (\${deployed})\")
    endif()")
endif()
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
