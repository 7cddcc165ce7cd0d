# Table transfer times against their floors over both links, with the emulator on pseudo-terminals
# at the real rates: a small timing program, since whole exchanges are measured in real time.
add_executable(brenvo_table_transfer_bench ${CMAKE_CURRENT_LIST_DIR}/TableTransferBench.cpp)
target_link_libraries(brenvo_table_transfer_bench
    PRIVATE brenvo_transport brenvo_emulator brenvo_ui Qt6::Widgets)
brenvo_settings(brenvo_table_transfer_bench)
