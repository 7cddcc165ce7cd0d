# StandAlone programming against the pause per EEPROM byte: a small timing program, since what is
# measured is the whole button press in real time on an emulated cable.
add_executable(brenvo_standalone_write_bench ${CMAKE_CURRENT_LIST_DIR}/StandAloneWriteBench.cpp)
target_link_libraries(brenvo_standalone_write_bench
    PRIVATE brenvo_link brenvo_tables brenvo_ui_testing brenvo_emulator Qt6::Widgets)
brenvo_settings(brenvo_standalone_write_bench)
