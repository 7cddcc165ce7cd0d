# Slider move to output level at an emulated dimmer on a pseudo-terminal, through the main window:
# a small timing program, since what is measured is a whole exchange in real time.
add_executable(brenvo_output_level_bench ${CMAKE_CURRENT_LIST_DIR}/OutputLevelBench.cpp)
target_link_libraries(brenvo_output_level_bench PRIVATE brenvo_app brenvo_emulator Qt6::Widgets)
brenvo_settings(brenvo_output_level_bench)
