# Check marks of menu items as a screen reader reads them.
target_sources(lexigrove_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CheckMarkAccessible.h
  ${CMAKE_CURRENT_LIST_DIR}/CheckMarkAccessible.cpp)
