# The real program read and driven through the accessibility bus (AT-SPI)
# on a virtual X display: the windows' trees, and the check marks of the
# length options and the Options menu, ticked by real clicks.
find_program(LEXIGROVE_XVFB_RUN xvfb-run)
find_program(LEXIGROVE_DBUS_RUN_SESSION dbus-run-session)
find_program(LEXIGROVE_XDOTOOL xdotool)
find_program(LEXIGROVE_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(LEXIGROVE_XVFB_RUN AND LEXIGROVE_DBUS_RUN_SESSION AND LEXIGROVE_XDOTOOL AND LEXIGROVE_SYSTEM_PYTHON)
  foreach(check atspi_tree atspi_check_marks)
    add_test(NAME ${check}
      COMMAND ${LEXIGROVE_XVFB_RUN} -a -s "-screen 0 1024x768x24"
              ${LEXIGROVE_DBUS_RUN_SESSION} --
              sh ${CMAKE_CURRENT_LIST_DIR}/atspi_xvfb.sh $<TARGET_FILE:lexigrove>
                 ${CMAKE_CURRENT_LIST_DIR}/${check}.py)
    set_tests_properties(${check} PROPERTIES TIMEOUT 120)
  endforeach()
else()
  message(WARNING "xvfb-run, dbus-run-session, xdotool or /usr/bin/python3 is missing: "
                  "the accessibility tests of lexigrove are left out")
endif()
