# Warning flags and output folders shared by every target of the project.
function(veldra_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    target_compile_definitions(${target} PRIVATE
        QT_NO_CAST_FROM_BYTEARRAY QT_NO_FOREACH)
endfunction()

function(veldra_library_output target)
    set_target_properties(${target} PROPERTIES
        LIBRARY_OUTPUT_DIRECTORY "${VELDRA_LIB_DIR}"
        RUNTIME_OUTPUT_DIRECTORY "${VELDRA_BIN_DIR}"
        ARCHIVE_OUTPUT_DIRECTORY "${VELDRA_LIB_DIR}")
endfunction()

function(veldra_plugin_output target)
    set_target_properties(${target} PROPERTIES
        LIBRARY_OUTPUT_DIRECTORY "${VELDRA_PLUGIN_DIR}"
        RUNTIME_OUTPUT_DIRECTORY "${VELDRA_PLUGIN_DIR}")
endfunction()
