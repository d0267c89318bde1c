# Installation into the usual Linux places and the Debian package (`make package`).

include(GNUInstallDirs)
set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/morvaline)

install(TARGETS morvaline RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/morvaline.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/morvaline.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The one place the project's owner is recorded: its AppStream id is a
# reverse-DNS name under the owner's GitHub pages, io.github.<owner>.Morvaline.
set(MORVALINE_OWNER morvaline)
set(MORVALINE_APPSTREAM_ID io.github.${MORVALINE_OWNER}.Morvaline)
set(MORVALINE_PACKAGE_DOCS ${CMAKE_CURRENT_BINARY_DIR}/package-docs)
# AppStream finds the data under the name of its id.
configure_file(data/morvaline.metainfo.xml.in ${MORVALINE_PACKAGE_DOCS}/${MORVALINE_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${MORVALINE_PACKAGE_DOCS}/${MORVALINE_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The user's guide, in Japanese as the program is: a web page with its
# pictures, made from README.ja.md by cmark-gfm (which reads it as GitHub
# does), at /usr/share/doc/morvaline/guide/index.html.
find_program(CMARK_GFM cmark-gfm)
find_package(Python3 COMPONENTS Interpreter)
if(CMARK_GFM AND Python3_Interpreter_FOUND)
  set(MORVALINE_GUIDE ${MORVALINE_PACKAGE_DOCS}/guide)
  file(GLOB MORVALINE_GUIDE_PICTURES CONFIGURE_DEPENDS docs/*.png)
  add_custom_command(OUTPUT ${MORVALINE_GUIDE}/index.html
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${MORVALINE_GUIDE}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/tools/guide_html.py ${CMARK_GFM}
            ${CMAKE_CURRENT_SOURCE_DIR}/README.ja.md ${MORVALINE_GUIDE}
    DEPENDS README.ja.md tools/guide_html.py ${MORVALINE_GUIDE_PICTURES} VERBATIM)
  add_custom_target(user-guide ALL DEPENDS ${MORVALINE_GUIDE}/index.html)
  install(DIRECTORY ${MORVALINE_GUIDE}/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/guide)
  # Registered with doc-base, where help browsers look for documents.
  install(FILES data/morvaline-guide.doc-base DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base
          RENAME morvaline-guide)
else()
  message(WARNING "cmark-gfm or python3 not found: the user's guide is left out "
                  "(scripts/install-deps.sh installs them)")
endif()

# A stripped program keeps the compiler's notes in .comment and .note, which
# nothing reads; Debian's own packages drop them too.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/morvaline\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()")

# No public address yet: a placeholder (named in the README) stands for one.
set(MORVALINE_MAINTAINER "Morvaline developers <morvaline@example.org>")

# The Debian changelog of a native package: one entry for the version, dated
# at SOURCE_DATE_EPOCH, or else at the last commit, so that two builds of one
# commit are byte for byte the same. Outside a git checkout (a source tarball
# without the variable) the date is that of this file.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  find_package(Git QUIET)
  set(epoch "")
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(NOT epoch MATCHES "^[0-9]+$")
    file(TIMESTAMP ${CMAKE_CURRENT_LIST_FILE} epoch "%s" UTC)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
# The resource compiler records each file's modification time, which a fresh
# checkout sets anew: it and every other generating step take the same date.
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} PROPERTY RULE_LAUNCH_CUSTOM
             "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=$ENV{SOURCE_DATE_EPOCH}")
# cpack runs later, in an environment of its own: the archive's member times
# take the same date from here, unless the packager sets one.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/CPackSourceDate.cmake
     "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})\n  set(ENV{SOURCE_DATE_EPOCH} $ENV{SOURCE_DATE_EPOCH})\nendif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/CPackSourceDate.cmake)
string(TIMESTAMP MORVALINE_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(data/changelog.in ${MORVALINE_PACKAGE_DOCS}/changelog @ONLY)
execute_process(COMMAND gzip -9nkf ${MORVALINE_PACKAGE_DOCS}/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${MORVALINE_PACKAGE_DOCS}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The manual page, in English and in Japanese, made by help2man from the
# program's own --help in each language, with the sections --help has no room
# for (files, environment, exit status) from data/man/. help2man needs the
# Japanese locale for its own headings; it is compiled into the build folder.
find_program(HELP2MAN help2man)
find_program(LOCALEDEF localedef)
if(HELP2MAN AND LOCALEDEF AND EXISTS /usr/share/i18n/locales/ja_JP)
  set(man ${MORVALINE_PACKAGE_DOCS}/man)
  set(pages)
  foreach(language en ja)
    if(language STREQUAL "ja")
      set(locale ja_JP.UTF-8)
      set(prepare COMMAND ${LOCALEDEF} -i ja_JP -f UTF-8 ${man}/locale/ja_JP.UTF-8)
    else()
      set(locale C)
      set(prepare)
    endif()
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/data/man/morvaline.${language}.h2m)
    add_custom_command(OUTPUT ${man}/${language}/morvaline.1.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${man}/${language} ${man}/locale
      ${prepare}
      COMMAND ${CMAKE_COMMAND} -E env LOCPATH=${man}/locale ASAN_OPTIONS=detect_leaks=0
              ${HELP2MAN} --no-info --locale=${locale} --include=${source}
              --output=${man}/${language}/morvaline.1 $<TARGET_FILE:morvaline>
      COMMAND gzip -9nf ${man}/${language}/morvaline.1
      DEPENDS morvaline ${source} VERBATIM)
    list(APPEND pages ${man}/${language}/morvaline.1.gz)
  endforeach()
  add_custom_target(manual-pages ALL DEPENDS ${pages})
  install(FILES ${man}/en/morvaline.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${man}/ja/morvaline.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
else()
  message(WARNING "help2man, localedef or the locale sources (package locales) not found: "
                  "the manual page is left out (scripts/install-deps.sh installs them)")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvaline)
set(CPACK_PACKAGE_VENDOR "Morvaline developers")
set(CPACK_PACKAGE_CONTACT "${MORVALINE_MAINTAINER}")
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
