# The choice of windowing platform.
lexigrove_qt_test(tst_DisplayPlatform ${CMAKE_CURRENT_LIST_DIR}/tst_DisplayPlatform.cpp)

