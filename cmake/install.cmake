# Installing for daily use: the program, its help file, the sample data as the seed of a new
# diary folder, the desktop entry, the icon, the AppStream metainfo, the manual page and the
# licence; and a Debian package that lintian passes.
include(GNUInstallDirs)
set(ZORVEL_APP_ID org.zorvel.Zorvel)
set(ZORVEL_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
# Named after the package, as Debian keeps them.
set(ZORVEL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/zorvel)

# Debian wants its manual pages and changelogs compressed the same way each time (-n: no name
# and no time in the header).
set(ZORVEL_GZIPPED ${CMAKE_BINARY_DIR}/packaging/zorvel.1.gz ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
add_custom_command(OUTPUT ${ZORVEL_GZIPPED}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${ZORVEL_PACKAGING}/zorvel.1 ${CMAKE_BINARY_DIR}/packaging/zorvel.1.gz
  COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${ZORVEL_PACKAGING}/debian/changelog
          ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz
  DEPENDS ${ZORVEL_PACKAGING}/zorvel.1 ${ZORVEL_PACKAGING}/debian/changelog
  COMMENT "Compressing the manual page and the Debian changelog" VERBATIM)
add_custom_target(packaging_files ALL DEPENDS ${ZORVEL_GZIPPED})

install(TARGETS zorvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/help/ZorvelHelp.html DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvel)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/sample/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvel/sample)
install(FILES ${ZORVEL_PACKAGING}/${ZORVEL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZORVEL_PACKAGING}/${ZORVEL_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${ZORVEL_PACKAGING}/${ZORVEL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/packaging/zorvel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ZORVEL_PACKAGING}/debian/copyright DESTINATION ${ZORVEL_DOCDIR})

# Only in the Debian package: its changelog, lintian's notes, and the program without the
# compiler's version note, as Debian strips its own.
install(CODE "if(ZORVEL_DEBIAN_PACKAGE)
  execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/zorvel\")
  file(INSTALL \"${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${ZORVEL_DOCDIR}\")
  file(INSTALL \"${ZORVEL_PACKAGING}/debian/zorvel.lintian-overrides\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/lintian/overrides\"
       RENAME zorvel)
endif()")
set(CPACK_CUSTOM_INSTALL_VARIABLES ZORVEL_DEBIAN_PACKAGE=ON)

set(CPACK_PACKAGE_NAME zorvel)
set(CPACK_PACKAGE_VENDOR "The Zorvel developers")
set(CPACK_PACKAGE_CONTACT "The Zorvel developers <zorvel@zorvel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "diet diary with a Japanese user interface")
# Lines of at most 80 characters once dpkg has indented them.
set(CPACK_PACKAGE_DESCRIPTION
    "Zorvel keeps a diet diary day by day: body weight, body fat, steps,
weighings through the day, strength-training counts, the food groups eaten,
meals and exercise with their calories, and four memo lists. From them it
shows progress towards a target weight within a target period, a forecast,
BMI with an obesity grade, records and streaks, charts, a nutrition analysis
and a calendar on which each day is marked good or bad.

The diary is kept in plain Shift-JIS text files in a folder of the user's
own; a new folder starts with a sample diary. The user interface is Japanese.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zorvel.org/)
# The Qt libraries come from the program's own links; the fonts and Qt's platform plugins are
# needed at run time though nothing links them. Without Qt's translations the file choosers and
# context menus speak English; without Qt's SVG support the icon is the program's own drawing.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libqt6svg6")
include(CPack)
