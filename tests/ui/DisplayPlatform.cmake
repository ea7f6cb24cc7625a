# The choice of windowing platform, and the real program in a Wayland
# session (weston, headless, with XWayland).
lexigrove_qt_test(tst_DisplayPlatform ${CMAKE_CURRENT_LIST_DIR}/tst_DisplayPlatform.cpp)

add_executable(x11_close_driver ${CMAKE_CURRENT_LIST_DIR}/x11_close_driver.cpp)
target_include_directories(x11_close_driver PRIVATE ${LEXIGROVE_XCB_INCLUDE})
target_link_libraries(x11_close_driver PRIVATE ${LEXIGROVE_XCB_LIBRARY})
add_executable(wayland_close_proxy ${CMAKE_CURRENT_LIST_DIR}/wayland_close_proxy.cpp)
add_test(NAME weston_session
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/weston_session.sh $<TARGET_FILE:lexigrove> $<TARGET_FILE:x11_close_driver>
          $<TARGET_FILE:wayland_close_proxy> $<TARGET_FILE:tst_DisplayPlatform>)
# 77: weston cannot start on this machine.
set_tests_properties(weston_session PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE 77)
