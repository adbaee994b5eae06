# Installation and the Debian package (cpack -G DEB in a build directory).
include(GNUInstallDirs)

install(TARGETS zuk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(tool zuk-batch zuk-devsim)
    if(TARGET ${tool})
        install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/zuk-launcher DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/zuk.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/zuk.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The README's pictures beside it, so that its links hold in the installed copy too.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/screens DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs
        FILES_MATCHING PATTERN "*.png")
install(FILES ${CMAKE_SOURCE_DIR}/docs/manual-movement.png
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zuk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "ZUK developers <zuk@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Control program of a needle (dot-impact) engraving machine")
set(CPACK_PACKAGE_DESCRIPTION
    "Opens a picture, turns it into dots of four brightness levels, plans the head's path \
and drives the engraving machine over a serial line. With zuk-batch (the same work without \
a window) and zuk-devsim (a simulated engraver on a pseudo-terminal).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The shared libraries the programs link (Qt 6 Core, Gui, Widgets, SerialPort, the C++
# runtime) become dependencies by themselves; the Qt platform plugins, the picture format
# plugins (TIFF and WebP) and Qt's own Russian texts (the standard dialogs) are loaded at run
# time and are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-image-formats-plugins, qt6-translations-l10n")
include(CPack)
