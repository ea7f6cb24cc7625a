# The desktop window's speed: click-to-paint times of the results pane.
find_package(Qt6 REQUIRED COMPONENTS Widgets Svg Test)
add_executable(ui_results_bench ${CMAKE_CURRENT_LIST_DIR}/ui_results_bench.cpp)
target_link_libraries(ui_results_bench PRIVATE lexigrove_ui Qt6::Test)
