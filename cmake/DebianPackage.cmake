# The Debian package (LEXIGROVE_DEBIAN_PACKAGE, which the release preset
# turns on): the distribution's hardening flags, the files only Debian
# wants (gzipped manual pages, the machine-readable copyright file, the
# Debian changelog, the lintian override), the CPack settings, and the test
# that installs, packages and checks it all. Included after Install.cmake.

# The distribution's hardening flags (stack protector, fortified
# functions, read-only relocations bound at start) on every target of the
# project, from dpkg-buildflags. The build type chooses optimisation and
# debug information, so -O and -g are left out.
find_program(LEXIGROVE_DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${LEXIGROVE_DPKG_BUILDFLAGS} --get ${kind}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(g|O)")
  if(kind STREQUAL "LDFLAGS")
    target_link_options(lexigrove_flags INTERFACE ${flags})
  else()
    target_compile_options(lexigrove_flags INTERFACE ${flags})
  endif()
endforeach()

# The manual pages, gzipped as Debian ships them.
foreach(page IN LISTS manual_pages)
  add_custom_command(OUTPUT "${packaging_build}/${page}.gz"
    COMMAND gzip -9nkf ${page}
    WORKING_DIRECTORY "${packaging_build}"
    DEPENDS "${packaging_build}/${page}"
    COMMENT "Compressing the manual page ${page}")
  list(APPEND manual_pages_gz "${packaging_build}/${page}.gz")
endforeach()
add_custom_target(lexigrove_manual_pages ALL DEPENDS ${manual_pages_gz})
install(FILES ${manual_pages_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# `cpack -G DEB` in the build folder. The package is made from this source
# tree by its own build, a native package: its version is the project's,
# and its changelog is changelog.gz.
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
# The About window's links open in the browser through xdg-open.
if(TARGET lexigrove)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
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
if(BUILD_TESTING AND NOT LEXIGROVE_SANITIZE)
  add_test(NAME install_and_package
    COMMAND sh "${PROJECT_SOURCE_DIR}/tests/packaging/install_test.sh"
            "${CMAKE_COMMAND}" "${CMAKE_CPACK_COMMAND}" "${PROJECT_BINARY_DIR}" "${LEXIGROVE_APP_ID}"
            $<IF:$<TARGET_EXISTS:lexigrove>,gui,console> "${PROJECT_VERSION}")
  set_tests_properties(install_and_package PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
endif()
