# Formula parser fuzz target. The parser's source is compiled in so that it carries the coverage
# instrumentation that guides the fuzzer.
add_executable(brenvo_formula_fuzz
    ${CMAKE_CURRENT_LIST_DIR}/FormulaFuzz.cpp
    ${PROJECT_SOURCE_DIR}/formula/CFormulaParser.cpp)
target_include_directories(brenvo_formula_fuzz PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(brenvo_formula_fuzz PRIVATE brenvo_os)
brenvo_settings(brenvo_formula_fuzz)
target_compile_options(brenvo_formula_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(brenvo_formula_fuzz PRIVATE -fsanitize=fuzzer)

# The words of the formula language, so that mutations reach the function table quickly.
set(formula_fuzz_dict ${CMAKE_CURRENT_BINARY_DIR}/formula.dict)
set(formula_words "")
foreach(word ABS SQR SINH COSH TANH ARCTAN LN LOG EXP SIN COS TAN ARCSIN ARCCOS INT RAD DEG
        ARSINH ARCOSH ARTANH sin arcosh x X "(" ")" "^" "^-" "/" "*" "+" "-" "." " ")
    string(APPEND formula_words "\"${word}\"\n")
endforeach()
file(WRITE ${formula_fuzz_dict} "${formula_words}")

# A short run as a test of the fuzz build (ctest --test-dir <fuzz build>/fuzz -L fuzz).
enable_testing()
add_test(NAME formula_fuzz_smoke
    COMMAND brenvo_formula_fuzz -max_total_time=5 -dict=${formula_fuzz_dict} -max_len=4096)
set_tests_properties(formula_fuzz_smoke PROPERTIES LABELS fuzz TIMEOUT 60)
