# The installed library: the graphics library with its window back-end, console layer and
# runtime in one archive (libchaosplot.a) and one shared object (libchaosplot.so.N), built from
# the very objects the programs link. A program of someone else's needs nothing else of ours.
# The two lists below are all there is to change when a part or a public header is added.
# On Debian, libraries go to the multiarch folder (lib/x86_64-linux-gnu) under any prefix:
# GNUInstallDirs picks it only for a /usr given when the build is configured, but a packager
# gives the prefix at install time, and ld.so and pkg-config search that folder under /usr/local
# too.
if(NOT DEFINED CMAKE_INSTALL_LIBDIR AND CMAKE_LIBRARY_ARCHITECTURE AND EXISTS /etc/debian_version)
  set(CMAKE_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE} CACHE PATH "Object code libraries")
endif()
include(GNUInstallDirs)

# The libraries that make up the installed one, in link order.
set(CHAOSPLOT_LIBRARY_PARTS graph_x11 graph_terminal graph_window graph console runtime)
# The headers a program includes; whatever they include from the tree is installed with them.
set(CHAOSPLOT_PUBLIC_HEADERS
  graph/graph.h
  graph/window/x11/x11_display.h
  graph/window/terminal/terminal_display.h
  runtime/startup.h
  runtime/exit.h
  runtime/text_stream.h
  console/console.h
  console/terminal_device.h
  console/picture_query.h
  console/terminal_write.h
)

# Callers see the records and slot tables, so any change to a public record, slot table or
# signature is a new major version, and the major version is the SONAME's.
set(CHAOSPLOT_SOVERSION ${PROJECT_VERSION_MAJOR})

include(${CMAKE_CURRENT_LIST_DIR}/public_headers.cmake)
chaosplot_header_closure(CHAOSPLOT_INSTALLED_HEADERS ${PROJECT_SOURCE_DIR} ${CHAOSPLOT_PUBLIC_HEADERS})
# A changed include line changes the set: configure again.
list(TRANSFORM CHAOSPLOT_INSTALLED_HEADERS PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE header_paths)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${header_paths})

# The system libraries the parts use, under the names the installed package configuration gives
# them again (cmake/chaosplotConfig.cmake.in).
find_package(Threads REQUIRED)
if(NOT TARGET PkgConfig::XCB)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb xcb-shm xcb-xkb xkbcommon xkbcommon-x11)
endif()
find_package(PNG REQUIRED)
find_package(ZLIB REQUIRED)
add_library(chaosplot_static STATIC)
add_library(chaosplot_shared SHARED)
foreach(part IN LISTS CHAOSPLOT_LIBRARY_PARTS)
  # The shared object is made of the same objects, so they must be position independent.
  set_property(TARGET ${part} PROPERTY POSITION_INDEPENDENT_CODE ON)
  target_sources(chaosplot_static PRIVATE $<TARGET_OBJECTS:${part}>)
  target_sources(chaosplot_shared PRIVATE $<TARGET_OBJECTS:${part}>)
endforeach()
foreach(kind static shared)
  set_target_properties(chaosplot_${kind} PROPERTIES OUTPUT_NAME chaosplot EXPORT_NAME chaosplot_${kind})
  target_include_directories(chaosplot_${kind} INTERFACE
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/chaosplot>)
  target_compile_features(chaosplot_${kind} INTERFACE cxx_std_20)
endforeach()
target_link_libraries(chaosplot_static PUBLIC Threads::Threads ${CMAKE_DL_LIBS} PkgConfig::XCB PNG::PNG ZLIB::ZLIB)
target_link_libraries(chaosplot_shared PUBLIC Threads::Threads PRIVATE ${CMAKE_DL_LIBS} PkgConfig::XCB PNG::PNG ZLIB::ZLIB)
set_target_properties(chaosplot_shared PROPERTIES
  EXPORT_NAME chaosplot
  VERSION ${PROJECT_VERSION}
  SOVERSION ${CHAOSPLOT_SOVERSION})
# Every symbol the library uses is its own or a system library's.
target_link_options(chaosplot_shared PRIVATE -Wl,--no-undefined)
