# The length option list widget.
target_sources(lexigrove_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/KsCheckLst.h
  ${CMAKE_CURRENT_LIST_DIR}/KsCheckLst.cpp)
