# `cpack -G DEB` in a build configured with the prefix the package installs to (scripts/package
# uses /usr): one package per install component, each with its own synopsis and description, the
# copyright file and changelog Debian asks for. Dependencies on system libraries come from
# dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME chaosplot)
set(CPACK_PACKAGE_VENDOR "the chaosplot authors")
set(CPACK_PACKAGE_CONTACT "The chaosplot authors <maintainers@chaosplot.org>")
# CPack puts the summary in front of every component's description unless it is CPack's own
# default: left so, each package's description below begins with its own synopsis.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL programs library development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE chaosplot)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)

set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME chaosplot)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PROGRAMS_DESCRIPTION [[chaos game plotter in an X11 window
chaosplot asks in the terminal for a starting point and a number of steps,
then plays the chaos game inside a triangle and draws each step in a window
on the X server. The same answers always draw the same picture.
graphdemo shows, a page at a time, what the graphics library draws: lines,
fills, arcs, text, palettes and images.]])

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME libchaosplot${CHAOSPLOT_SOVERSION})
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIBRARY_DESCRIPTION [[raster graphics library for X11 windows
Modes, palettes, lines, fills, arcs, text and image buffers drawn in windows
on the X server, with the console layer and the runtime the library's
programs start on.
This package holds the shared library.]])
# The loader's cache is brought up to date by libc's ldconfig trigger (see ldconfig_trigger.cmake).
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debian/ldconfig_trigger.cmake)

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libchaosplot-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION [[raster graphics library for X11 windows - development files
Modes, palettes, lines, fills, arcs, text and image buffers drawn in windows
on the X server, with the console layer and the runtime the library's
programs start on.
This package holds the headers, the static library, the pkg-config and
CMake package files and the reference manual (section 3).]])
# The headers and the static library need what the shared library's users do not: the exact
# shared library beside them and the X libraries' development files.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
  "libchaosplot${CHAOSPLOT_SOVERSION} (= ${PROJECT_VERSION}), libxcb1-dev, libxcb-shm0-dev, libxkbcommon-x11-dev, libpng-dev, zlib1g-dev, pkg-config")

# Each package's copyright file and changelog, in its own documentation folder.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "^.*\n\n(Permission)" "\\1" licence "${licence}")
string(REGEX REPLACE "\n$" "" licence "${licence}")
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " expat_licence " ${licence}")
configure_file(cmake/debian/copyright.in ${CMAKE_CURRENT_BINARY_DIR}/debian/copyright @ONLY)
configure_file(cmake/debian/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog @ONLY)
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND gzip -9n -c ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog > ${changelog}
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog
  VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${changelog})
foreach(component PROGRAMS LIBRARY DEVELOPMENT)
  string(TOLOWER ${component} install_component)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/debian/copyright ${changelog}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_${component}_PACKAGE_NAME}
    COMPONENT ${install_component})
endforeach()

include(CPack)
