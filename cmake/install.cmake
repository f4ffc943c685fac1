# What `cmake --install` puts in place, in three components (one Debian package each):
#   programs     chaosplot and graphdemo, their manual pages, the desktop entry and its icon
#   library      the shared library
#   development  headers, the archive, the linker name, pkg-config and CMake package files, the
#                library's reference manual
include(CMakePackageConfigHelpers)

install(TARGETS chaosplot graphdemo RUNTIME COMPONENT programs)

# Manual pages go in compressed, as man-db and Debian expect them: the programs' (section 1)
# with the programs, the library's reference (section 3) with the development files.
set(manual_pages "")
file(GLOB library_pages CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/docs/man ${PROJECT_SOURCE_DIR}/docs/man/*.3)
foreach(page chaosplot.1 graphdemo.1 ${library_pages})
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/docs/man/${page} > ${compressed}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page}
    VERBATIM)
  list(APPEND manual_pages ${compressed})
  if(page MATCHES "\\.1$")
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT programs)
  else()
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man3 COMPONENT development)
  endif()
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${manual_pages})

install(FILES app/chaosplot.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
  COMPONENT programs)
install(DIRECTORY ${CHAOSPLOT_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
  COMPONENT programs)

install(TARGETS chaosplot_shared EXPORT chaosplotTargets
  LIBRARY COMPONENT library NAMELINK_COMPONENT development)
install(TARGETS chaosplot_static EXPORT chaosplotTargets
  ARCHIVE COMPONENT development)
foreach(header IN LISTS CHAOSPLOT_INSTALLED_HEADERS)
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/chaosplot/${folder}
    COMPONENT development)
endforeach()

set(cmake_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/chaosplot)
install(EXPORT chaosplotTargets NAMESPACE chaosplot:: DESTINATION ${cmake_package_dir}
  COMPONENT development)
configure_package_config_file(cmake/chaosplotConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/chaosplotConfig.cmake
  INSTALL_DESTINATION ${cmake_package_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/chaosplotConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/chaosplotConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/chaosplotConfigVersion.cmake
  DESTINATION ${cmake_package_dir} COMPONENT development)

# The pkg-config file finds the prefix from its own place, as the CMake files do, so that it
# holds for the prefix given at install time and for a copy staged under DESTDIR.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(pkgconfig_prefix ${CMAKE_INSTALL_PREFIX})
else()
  file(RELATIVE_PATH prefix_from_pkgconfig /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
  string(REGEX REPLACE "/$" "" prefix_from_pkgconfig ${prefix_from_pkgconfig})
  set(pkgconfig_prefix "\${pcfiledir}/${prefix_from_pkgconfig}")
endif()
configure_file(cmake/chaosplot.pc.in ${CMAKE_CURRENT_BINARY_DIR}/chaosplot.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/chaosplot.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)
