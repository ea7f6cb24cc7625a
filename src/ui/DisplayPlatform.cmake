# The choice of windowing platform, made before the application object
# exists; it asks the X display directly through libxcb.
find_path(LEXIGROVE_XCB_INCLUDE xcb/xcb.h)
find_library(LEXIGROVE_XCB_LIBRARY xcb)
if(NOT LEXIGROVE_XCB_INCLUDE OR NOT LEXIGROVE_XCB_LIBRARY)
  message(FATAL_ERROR "libxcb was not found: install libxcb1-dev")
endif()
target_sources(lexigrove_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/DisplayPlatform.h
  ${CMAKE_CURRENT_LIST_DIR}/DisplayPlatform.cpp)
target_include_directories(lexigrove_ui PRIVATE ${LEXIGROVE_XCB_INCLUDE})
target_link_libraries(lexigrove_ui PRIVATE ${LEXIGROVE_XCB_LIBRARY})
