# Start-up to the shown window with nothing attached (needs the window test helpers).
if(BRENVO_TESTS)
    add_executable(brenvo_startup_bench ${CMAKE_CURRENT_LIST_DIR}/StartupBench.cpp)
    target_link_libraries(brenvo_startup_bench PRIVATE brenvo_app brenvo_ui_testing Qt6::Widgets)
    brenvo_settings(brenvo_startup_bench)
endif()
