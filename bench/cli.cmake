# brenvo-cli as a script runs it, timed against brenvo-dimmer processes: a small timing program,
# since whole runs of the real programs are measured.
add_executable(brenvo_cli_bench ${CMAKE_CURRENT_LIST_DIR}/CliBench.cpp)
target_include_directories(brenvo_cli_bench PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(brenvo_cli_bench PRIVATE
    BRENVO_CLI_PATH="$<TARGET_FILE:brenvo-cli>"
    BRENVO_DIMMER_PATH="$<TARGET_FILE:brenvo-dimmer>")
add_dependencies(brenvo_cli_bench brenvo-cli brenvo-dimmer)
brenvo_settings(brenvo_cli_bench)
