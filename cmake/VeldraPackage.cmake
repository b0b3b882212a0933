# The Debian package: `cpack -G DEB` in the build folder writes veldra_<version>_<arch>.deb with
# everything `cmake --install` lays out, below /usr. Only included when Veldra is the top-level
# project.
set(VELDRA_MAINTAINER "Veldra Maintainers <maintainers@veldra.example.org>" CACHE STRING
    "The package maintainer, as \"Name <address>\"")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veldra)
set(CPACK_PACKAGE_VENDOR KORVAN)
set(CPACK_PACKAGE_CONTACT "${VELDRA_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VELDRA_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "authoring of animated HTML5 scenes
Veldra is a desktop authoring application: a project is made of scenes with
animated texts, previewed in the web browser and exported to HTML5.
.
The package also holds the SDK for plug-ins: the public headers and the CMake
package VeldraCore.")

# The libraries' dependencies come from dpkg-shlibdeps. The package's own libraries are found
# through their run paths; the shlibs file lets other packages depend on them in turn.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${PROJECT_SOURCE_DIR}/cmake/debian/triggers")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# What Qt loads at run time without linking it, which dpkg-shlibdeps cannot see: the xcb platform
# plug-in and the image format plug-ins (in libqt5gui5), and Qt WebEngine's resources and locales
# (libqt5webengine-data).
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt5gui5 (>= ${VELDRA_QT_VERSION}) | libqt5gui5-gles (>= ${VELDRA_QT_VERSION})"
    libqt5webengine-data)
# Qt's own German texts for its standard dialogs; the application runs without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qttranslations5-l10n)

if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    message(STATUS "Debian package: configure with -DCMAKE_INSTALL_PREFIX=/usr for the libraries "
                   "in lib/<multiarch>; this build puts them into ${CMAKE_INSTALL_LIBDIR}/")
endif()

# Debian wants the copyright and a compressed changelog in the package's documentation folder.
set(doc_dir "${PROJECT_BINARY_DIR}/debian")
configure_file("${PROJECT_SOURCE_DIR}/cmake/debian/copyright" "${doc_dir}/copyright" @ONLY)
configure_file("${PROJECT_SOURCE_DIR}/cmake/debian/changelog" "${doc_dir}/changelog" @ONLY)
execute_process(COMMAND gzip -9 -n -c "${doc_dir}/changelog"
    OUTPUT_FILE "${doc_dir}/changelog.gz"
    RESULT_VARIABLE gzip_result)
if(NOT gzip_result EQUAL 0)
    message(FATAL_ERROR "Cannot compress the package changelog: ${gzip_result}")
endif()
install(FILES "${doc_dir}/copyright" "${doc_dir}/changelog.gz"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/veldra")

include(CPack)
