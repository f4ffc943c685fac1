# `cpack -G DEB` in a build configured with the prefix the package installs to (scripts/package
# uses /usr): one package per install component. Dependencies on system libraries come from
# dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME chaosplot)
set(CPACK_PACKAGE_VENDOR "chaosplot developers")
set(CPACK_PACKAGE_CONTACT "chaosplot developers <chaosplot@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL programs library development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)

set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME chaosplot)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION graphics)
set(CPACK_COMPONENT_PROGRAMS_DESCRIPTION
  "The chaos game in a window\n chaosplot asks in the terminal for a starting point and a number of steps,\n then draws the chaos game's path inside a triangle in a window; graphdemo\n shows what its graphics library draws.")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME libchaosplot${CHAOSPLOT_SOVERSION})
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION
  "Raster graphics library of chaosplot\n Modes, palettes, lines, fills, arcs and text in X11 windows, with the\n console layer and the runtime it runs on.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libchaosplot-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
  "Raster graphics library of chaosplot - development files\n Headers, the static library, pkg-config and CMake package files.")
# The headers and the static library need what the shared library's users do not: the exact
# shared library beside them and the X libraries' development files.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
  "libchaosplot${CHAOSPLOT_SOVERSION} (= ${PROJECT_VERSION}), libxcb1-dev, libxcb-shm0-dev, libxkbcommon-x11-dev, libpng-dev, pkg-config")

include(CPack)
