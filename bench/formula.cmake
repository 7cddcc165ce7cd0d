# Formula fill: the 256 evaluations that fill one lookup table from a formula.
if(benchmark_FOUND)
    add_executable(brenvo_formula_bench ${CMAKE_CURRENT_LIST_DIR}/FormulaBench.cpp)
    target_link_libraries(brenvo_formula_bench PRIVATE brenvo_formula benchmark::benchmark)
    brenvo_settings(brenvo_formula_bench)
endif()
