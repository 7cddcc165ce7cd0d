# cmake -DPO=po/de.po -DPOT=build/po/brenvo.pot -P CatalogueCheck.cmake
# Every text of the template has a translation in the catalogue (msgcmp names those without one;
# an empty or fuzzy translation counts as none), and a file-dialog filter's translation keeps the
# filter's patterns: only its descriptions are the translator's.
# A filter ends in "||": its empty parts count.
cmake_policy(SET CMP0007 NEW)
find_program(MSGCMP msgcmp REQUIRED)
find_program(MSGATTRIB msgattrib REQUIRED)
execute_process(COMMAND ${MSGCMP} ${PO} ${POT} RESULT_VARIABLE status ERROR_VARIABLE missing)
if(NOT status EQUAL 0)
    message(SEND_ERROR "${PO} lacks translations:\n${missing}")
endif()

# The filters: "Description|pattern|Description|pattern||", in one line each after msgattrib.
execute_process(COMMAND ${MSGATTRIB} --translated --no-wrap --no-location ${PO}
    OUTPUT_VARIABLE entries)
string(REGEX MATCHALL "msgid \"[^\"\n]*\\|\\|\"\nmsgstr \"[^\"\n]*\"" filters "${entries}")
foreach(filter IN LISTS filters)
    string(REGEX REPLACE "msgid \"([^\"]*)\"\nmsgstr \"([^\"]*)\"" "\\1" text "${filter}")
    string(REGEX REPLACE "msgid \"([^\"]*)\"\nmsgstr \"([^\"]*)\"" "\\2" translation "${filter}")
    string(REPLACE "|" ";" text_parts "${text}")
    string(REPLACE "|" ";" translation_parts "${translation}")
    list(LENGTH text_parts n)
    list(LENGTH translation_parts m)
    set(same TRUE)
    if(NOT n EQUAL m)
        set(same FALSE)
    else()
        math(EXPR last "${n} - 1")
        foreach(i RANGE 1 ${last} 2)
            list(GET text_parts ${i} a)
            list(GET translation_parts ${i} b)
            if(NOT a STREQUAL b)
                set(same FALSE)
            endif()
        endforeach()
    endif()
    if(NOT same)
        message(SEND_ERROR "the translation of the filter \"${text}\" changes its patterns: \"${translation}\"")
    endif()
endforeach()
