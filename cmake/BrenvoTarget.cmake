# Common compile settings for every target of the project.
function(brenvo_settings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(BRENVO_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(BRENVO_SANITIZE)
        # A finding fails the test that caused it instead of scrolling past in its output.
        target_compile_options(${target} PRIVATE -fsanitize=${BRENVO_SANITIZE} -fno-omit-frame-pointer
            -fno-sanitize-recover=all)
        target_link_options(${target} PRIVATE -fsanitize=${BRENVO_SANITIZE})
    endif()
endfunction()

# brenvo_library(NAME SOURCES ... [PUBLIC_DEPS ...] [PRIVATE_DEPS ...])
function(brenvo_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
    brenvo_settings(${name})
endfunction()

# brenvo_test(NAME LABEL label [GUI] [TIMEOUT s] SOURCES ... DEPS ...): one GoogleTest binary whose
# tests are registered with CTest under the label. GUI tests get a main that starts a headless Qt.
function(brenvo_test name)
    cmake_parse_arguments(ARG "GUI" "LABEL;TIMEOUT" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_GUI)
        set(main brenvo_gui_test_main)
    else()
        set(main brenvo_test_main)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} brenvo_test_support ${main} GTest::gtest GTest::gmock)
    brenvo_settings(${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT})
endfunction()
