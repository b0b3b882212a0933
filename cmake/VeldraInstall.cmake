# Installation: the executable, the libraries, the plug-ins, the public headers and the CMake
# package VeldraCore that third-party plug-ins find with find_package(VeldraCore). Every path is
# relative to the prefix, so an installation can be moved as a whole.
include(CMakePackageConfigHelpers)

# "$ORIGIN/<path from the folder to the libraries>", so the installed binaries find the libraries
# without LD_LIBRARY_PATH.
function(veldra_origin_rpath folder result)
    file(RELATIVE_PATH to_libraries "/${folder}" "/${CMAKE_INSTALL_LIBDIR}")
    if(to_libraries STREQUAL "")
        set(${result} "$ORIGIN" PARENT_SCOPE)
    else()
        set(${result} "$ORIGIN/${to_libraries}" PARENT_SCOPE)
    endif()
endfunction()

function(veldra_install_executable target)
    veldra_origin_rpath("${CMAKE_INSTALL_BINDIR}" rpath)
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "${rpath}")
    install(TARGETS ${target} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
endfunction()

# A shared library other plug-ins link against, exported in the VeldraCore package.
function(veldra_install_library target)
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
    install(TARGETS ${target} EXPORT VeldraCoreTargets
        LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}"
        ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}"
        RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
endfunction()

# veldra_install_plugin(<target> [EXPORT]): into the plug-in folder the host scans; EXPORT puts
# it into the VeldraCore package too (the core, which other plug-ins link against).
function(veldra_install_plugin target)
    cmake_parse_arguments(ARG "EXPORT" "" "" ${ARGN})
    veldra_origin_rpath("${VELDRA_INSTALL_PLUGINDIR}" to_libraries)
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN;${to_libraries}")
    set(export "")
    if(ARG_EXPORT)
        set(export EXPORT VeldraCoreTargets)
    endif()
    install(TARGETS ${target} ${export}
        LIBRARY DESTINATION "${VELDRA_INSTALL_PLUGINDIR}"
        RUNTIME DESTINATION "${VELDRA_INSTALL_PLUGINDIR}")
endfunction()

# veldra_install_headers(<target> <source folder> <folder below include/veldra>
#                        [INCLUDE_DIRS <folders below that one...>])
# Installs the public headers of the folder (not the private *_p.h ones) with the folder's
# layout, and gives the installed target the include directories its build-tree users have.
function(veldra_install_headers target source destination)
    cmake_parse_arguments(ARG "" "" "INCLUDE_DIRS" ${ARGN})
    set(installed "${VELDRA_INSTALL_INCLUDEDIR}/${destination}")
    install(DIRECTORY "${source}/" DESTINATION "${installed}"
        FILES_MATCHING PATTERN "*.h"
        PATTERN "*_p.h" EXCLUDE
        PATTERN "images" EXCLUDE)
    foreach(folder IN LISTS ARG_INCLUDE_DIRS)
        if(folder STREQUAL ".")
            target_include_directories(${target} PUBLIC "$<INSTALL_INTERFACE:${installed}>")
        else()
            target_include_directories(${target} PUBLIC
                "$<INSTALL_INTERFACE:${installed}/${folder}>")
        endif()
    endforeach()
endfunction()

# The package files: the exported targets in the Veldra:: namespace, the configuration that finds
# the Qt modules their interface needs, and the version file (same major version).
function(veldra_install_package)
    install(EXPORT VeldraCoreTargets
        NAMESPACE Veldra::
        FILE VeldraCoreTargets.cmake
        DESTINATION "${VELDRA_INSTALL_CMAKEDIR}")
    set(config "${PROJECT_BINARY_DIR}/cmake/VeldraCoreConfig.cmake")
    set(version "${PROJECT_BINARY_DIR}/cmake/VeldraCoreConfigVersion.cmake")
    configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/VeldraCoreConfig.cmake.in"
        "${config}" INSTALL_DESTINATION "${VELDRA_INSTALL_CMAKEDIR}")
    write_basic_package_version_file("${version}" COMPATIBILITY SameMajorVersion)
    install(FILES "${config}" "${version}" DESTINATION "${VELDRA_INSTALL_CMAKEDIR}")
endfunction()
