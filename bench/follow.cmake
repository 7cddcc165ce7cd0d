# The window following a dimmer plugged in and pulled out, and a long soak of the window against
# brenvo-dimmer (both need the window test helpers and the emulator program).
if(BRENVO_TESTS)
    foreach(name follow soak)
        string(SUBSTRING ${name} 0 1 first)
        string(TOUPPER ${first} first)
        string(SUBSTRING ${name} 1 -1 rest)
        add_executable(brenvo_${name}_bench ${CMAKE_CURRENT_LIST_DIR}/${first}${rest}Bench.cpp)
        target_link_libraries(brenvo_${name}_bench PRIVATE
            brenvo_app brenvo_emulator brenvo_ui_testing Qt6::Widgets)
        target_compile_definitions(brenvo_${name}_bench PRIVATE
            BRENVO_DIMMER_PATH="$<TARGET_FILE:brenvo-dimmer>")
        add_dependencies(brenvo_${name}_bench brenvo-dimmer)
        brenvo_settings(brenvo_${name}_bench)
    endforeach()
endif()
