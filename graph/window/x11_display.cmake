# Real windows through XCB, in a library of their own so that only the programs that open
# windows (and their end-to-end tests) need the X libraries.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb xcb-shm xcb-xkb xkbcommon xkbcommon-x11)
add_library(graph_x11 STATIC
  ${CMAKE_CURRENT_LIST_DIR}/x11_display.cpp
  ${CMAKE_CURRENT_LIST_DIR}/x11_connection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/x11_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/x11_present.cpp
  ${CMAKE_CURRENT_LIST_DIR}/x11_metrics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/x11_input.cpp
  ${CMAKE_CURRENT_LIST_DIR}/x11_keyboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/key_messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/visual_choice.cpp
)
target_link_libraries(graph_x11 PUBLIC PkgConfig::XCB)
