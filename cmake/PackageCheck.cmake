# cmake -DBUILD=dir -DAPP_ID=id -DUDEV_DIR=dir "-DICON_SIZES=16;..." "-DLANGUAGES=de;..."
#       "-DMAN_PAGES=brenvo;..." -P PackageCheck.cmake
# Builds the Debian package of a built tree and checks what a user gets from it: exactly the
# expected files (the catalogue and the manual pages of every language, the software-centre
# metainfo among them), manual pages that quote their program's help in their language, the
# dependencies found, the maintainer scripts, a menu entry whose command and icon are in the
# package, both in German too, and the cable rule that grants access and keeps ModemManager away.
set(work ${BUILD}/package-check)
file(REMOVE_RECURSE ${work})
execute_process(COMMAND cpack -G DEB -B ${work} WORKING_DIRECTORY ${BUILD}
    RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB deb ${work}/*.deb)
if(NOT status EQUAL 0 OR NOT deb)
    message(FATAL_ERROR "cpack made no package:\n${log}")
endif()

set(expected
    bin/brenvo
    bin/brenvo-cli
    bin/brenvo-dimmer
    share/bash-completion/completions/brenvo-cli
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/icons/hicolor/scalable/apps/${APP_ID}.svg
    share/man/man1/brenvo.1.gz
    share/man/man1/brenvo-dimmer.1.gz
    share/man/man1/brenvo-cli.1.gz
    share/doc/brenvo/copyright
    share/doc/brenvo/changelog.gz
    ${UDEV_DIR}/70-brenvo-cable.rules)
foreach(language IN LISTS LANGUAGES)
    list(APPEND expected share/locale/${language}/LC_MESSAGES/brenvo.mo)
    foreach(page IN LISTS MAN_PAGES)
        list(APPEND expected share/man/${language}/man1/${page}.1.gz)
    endforeach()
endforeach()
foreach(size IN LISTS ICON_SIZES)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
list(TRANSFORM expected PREPEND usr/)
list(SORT expected)

set(root ${work}/root)
file(MAKE_DIRECTORY ${root})
execute_process(COMMAND dpkg-deb -x ${deb} ${root} RESULT_VARIABLE status)
file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
list(SORT found)
if(NOT status EQUAL 0 OR NOT found STREQUAL expected)
    message(SEND_ERROR "the package holds\n  ${found}\ninstead of\n  ${expected}")
endif()

# A translated page quotes its program's --help in its language, as the packaged program gives it:
# the first line after the usage line, written as roff writes it.
foreach(language IN LISTS LANGUAGES)
    foreach(program brenvo-cli brenvo-dimmer)
        execute_process(COMMAND ${CMAKE_COMMAND} -E env LANGUAGE= LC_ALL=${language}
                                ${root}/usr/bin/${program} --help
            OUTPUT_VARIABLE help)
        string(REGEX MATCH "\n([^\n]+)" line "${help}")
        string(REPLACE "-" "\\-" line "${CMAKE_MATCH_1}")
        set(page ${root}/usr/share/man/${language}/man1/${program}.1.gz)
        execute_process(COMMAND gzip -dc ${page} OUTPUT_VARIABLE text)
        string(FIND "${text}" "\n${line}\n" at)
        if(NOT line OR at EQUAL -1)
            message(SEND_ERROR "${page} does not quote the ${language} help (\"${line}\")")
        endif()
    endforeach()
endforeach()

execute_process(COMMAND dpkg-deb -f ${deb} Depends OUTPUT_VARIABLE depends)
if(NOT depends MATCHES "libqt6widgets6")
    message(SEND_ERROR "no Qt among the dependencies: ${depends}")
endif()
execute_process(COMMAND dpkg-deb -I ${deb} OUTPUT_VARIABLE control)
if(NOT control MATCHES "[*]  postinst" OR NOT control MATCHES "[*]  postrm")
    message(SEND_ERROR "the maintainer scripts are missing or not executable:\n${control}")
endif()

# The menu entry starts a program of the package and shows the package's icon.
file(STRINGS ${root}/usr/share/applications/${APP_ID}.desktop entry REGEX "^(Exec|Icon)=")
string(REGEX MATCH "Exec=([^ ;]+)" exec "${entry}")
if(NOT exec OR NOT EXISTS ${root}/usr/bin/${CMAKE_MATCH_1} OR NOT entry MATCHES "Icon=${APP_ID}(;|$)")
    message(SEND_ERROR "the menu entry does not match the package: ${entry}")
endif()

# The menu entry and the metainfo speak German too.
file(STRINGS ${root}/usr/share/applications/${APP_ID}.desktop german REGEX "^(Name|GenericName|Comment)\\[de\\]=.")
list(LENGTH german german_keys)
file(READ ${root}/usr/share/metainfo/${APP_ID}.metainfo.xml metainfo)
if(NOT german_keys EQUAL 3 OR NOT metainfo MATCHES "<summary xml:lang=\"de\">")
    message(SEND_ERROR "the menu entry or the metainfo has no German texts: ${german}")
endif()

file(STRINGS ${root}/usr/${UDEV_DIR}/70-brenvo-cable.rules rules REGEX "^[^#]*TAG\\+=\"uaccess\"")
if(NOT rules MATCHES "idVendor" OR NOT rules MATCHES "ID_MM_DEVICE_IGNORE}=\"1\"")
    message(SEND_ERROR "the cable rule does not give the cable and keep ModemManager away: ${rules}")
endif()
