# The main window, the application object and the program's artwork.
find_package(Qt6 REQUIRED COMPONENTS Svg)

target_sources(lexigrove_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/FrmMain1.h
  ${CMAKE_CURRENT_LIST_DIR}/FrmMain1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LexigroveApp.h
  ${CMAKE_CURRENT_LIST_DIR}/LexigroveApp.cpp)
target_link_libraries(lexigrove_ui PUBLIC lexigrove_engine Qt6::Svg)

# The icon and the donate badge, drawn as SVG and built into the program
# under :/lexigrove/.
qt_add_resources(lexigrove_ui lexigrove_artwork
  PREFIX "/lexigrove"
  BASE "${PROJECT_SOURCE_DIR}/data"
  FILES
    "${PROJECT_SOURCE_DIR}/data/lexigrove.svg"
    "${PROJECT_SOURCE_DIR}/data/donate.svg")
