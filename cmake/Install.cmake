# Installing Lexigrove as a desktop application (programs, desktop entry,
# icons, AppStream metadata, manual pages), the Debian package made by
# CPack, and the tests of both.
include(GNUInstallDirs)

# The application id and the web addresses are set in the top-level
# CMakeLists.txt; the version is the project's.
set(LEXIGROVE_RELEASE_DATE "2026-12-07")
set(packaging_source "${PROJECT_SOURCE_DIR}/packaging")
set(packaging_build "${PROJECT_BINARY_DIR}/packaging")

# The console program and its manual page, gzipped as Debian ships them.
install(TARGETS lexigrove-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(manual_pages lexigrove-cli.1)
if(TARGET lexigrove)
  list(APPEND manual_pages lexigrove.1)
endif()
foreach(page IN LISTS manual_pages)
  configure_file("${packaging_source}/${page}.in" "${packaging_build}/${page}" @ONLY)
  add_custom_command(OUTPUT "${packaging_build}/${page}.gz"
    COMMAND gzip -9nkf ${page}
    WORKING_DIRECTORY "${packaging_build}"
    DEPENDS "${packaging_build}/${page}"
    COMMENT "Compressing the manual page ${page}")
  list(APPEND manual_pages_gz "${packaging_build}/${page}.gz")
endforeach()
add_custom_target(lexigrove_manual_pages ALL DEPENDS ${manual_pages_gz})
install(FILES ${manual_pages_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Bash completion for the console program, where bash-completion looks.
install(FILES "${packaging_source}/lexigrove-cli.bash-completion"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME lexigrove-cli)

if(TARGET lexigrove)
  install(TARGETS lexigrove RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  configure_file("${packaging_source}/lexigrove.desktop.in" "${packaging_build}/${LEXIGROVE_APP_ID}.desktop" @ONLY)
  install(FILES "${packaging_build}/${LEXIGROVE_APP_ID}.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

  string(REPLACE "&" "&amp;" LEXIGROVE_HOMEPAGE_URL_XML "${LEXIGROVE_HOMEPAGE_URL}")
  string(REPLACE "&" "&amp;" LEXIGROVE_DONATE_URL_XML "${LEXIGROVE_DONATE_URL}")
  string(REPLACE "&" "&amp;" LEXIGROVE_SCREENSHOT_URL_XML "${LEXIGROVE_SCREENSHOT_URL}")
  configure_file("${packaging_source}/lexigrove.metainfo.xml.in"
                 "${packaging_build}/${LEXIGROVE_APP_ID}.metainfo.xml" @ONLY)
  install(FILES "${packaging_build}/${LEXIGROVE_APP_ID}.metainfo.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The icon: the drawing itself, and the fixed sizes rendered from it.
  install(FILES "${PROJECT_SOURCE_DIR}/data/lexigrove.svg"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${LEXIGROVE_APP_ID}.svg)
  add_executable(lexigrove_render_icon "${packaging_source}/render_icon.cpp")
  target_link_libraries(lexigrove_render_icon PRIVATE Qt6::Gui Qt6::Svg)
  foreach(side 16 24 32 48)
    set(png "${packaging_build}/icons/${side}/${LEXIGROVE_APP_ID}.png")
    add_custom_command(OUTPUT "${png}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${packaging_build}/icons/${side}"
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
              $<TARGET_FILE:lexigrove_render_icon> "${PROJECT_SOURCE_DIR}/data/lexigrove.svg" ${side} "${png}"
      DEPENDS lexigrove_render_icon "${PROJECT_SOURCE_DIR}/data/lexigrove.svg"
      COMMENT "Rendering the ${side} pixel icon")
    list(APPEND icon_pngs "${png}")
    install(FILES "${png}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps)
  endforeach()
  add_custom_target(lexigrove_icons ALL DEPENDS ${icon_pngs})
endif()

# The Debian package: `cpack -G DEB` in the build folder. It is made from
# this source tree by its own build, a native package: its version is the
# project's, and its changelog is changelog.gz.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lexigrove)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lexigrove contributors")
set(CPACK_PACKAGE_CONTACT "Lexigrove contributors <lexigrove@example.org>")
# The synopsis, then the long description. One string: a CMake list would
# turn the semicolon below into a separator.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "word finder: unscramble letters, match patterns, check words")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lexigrove searches a built-in English word list of 172,823 words. Unscramble\n"
    "lists the words that can be spelled from a handful of letters, Wild the words\n"
    "that match a pattern, and Exact tells whether a word is in the list; a\n"
    "question mark stands for any one letter. The package holds the desktop\n"
    "program and lexigrove-cli, which runs the same searches from a shell.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(LEXIGROVE_HOMEPAGE_URL)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${LEXIGROVE_HOMEPAGE_URL}")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The libraries come from dpkg-shlibdeps where it is at hand. Qt's X11 and
# Wayland platform plugins are in qt6-qpa-plugins, which nothing links; the
# windows ask for the Liberation fonts.
find_program(LEXIGROVE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(LEXIGROVE_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  if(TARGET lexigrove)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
  endif()
elseif(TARGET lexigrove)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libgcc-s1, libqt6core6, libqt6dbus6, libqt6gui6, libqt6widgets6, libqt6svg6, qt6-qpa-plugins, fonts-liberation2")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6")
endif()

# /usr/share/doc/lexigrove: the machine-readable copyright file and the
# Debian changelog; and the lintian override for the embedded words.
execute_process(COMMAND date -u -R -d "${LEXIGROVE_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE LEXIGROVE_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file("${packaging_source}/changelog.in" "${packaging_build}/changelog" @ONLY)
add_custom_command(OUTPUT "${packaging_build}/changelog.gz"
  COMMAND gzip -9nkf changelog
  WORKING_DIRECTORY "${packaging_build}"
  DEPENDS "${packaging_build}/changelog"
  COMMENT "Compressing the Debian changelog")
add_custom_target(lexigrove_changelog ALL DEPENDS "${packaging_build}/changelog.gz")
install(FILES "${packaging_source}/copyright" "${packaging_build}/changelog.gz"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lexigrove)
install(FILES "${packaging_source}/lexigrove.lintian-overrides"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME lexigrove)

include(CPack)

# The package is made from release builds; a sanitizer build links runtimes
# no package would carry.
if(LEXIGROVE_BUILD_TESTS AND NOT LEXIGROVE_SANITIZE)
  add_test(NAME install_and_package
    COMMAND sh "${PROJECT_SOURCE_DIR}/tests/packaging/install_test.sh"
            "${CMAKE_COMMAND}" "${CMAKE_CPACK_COMMAND}" "${PROJECT_BINARY_DIR}" "${LEXIGROVE_APP_ID}"
            $<IF:$<TARGET_EXISTS:lexigrove>,gui,console> "${PROJECT_VERSION}")
  set_tests_properties(install_and_package PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
endif()
