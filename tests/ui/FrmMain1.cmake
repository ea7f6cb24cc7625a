# The main window and the application's error box, on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Svg)
lexigrove_qt_test(tst_FrmMain1 ${CMAKE_CURRENT_LIST_DIR}/tst_FrmMain1.cpp)

# The real program on a virtual X display, driven through X events: it
# finds the window by its caption, searches, and leaves by File, Exit.
find_program(LEXIGROVE_XVFB_RUN xvfb-run)
find_path(LEXIGROVE_XCB_INCLUDE xcb/xcb.h)
find_library(LEXIGROVE_XCB_LIBRARY xcb)
if(LEXIGROVE_XVFB_RUN AND LEXIGROVE_XCB_INCLUDE AND LEXIGROVE_XCB_LIBRARY)
  find_package(Qt6 REQUIRED COMPONENTS Gui)
  add_executable(smoke_driver ${CMAKE_CURRENT_LIST_DIR}/smoke_driver.cpp)
  target_include_directories(smoke_driver PRIVATE ${LEXIGROVE_XCB_INCLUDE})
  target_link_libraries(smoke_driver PRIVATE Qt6::Gui ${LEXIGROVE_XCB_LIBRARY})
  target_compile_definitions(smoke_driver PRIVATE LEXIGROVE_TEST_WM_CLASS="${LEXIGROVE_WM_CLASS}")
  add_test(NAME smoke_xvfb
    COMMAND ${LEXIGROVE_XVFB_RUN} -a -s "-screen 0 1024x768x24"
            sh ${CMAKE_CURRENT_LIST_DIR}/smoke_xvfb.sh $<TARGET_FILE:lexigrove> $<TARGET_FILE:smoke_driver>)
  set_tests_properties(smoke_xvfb PROPERTIES TIMEOUT 90)

  # The windows' placement under a real window manager that frames them.
  find_program(LEXIGROVE_OPENBOX openbox)
  find_program(LEXIGROVE_XDOTOOL xdotool)
  find_program(LEXIGROVE_XWININFO xwininfo)
  if(LEXIGROVE_OPENBOX AND LEXIGROVE_XDOTOOL AND LEXIGROVE_XWININFO)
    add_test(NAME placement_openbox
      COMMAND ${LEXIGROVE_XVFB_RUN} -a -s "-screen 0 1024x768x24"
              sh ${CMAKE_CURRENT_LIST_DIR}/wm_placement.sh $<TARGET_FILE:lexigrove>)
    set_tests_properties(placement_openbox PROPERTIES TIMEOUT 90)
  else()
    message(WARNING "openbox, xdotool or xwininfo is missing: the window placement test is left out")
  endif()
else()
  message(WARNING "xvfb-run or the xcb headers are missing: the X smoke test of lexigrove is left out")
endif()
