# Installation (`cmake --install`) and the Debian package (`cpack` in the build folder): the
# programs with their manual pages and translations, brenvo-cli's bash completion, the menu entry
# and its icon, the software-centre metainfo, and the configuration cable's udev rule, which gives
# the user at the seat the cable without sudo or a group change.
include(GNUInstallDirs)

# The name of the desktop entry and of the icon: reverse-DNS, as desktops and app stores expect.
set(BRENVO_APP_ID "com.qelvorn.Brenvo")
set(BRENVO_MAINTAINER "Brenvo maintainers <maintainers@brenvo.invalid>")
# Where software centres find the project and its screenshots (docs/ below it).
set(BRENVO_HOMEPAGE "https://brenvo.invalid" CACHE STRING "The project's web address")
# Relative to the prefix: /usr/lib/udev/rules.d for the package, /usr/local/lib/udev/rules.d for
# a default `cmake --install`; udev reads both.
set(BRENVO_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING
    "Where the configuration cable's udev rule is installed, relative to the prefix")

set(pkg_out ${PROJECT_BINARY_DIR}/packaging)
set(pkg_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/brenvo)

# The icon in the theme's sizes, drawn from the one in resources/. A build-time tool: the
# project's warnings, never its sanitizers (their reports would fail the build step).
add_executable(brenvo_icon_export packaging/IconExport.cpp)
target_include_directories(brenvo_icon_export PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(brenvo_icon_export PRIVATE Qt6::Gui)
target_compile_options(brenvo_icon_export PRIVATE -Wall -Wextra $<$<BOOL:${BRENVO_WERROR}>:-Werror>)
set(icon_sizes 16 22 24 32 48 64 128 256)
set(pkg_icons ${pkg_out}/icons/hicolor/scalable/apps/${BRENVO_APP_ID}.svg)
foreach(size IN LISTS icon_sizes)
    list(APPEND pkg_icons ${pkg_out}/icons/hicolor/${size}x${size}/apps/${BRENVO_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${pkg_icons}
    COMMAND brenvo_icon_export ${pkg_out}/icons ${BRENVO_APP_ID} ${icon_sizes}
    DEPENDS brenvo_icon_export
    COMMENT "Drawing Brenvo's icon in the theme's sizes" VERBATIM)

# Manual pages and the changelog, compressed; the pages of brenvo-dimmer and brenvo-cli quote their
# --help. A translation of the pages is a folder packaging/man/<language>/ holding the three
# templates: its pages quote the --help in that language and go to share/man/<language>/man1.
set(man_pages brenvo brenvo-dimmer brenvo-cli)
set(pkg_docs ${pkg_out}/changelog.gz)
set(pkg_fill ${CMAKE_COMMAND} -DPROJECT_VERSION=${PROJECT_VERSION} -DBRENVO_MAINTAINER=${BRENVO_MAINTAINER})
file(GLOB man_languages CONFIGURE_DEPENDS LIST_DIRECTORIES true RELATIVE
    ${PROJECT_SOURCE_DIR}/packaging/man ${PROJECT_SOURCE_DIR}/packaging/man/*)
foreach(language "" ${man_languages})
    if(language)
        set(templates packaging/man/${language})
        set(pages ${pkg_out}/man/${language})
        set(catalogues brenvo_catalogues)
    else()
        set(templates packaging)
        set(pages ${pkg_out})
        set(catalogues)
    endif()
    foreach(page IN LISTS man_pages)
        set(quote)
        set(program)
        if(NOT page STREQUAL "brenvo")
            set(quote -DPROGRAM=$<TARGET_FILE:${page}> -DLANGUAGE=${language})
            set(program ${page})
        endif()
        add_custom_command(OUTPUT ${pages}/${page}.1.gz
            COMMAND ${pkg_fill} ${quote} -DTEMPLATE=${PROJECT_SOURCE_DIR}/${templates}/${page}.1.in
                    -DOUT=${pages}/${page}.1.gz -P ${PROJECT_SOURCE_DIR}/cmake/PackageDoc.cmake
            DEPENDS ${templates}/${page}.1.in cmake/PackageDoc.cmake ${catalogues} ${program}
            VERBATIM)
        list(APPEND pkg_docs ${pages}/${page}.1.gz)
    endforeach()
    if(language)
        install(FILES ${pages}/brenvo.1.gz ${pages}/brenvo-dimmer.1.gz ${pages}/brenvo-cli.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/${language}/man1)
    endif()
endforeach()
add_custom_command(OUTPUT ${pkg_out}/changelog.gz
    COMMAND ${pkg_fill} -DTEMPLATE=${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in
            -DOUT=${pkg_out}/changelog.gz -P ${PROJECT_SOURCE_DIR}/cmake/PackageDoc.cmake
    DEPENDS packaging/debian/changelog.in cmake/PackageDoc.cmake VERBATIM)
add_custom_target(brenvo_package_files ALL DEPENDS ${pkg_icons} ${pkg_docs})

configure_file(packaging/brenvo.desktop.in ${pkg_out}/${BRENVO_APP_ID}.desktop @ONLY)
configure_file(packaging/metainfo.xml.in ${pkg_out}/${BRENVO_APP_ID}.metainfo.xml @ONLY)

install(TARGETS brenvo brenvo-dimmer brenvo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${pkg_out}/${BRENVO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg_out}/${BRENVO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${pkg_out}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES packaging/70-brenvo-cable.rules DESTINATION ${BRENVO_UDEV_RULES_DIR})
install(FILES ${pkg_out}/brenvo.1.gz ${pkg_out}/brenvo-dimmer.1.gz ${pkg_out}/brenvo-cli.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/brenvo-cli.bash-completion
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME brenvo-cli)
install(FILES packaging/debian/copyright ${pkg_out}/changelog.gz DESTINATION ${pkg_doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brenvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for DMX-controlled LED dimmers")
# Lines of the package's long description (shown as written: keep them short).
set(CPACK_PACKAGE_DESCRIPTION
    "Brenvo identifies the dimmer connected through its USB configuration cable\n"
    "or a serial port, drives its outputs, edits the lookup table of every output\n"
    "(by hand, from predefined curves, gamma values, formulas or text files),\n"
    "writes the tables to the dimmer and reads them back, watches temperatures,\n"
    "saves configuration files and programs StandAlone scenes.\n"
    "The brenvo-cli command does the same from a terminal or a script,\n"
    "without a desktop, for one dimmer or every connected dimmer at once.\n"
    "The brenvo-dimmer command plays any of the dimmer models on a\n"
    "pseudo-terminal, to try Brenvo without hardware.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BRENVO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time when present: beeps then sound through the desktop's sound server.
# The toolkit's own texts (file dialog, message box buttons) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libpulse0, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/debian/postinst ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

if(BRENVO_TESTS)
    file(GLOB languages CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/po ${PROJECT_SOURCE_DIR}/po/*.po)
    list(TRANSFORM languages REPLACE "[.]po$" "")
    add_test(NAME PackageContents COMMAND ${CMAKE_COMMAND} -DBUILD=${PROJECT_BINARY_DIR}
        -DAPP_ID=${BRENVO_APP_ID} -DUDEV_DIR=${BRENVO_UDEV_RULES_DIR} "-DICON_SIZES=${icon_sizes}"
        "-DLANGUAGES=${languages}" "-DMAN_PAGES=${man_pages}"
        -P ${PROJECT_SOURCE_DIR}/cmake/PackageCheck.cmake)
    set_tests_properties(PackageContents PROPERTIES LABELS packaging TIMEOUT 120)
    # What a software centre reads: the metainfo and the desktop entry, as the validators see them.
    find_program(BRENVO_APPSTREAMCLI appstreamcli REQUIRED)
    add_test(NAME SoftwareCentreMetainfo
        COMMAND ${BRENVO_APPSTREAMCLI} validate --no-net --pedantic
                ${pkg_out}/${BRENVO_APP_ID}.metainfo.xml)
    set_tests_properties(SoftwareCentreMetainfo PROPERTIES LABELS packaging TIMEOUT 60)
endif()
