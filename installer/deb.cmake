# The Debian package of the command-line tool: what `cmake --install` puts
# under the prefix, with the library dependencies that dpkg-shlibdeps finds in
# the binaries. Build it with `cpack -G DEB` in the native tree.
if(WIN32)
  return()
endif()

set(CPACK_PACKAGE_NAME tunora)
set(CPACK_PACKAGE_VENDOR "The Tunora developers")
set(TUNORA_PACKAGE_CONTACT "The Tunora developers <tunora@users.noreply.github.com>" CACHE STRING
    "Maintainer of the Debian package")
set(CPACK_PACKAGE_CONTACT "${TUNORA_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tunora)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Computed from the tool and its private modules, which link libcurl,
# libsystemd, and cpp-httplib for serve.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The summary above is the first line; this is the text below it.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "tunora reads the tags of MP3, AAC, MP4, Ogg Vorbis, FLAC and Musepack files\n"
       "itself and fills an HTML template with them: one song, a selection or a\n"
       "whole folder, with covers and the colours of a player skin.")

# The package's own documents: the machine-readable copyright file and a
# Debian changelog, compressed without a time stamp so that rebuilds are
# identical.
set(TUNORA_DEB_VERSION ${PROJECT_VERSION})
set(tunora_changelog ${CMAKE_CURRENT_BINARY_DIR}/installer/changelog.Debian)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.Debian.in ${tunora_changelog} @ONLY)
add_custom_command(OUTPUT ${tunora_changelog}.gz
                   COMMAND gzip -9nkf ${tunora_changelog}
                   DEPENDS ${tunora_changelog}
                   COMMENT "Compressing the Debian changelog")
add_custom_target(tunora_deb_changelog ALL DEPENDS ${tunora_changelog}.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${tunora_changelog}.gz
        DESTINATION ${TUNORA_DOC_DIR})

include(CPack)
