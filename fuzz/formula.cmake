# The formula parser, with the words of the formula language.
brenvo_fuzz_target(brenvo_formula_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/FormulaFuzz.cpp ${PROJECT_SOURCE_DIR}/formula/CFormulaParser.cpp
    DEPS brenvo_os
    MAX_LEN 4096
    WORDS ABS SQR SINH COSH TANH ARCTAN LN LOG EXP SIN COS TAN ARCSIN ARCCOS INT RAD DEG
          ARSINH ARCOSH ARTANH sin arcosh x X "(" ")" "^" "^-" "/" "*" "+" "-" "." " ")
