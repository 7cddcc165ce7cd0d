// Replays nasty formulas through the parser at several x: whatever the text, the evaluation ends
// with a well-formed result. The same checks run in the fuzz target.
#include "formula/CFormulaParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/formula/FormulaInvariants.h"

namespace {

std::string Repeat(const std::string& text, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += text;
    }
    return out;
}

std::vector<CString> NastyFormulas() {
    std::vector<CString> formulas = {
        "9^9^9^9",
        "(-9)^999999999999",
        "-(-(-(-x)))^-0.5",
        "1e308*10",
        "x/0/0/0",
        ".",
        "..",
        "(",
        ")",
        "^",
        "*/",
        "+-+-",
        "x^x^x^x^x^x",
        "\xB0x\x80\xFF",
        "SiNhCoShTaNh",
        "arcarcsin",
        "ar",
        "abs-",
        CString("1+\0"
                "2",
                4),
        CString("\0", 1),
        "1 2 3 . 4 . 5",
        std::string(400, '9').c_str(),
        ("0." + std::string(400, '0') + "1").c_str(),
        Repeat("-(", 30000).c_str(),
        Repeat("sin", 20000).c_str(),
        Repeat("x^", 30000).c_str(),
        Repeat("(x", 300).c_str(),
        std::string(65534, ' ').c_str(),
        Repeat("1+", 32767).c_str(),
    };
    const char* const names[] = {"abs", "sqr", "sinh", "cosh",   "tanh",   "arctan", "ln",
                                 "log", "exp", "sin",  "cos",    "tan",    "arcsin", "arccos",
                                 "int", "rad", "deg",  "arsinh", "arcosh", "artanh"};
    const char* const edges[] = {"(-1)",
                                 "0",
                                 "1",
                                 "41",
                                 "(-0)",
                                 "(1/0)",
                                 "(arcosh(-1))",
                                 "(2^1024)",
                                 "(-(2^1024))",
                                 "(2^-1074)",
                                 "2147483647.5",
                                 "(-2147483648.5)",
                                 ""};
    for (const char* name : names) {
        for (const char* edge : edges) {
            formulas.push_back(CString(name) + edge);
        }
    }
    return formulas;
}

}  // namespace

TEST(FormulaCorpus, EveryNastyFormulaEndsWellFormed) {
    for (const CString& formula : NastyFormulas()) {
        for (double x : {0.0, 1.0, 255.0, -1e300}) {
            CFormulaParser parser;
            WORD position = 0;
            CString message;
            parser.Calculation(formula, x, position, message);
            const char* fault = FormulaResultFault(formula, position, message);
            EXPECT_EQ(nullptr, fault) << fault << " for a formula of " << formula.GetLength()
                                      << " characters: " << formula.Left(40).GetString();
        }
    }
}
