# cmake -DTEMPLATE=in -DOUT=out.gz [-DPROGRAM=exe [-DLANGUAGE=de]] [-DVAR=value ...]
#       -P PackageDoc.cmake
# Fills a manual page or changelog template (@VAR@) and compresses it as Debian wants (gzip -9n:
# no name or time stamp inside). With PROGRAM, @HELP@ becomes the program's own --help text
# after its usage line, as roff, so the manual page always lists what the program accepts: in
# the page's LANGUAGE (its catalogue's folder name), English without one, whatever the builder's.
if(PROGRAM)
    if(NOT LANGUAGE)
        set(LANGUAGE C)
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LANGUAGE= LC_ALL=${LANGUAGE}
                            ${PROGRAM} --help
        OUTPUT_VARIABLE HELP RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${PROGRAM} --help failed: ${status}")
    endif()
    string(FIND "${HELP}" "\n" usage_end)
    math(EXPR usage_end "${usage_end} + 1")
    string(SUBSTRING "\n${HELP}" ${usage_end} -1 HELP)  # keeps the newline before the first line
    string(REGEX REPLACE "\n$" "" HELP "${HELP}")
    string(REPLACE "\\" "\\e" HELP "${HELP}")
    string(REPLACE "-" "\\-" HELP "${HELP}")
    # A line that starts with a dot or quote would be read as a request.
    string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" HELP "${HELP}")
    string(SUBSTRING "${HELP}" 1 -1 HELP)
endif()
get_filename_component(name "${OUT}" NAME_WLE)
set(filled "${OUT}.tmp/${name}")
configure_file("${TEMPLATE}" "${filled}" @ONLY)
execute_process(COMMAND gzip -9n -c "${filled}" OUTPUT_FILE "${OUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip failed for ${OUT}")
endif()
