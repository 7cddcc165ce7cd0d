# Serial request overhead against the emulator on a pseudo-terminal: a small timing program,
# since what is measured is a whole exchange in real time.
add_executable(brenvo_serial_request_bench ${CMAKE_CURRENT_LIST_DIR}/SerialRequestBench.cpp)
target_link_libraries(brenvo_serial_request_bench PRIVATE brenvo_transport brenvo_emulator)
brenvo_settings(brenvo_serial_request_bench)
