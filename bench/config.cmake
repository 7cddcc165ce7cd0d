# File > Save config and Open config of twelve tables (needs the window test helpers).
if(BRENVO_TESTS)
    add_executable(brenvo_config_bench ${CMAKE_CURRENT_LIST_DIR}/ConfigFileBench.cpp)
    target_link_libraries(brenvo_config_bench PRIVATE brenvo_app brenvo_ui_testing Qt6::Widgets)
    brenvo_settings(brenvo_config_bench)
endif()
