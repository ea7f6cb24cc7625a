# The length option list widget: behaviour, and drawing checked on pixels.
lexigrove_qt_test(tst_KsCheckLst ${CMAKE_CURRENT_LIST_DIR}/tst_KsCheckLst.cpp)
lexigrove_qt_test(tst_KsCheckLstDraw ${CMAKE_CURRENT_LIST_DIR}/tst_KsCheckLstDraw.cpp)
