# The About window and its base64 decoder, on the offscreen platform.
lexigrove_qt_test(tst_AboutDlgBase64 ${CMAKE_CURRENT_LIST_DIR}/tst_AboutDlgBase64.cpp)

lexigrove_qt_test(tst_AboutDlg ${CMAKE_CURRENT_LIST_DIR}/tst_AboutDlg.cpp)
target_compile_definitions(tst_AboutDlg PRIVATE
  LEXIGROVE_TEST_HOMEPAGE_URL="${LEXIGROVE_HOMEPAGE_URL}"
  LEXIGROVE_TEST_DONATE_URL="${LEXIGROVE_DONATE_URL}")
