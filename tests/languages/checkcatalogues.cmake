# Fails when a user-visible text of the sources has no finished translation: collects the texts
# of the host, the core and the plug-ins into a copy of each catalogue, as the veldra_lupdate
# target does, and lists every entry that comes out unfinished or empty.
#   cmake -DLUPDATE=<lupdate> -DSOURCES=<dir;dir> -DCATALOGUES=<ts;ts> -DWORK=<dir> -P this file
set(missing "")
foreach(catalogue IN LISTS CATALOGUES)
    get_filename_component(name "${catalogue}" NAME)
    set(copy "${WORK}/${name}")
    configure_file("${catalogue}" "${copy}" COPYONLY)
    execute_process(COMMAND "${LUPDATE}" -silent -locations none -no-obsolete ${SOURCES} -ts "${copy}"
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "lupdate failed on ${name}")
    endif()
    file(READ "${copy}" text)
    # One list item per message (the catalogue's own semicolons and brackets set aside first).
    string(REPLACE ";" "&#59;" text "${text}")
    string(REPLACE "[" "&#91;" text "${text}")
    string(REPLACE "]" "&#93;" text "${text}")
    string(REPLACE "</message>" ";" messages "${text}")
    foreach(message IN LISTS messages)
        if(message MATCHES "type=\"unfinished\"|<translation></translation>|<translation/>")
            string(REGEX REPLACE ".*<source>([^<]*)</source>.*" "\\1" source "${message}")
            list(APPEND missing "${name}: ${source}")
        endif()
    endforeach()
endforeach()
if(missing)
    list(JOIN missing "\n  " lines)
    message(FATAL_ERROR "Texts without a translation (run the veldra_lupdate target and translate them):\n  ${lines}")
endif()
message(STATUS "Every text of the sources is translated")
