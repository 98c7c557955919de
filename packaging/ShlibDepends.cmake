# Run by cpack once the files are staged, before the Debian package is made: adds to the Depends
# named by hand what dpkg-shlibdeps reads from the programs and libraries themselves (the Qt
# runtime, with versions).
#
# CPack's own CPACK_DEBIAN_PACKAGE_SHLIBDEPS does the same, but whenever it finds a library under
# /usr/lib it also adds postinst and postrm scripts that run ldconfig. Ours are in the designer's
# private folder, not on the linker's path, and need none; and a postrm would keep the package in
# state "rc" after apt-get remove, until purged.

set(_root "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB _binaries RELATIVE "${_root}"
     "${_root}${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_CV_BINDIR}/*"
     "${_root}${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_CV_PRIVATE_LIBDIR}/*.so")
if(NOT _binaries)
  message(FATAL_ERROR "ShlibDepends: no programs or libraries staged in ${_root}")
endif()
# dpkg-shlibdeps wants a source package's control file, and a DEBIAN folder to tell which
# package's files resolve $ORIGIN; both only for the while it runs.
file(WRITE "${_root}/debian/control" "")
file(MAKE_DIRECTORY "${_root}/DEBIAN")
execute_process(COMMAND dpkg-shlibdeps --ignore-missing-info -O ${_binaries}
                WORKING_DIRECTORY "${_root}"
                OUTPUT_VARIABLE _substvars
                ERROR_VARIABLE _errors
                RESULT_VARIABLE _status
                OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE "${_root}/debian" "${_root}/DEBIAN")
if(NOT _status EQUAL 0 OR NOT _substvars MATCHES "shlibs:Depends=")
  message(FATAL_ERROR "ShlibDepends: dpkg-shlibdeps ${_binaries} failed: ${_errors}")
endif()
string(REGEX REPLACE "^.*shlibs:Depends=" "" _found "${_substvars}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${_found}, ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
