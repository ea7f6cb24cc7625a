# Installing Lexigrove as a desktop application: programs, desktop entry,
# icons, AppStream metadata, manual pages and bash completion, what every
# distribution needs. The Debian package is cmake/DebianPackage.cmake.
include(GNUInstallDirs)

# The application id and the web addresses are set in the top-level
# CMakeLists.txt; the version is the project's.
set(LEXIGROVE_RELEASE_DATE "2026-12-07")
set(packaging_source "${PROJECT_SOURCE_DIR}/packaging")
set(packaging_build "${PROJECT_BINARY_DIR}/packaging")

# The console program and its manual pages (the Debian package installs
# them gzipped instead, cmake/DebianPackage.cmake).
install(TARGETS lexigrove-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(manual_pages lexigrove-cli.1)
if(TARGET lexigrove)
  list(APPEND manual_pages lexigrove.1)
endif()
foreach(page IN LISTS manual_pages)
  configure_file("${packaging_source}/${page}.in" "${packaging_build}/${page}" @ONLY)
  if(NOT LEXIGROVE_DEBIAN_PACKAGE)
    install(FILES "${packaging_build}/${page}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()
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
  target_link_libraries(lexigrove_render_icon PRIVATE Qt6::Gui Qt6::Svg lexigrove_flags)
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

