# Run by cpack once the packages are made (CPACK_POST_BUILD_SCRIPTS). CPack gives a package of a
# shared library in a loader folder maintainer scripts that call ldconfig; Debian asks for libc's
# ldconfig trigger instead (the package's triggers file), so the library package is packed again
# without those scripts.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  get_filename_component(name ${deb} NAME)
  if(NOT name MATCHES "^${CPACK_DEBIAN_LIBRARY_PACKAGE_NAME}_")
    continue()
  endif()
  set(tree ${deb}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
  execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${deb}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
