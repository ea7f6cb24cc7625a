# The main window, the application object and the program's artwork.
find_package(Qt6 REQUIRED COMPONENTS Svg)

target_sources(lexigrove_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FrmMain1.h
  ${CMAKE_CURRENT_LIST_DIR}/FrmMain1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LengthOptions.h
  ${CMAKE_CURRENT_LIST_DIR}/LengthOptions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResultsLog.h
  ${CMAKE_CURRENT_LIST_DIR}/ResultsLog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LexigroveApp.h
  ${CMAKE_CURRENT_LIST_DIR}/LexigroveApp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowFrame.h
  ${CMAKE_CURRENT_LIST_DIR}/WindowFrame.cpp)
target_link_libraries(lexigrove_ui PUBLIC lexigrove_engine Qt6::Svg)

# On X11 the windows ask the window manager for their frame before they are
# shown (libxcb, which Qt's X11 support uses too).
find_path(LEXIGROVE_XCB_INCLUDE xcb/xcb.h)
find_library(LEXIGROVE_XCB_LIBRARY xcb)
if(LEXIGROVE_XCB_INCLUDE AND LEXIGROVE_XCB_LIBRARY)
  target_include_directories(lexigrove_ui PRIVATE ${LEXIGROVE_XCB_INCLUDE})
  target_link_libraries(lexigrove_ui PRIVATE ${LEXIGROVE_XCB_LIBRARY})
  target_compile_definitions(lexigrove_ui PRIVATE LEXIGROVE_HAVE_XCB)
endif()

# The icon and the donate badge, drawn as SVG and built into the program
# under :/lexigrove/.
qt_add_resources(lexigrove_ui lexigrove_artwork
  PREFIX "/lexigrove"
  BASE "${PROJECT_SOURCE_DIR}/data"
  FILES
    "${PROJECT_SOURCE_DIR}/data/lexigrove.svg"
    "${PROJECT_SOURCE_DIR}/data/donate.svg")
