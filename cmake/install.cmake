# Installing for daily use: the program, its help file, the sample data as the seed of a new
# diary folder, the desktop entry, the icon and the AppStream metainfo; and a Debian package.
include(GNUInstallDirs)
set(ZORVEL_APP_ID org.zorvel.Zorvel)

install(TARGETS zorvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/help/ZorvelHelp.html DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvel)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/sample/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvel/sample)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${ZORVEL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${ZORVEL_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${ZORVEL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_PACKAGE_NAME zorvel)
set(CPACK_PACKAGE_VENDOR "Zorvel")
set(CPACK_PACKAGE_CONTACT "Zorvel <zorvel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Diet diary with a Japanese user interface")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The Qt libraries come from the program's own links; the fonts and Qt's platform plugins are
# needed at run time though nothing links them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-qpa-plugins")
include(CPack)
