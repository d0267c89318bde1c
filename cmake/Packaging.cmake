# Installation into the usual Linux places and the Debian package (`make package`).

include(GNUInstallDirs)
set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/morvaline)

install(TARGETS morvaline RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/morvaline.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/morvaline.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# AppStream finds the data under the name of its id.
install(FILES data/morvaline.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME org.example.morvaline.metainfo.xml)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvaline)
set(CPACK_PACKAGE_VENDOR "Morvaline developers")
set(CPACK_PACKAGE_CONTACT "Morvaline developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "diary of daily salt intake and blood pressure")
set(CPACK_PACKAGE_DESCRIPTION
    "A Japanese-language desktop diary for people who keep their salt intake\n\
down: foods ticked for the day against a personal salt target, a daily log\n\
with salt bars and blood pressure, and a seasoning calculator.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_LICENSE GPL-3.0-or-later)
# The libraries the program links are found by dpkg-shlibdeps. What it loads
# at run time is named here: the window-system plugins, Qt's own texts in
# Japanese, and a font that holds every character of the Japanese captions.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-noto-cjk")
include(CPack)
