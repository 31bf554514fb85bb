# Installing and packaging on Linux (Windows: PackagingWindows.cmake): the programs, the desktop entry, the AppStream
# metainfo and the program icon, so TaVO shows in a desktop's application
# menu; the sample calibration to try it on. The pictures live inside
# `tavo`: nothing is read from the source or build tree at run time.
#
#   cmake --install build [--prefix DIR]      (default prefix /usr/local)
#   cd build && cpack -G DEB                  (installs under /usr)

include(GNUInstallDirs)

install(TARGETS tavo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TAVO_GUI)
  install(TARGETS tavo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The simulated ECM is installed where this build makes it; looked for once
# every folder of the build has been read, whatever their order.
function(tavo_install_optional_programs)
  if(TARGET tavo-ecm-sim)
    install(TARGETS tavo-ecm-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endfunction()
cmake_language(DEFER CALL tavo_install_optional_programs)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/tavo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/io.github.tavo.tavo.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/tavo-icon.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME tavo.png)
install(FILES ${PROJECT_SOURCE_DIR}/resources/tavo-icon-128.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps RENAME tavo.png)
install(FILES ${TAVO_SAMPLE_DIR}/sample.bin ${TAVO_SAMPLE_DIR}/sample.tbl
              ${TAVO_SAMPLE_DIR}/sample-compare.bin ${TAVO_SAMPLE_DIR}/sample-compare.tbl
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tavo/sample)

set(TAVO_PACKAGE_CONTACT "TaVO developers" CACHE STRING "Maintainer named in the .deb package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TaVO")
set(CPACK_PACKAGE_CONTACT ${TAVO_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Edit and log the calibration of Chrysler turbo ECMs")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "TaVO edits the calibration of Chrysler turbo engine-control modules\n(6803 and 68HC11 ECMs): ROM images with their .tbl definition files,\ntables graphed and edited in place. tavo-cli reads and changes the same\nfiles from scripts.")
# The Qt libraries (libqt6core6, libqt6gui6 with the X11 platform plugin,
# libqt6widgets6), libc and libstdc++, with the versions
# the programs were linked against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Desktop integration (platform themes) and Wayland sessions.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins, qt6-wayland")
include(CPack)
