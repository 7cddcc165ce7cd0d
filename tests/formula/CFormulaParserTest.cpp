#include "formula/CFormulaParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <string>

namespace {

const char* const kDivision = " (Division durch Null)";
const char* const kNoRoot = " (keine Wurzel aus neg. Zahl)";
const char* const kDomain = " (Ein Error wurde abgefangen)";
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Result {
    double value;
    WORD position;
    CString message;
};

Result Eval(const CString& formula, double x = 0.7) {
    CFormulaParser parser;
    Result r{0.0, 999, "unset"};
    r.value = parser.Calculation(formula, x, r.position, r.message);
    return r;
}

void ExpectValue(double expected, double actual, const CString& formula) {
    if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(actual)) << formula.GetString();
    } else if (std::isinf(expected)) {
        EXPECT_EQ(expected, actual) << formula.GetString();
    } else {
        EXPECT_NEAR(expected, actual, 1e-12 * std::fabs(expected)) << formula.GetString();
    }
}

struct Case {
    const char* formula;
    double x;
    double value;
    WORD position;
    const char* message;
};

void Check(const Case& c) {
    const Result r = Eval(c.formula, c.x);
    ExpectValue(c.value, r.value, c.formula);
    EXPECT_EQ(c.position, r.position) << c.formula;
    EXPECT_EQ(CString(c.message), r.message) << c.formula;
}

}  // namespace

TEST(CFormulaParser, PlainValuesAndGrammar) {
    const double sinh07 = 0.75858370183953350;
    const Case cases[] = {
        {"x*4", 10, 40, 0, ""},
        {"x*4", 0, 4e-99, 0, ""},
        {"2^3^2", 1, 64, 0, ""},
        {"-2^2", 1, 4, 0, ""},
        {"2^-1", 1, 0.5, 0, ""},
        {"(-2)^2", 1, 4, 0, ""},
        {"(-2)^-2", 1, 0.25, 0, ""},
        {"--x", 3, -3, 0, ""},
        {"+x", 3, 3, 0, ""},
        {"10-2-3", 1, 5, 0, ""},
        {"8/2/2", 1, 2, 0, ""},
        {"2+3*4^2", 1, 50, 0, ""},
        {"", 5, 0, 0, ""},
        {" \t ", 5, 0, 0, ""},
        {"\t x * 4 \r\n", 2, 8, 0, ""},
        {"x+", 5, 5, 0, ""},
        {"x*", 5, 0, 0, ""},
        {"sinh x", 0.7, sinh07, 0, ""},
        {"SinH(X)", 0.7, sinh07, 0, ""},
        {"SINHX", 0.7, sinh07, 0, ""},
        {"sinx", 0.7, 0.64421768723769102, 0, ""},
        {"sin 2*x", 3, 0.90929742682568170 * 3, 0, ""},
        {"sin(x)^2", 0.7, 0.64421768723769102 * 0.64421768723769102, 0, ""},
        {"(x+1", 2, 3, 0, ""},
        {"1 2", 1, 1, 0, ""},
        {"1.5+.5", 1, 2, 0, ""},
        {"1.2.3", 1, 1.2, 0, ""},
        {"b+f*G-h+j+K+m+N+u+V+x", 4, 4, 0, ""},
    };
    for (const Case& c : cases) {
        Check(c);
    }
}

TEST(CFormulaParser, ReadingThatStopsEarly) {
    const Case cases[] = {
        {"2x", 1, 2, 2, "Error an Position 2 gefunden!"},
        {"  2x ", 1, 2, 2, "Error an Position 2 gefunden!"},
        {"1+2)", 1, 3, 4, "Error an Position 4 gefunden!"},
        {"1,5", 1, 1, 2, "Error an Position 2 gefunden!"},
        {"pi", 1, 0, 1, "Error an Position 1 gefunden!"},
        {"1\t+2", 1, 1, 2, "Error an Position 2 gefunden!"},
        {"x 2", 5, 5, 3, "Error an Position 3 gefunden!"},
        {"1/0)", 1, 1, 4, "Error an Position 4 gefunden (Division durch Null)!"},
    };
    for (const Case& c : cases) {
        Check(c);
    }
    const Result nul = Eval(std::string("1+") + '\0' + "2");  // a NUL byte is no end
    EXPECT_EQ(1, nul.value);
    EXPECT_EQ(3, nul.position);
}

TEST(CFormulaParser, NotesKeepTheOperandAndTheLastEventWins) {
    const Case cases[] = {
        {"1/0", 1, 1, 0, kDivision},
        {"1/(x-x)", 3, 1, 0, kDivision},
        {"(-8)^(1/3)", 1, -8, 0, kNoRoot},
        {"(-2)^1", 1, -2, 0, kNoRoot},
        {"0^0.5", 1, 0, 0, kNoRoot},
        {"0^2", 1, 0, 0, ""},
        {"(-2)^3000000000", 1, -2, 0, kNoRoot},  // beyond 32 bits: never a whole number
        {"(-2)^-2147483648", 1, 0, 0, ""},
        {"2^2000", 1, kInf, 0, ""},
        {"sqr(-4)", 1, -4, 0, kDomain},
        {"arcsin(1)", 1, 1, 0, kDomain},
        {"arccos(1)", 1, 0, 0, ""},
        {"exp(41)", 1, 6.3984349353005494e17, 0, ""},
        {"exp(41.5)", 1, 41.5, 0, kDomain},
        {"1/0+sqr(-1)", 1, 0, 0, kDomain},
        {"sqr(1/0)", 1, 1, 0, kDivision},
        {"sqr(arcosh(-1))", 1, kNaN, 0, kDomain},
        {"tan(arcosh(-1))", 1, kNaN, 0, ""},
    };
    for (const Case& c : cases) {
        Check(c);
    }
}

TEST(CFormulaParser, FunctionTableValuesAndDomains) {
    const double pi = 3.141592653589793;
    struct Row {
        const char* formula;
        double value;
        bool refused;
    };
    // clang-format off
    const Row rows[] = {
        {"abs(-2.5)", 2.5, false}, {"sqr(2.25)", 1.5, false}, {"sqr(-0.01)", -0.01, true},
        {"sinh(1)", 1.1752011936438014, false}, {"cosh(1)", 1.5430806348152437, false},
        {"tanh(0.5)", 0.46211715726000974, false}, {"arctan(1)", pi / 4, false},
        {"ln(4)", 1.3862943611198906, false}, {"ln(0)", -kInf, false}, {"ln(-1)", -1, true},
        {"log(1000)", 3, false}, {"log(0)", -kInf, false}, {"log(-0.5)", -0.5, true},
        {"exp(1)", 2.718281828459045, false}, {"sin(0.5)", 0.479425538604203, false},
        {"cos(0.5)", 0.8775825618903728, false}, {"tan(0.5)", 0.5463024898437905, false},
        {"arcsin(0.5)", pi / 6, false}, {"arcsin(-1)", -1, true},
        {"arccos(-1)", pi, false}, {"arccos(1.5)", 1.5, true},
        {"int(-2.7)", -2, false}, {"int(2.7)", 2, false}, {"int(arcosh(-1))", 0, false},
        {"int(3000000000)", 2147483647, false}, {"int(-3000000000)", -2147483648.0, false},
        {"rad(180)", pi, false}, {"deg(1)", 57.295779513082323, false},
        {"arsinh(1)", 0.88137358701954305, false},
        {"arcosh(2)", 1.3169578969248166, false}, {"arcosh(0.5)", 0.5, true},
        {"arcosh(-1)", kNaN, false},
        {"artanh(0.5)", 0.54930614433405489, false}, {"artanh(1)", kInf, false},
        {"artanh(-1)", -kInf, false}, {"artanh(1.5)", 1.5, true},
    };
    // clang-format on
    for (const Row& row : rows) {
        const Result r = Eval(row.formula);
        ExpectValue(row.value, r.value, row.formula);
        EXPECT_EQ(0, r.position) << row.formula;
        EXPECT_EQ(CString(row.refused ? kDomain : ""), r.message) << row.formula;
    }
}

TEST(CFormulaParser, EachEvaluationStartsWithoutANote) {
    CFormulaParser parser;
    WORD position = 0;
    CString message;
    parser.Calculation("1/0", 1, position, message);
    EXPECT_EQ(CString(kDivision), message);
    EXPECT_EQ(5, parser.Calculation("x+2", 3, position, message));
    EXPECT_EQ(CString(""), message);
}

TEST(CFormulaParser, NestingBeyondTheBoundStopsAtTheDeeperConstruct) {
    const int n = CFormulaParser::kMaxNesting;
    const std::string open(n, '(');
    const std::string close(n, ')');
    Check({(open + "x" + close).c_str(), 3, 3, 0, ""});
    const Result deeper = Eval(("(" + open + "x" + close + ")").c_str(), 3);
    EXPECT_EQ(0, deeper.value);
    EXPECT_EQ(n + 1, deeper.position);

    std::string calls;
    for (int i = 0; i < n; ++i) {
        calls += "abs";
    }
    Check({(calls + "x").c_str(), -3, 3, 0, ""});
    EXPECT_EQ(3 * n + 1, Eval(("abs" + calls + "x").c_str(), -3).position);

    // Far deeper than any stack would take without the bound.
    EXPECT_EQ(n + 1, Eval(std::string(60000, '(').c_str()).position);
}

TEST(CFormulaParser, LengthLimitOfSixteenBitPositions) {
    const int longest = CFormulaParser::kMaxFormulaLength;
    const std::string zeros(longest - 1, '0');
    Check({("  " + zeros + "7  ").c_str(), 1, 7, 0, ""});
    Check({(zeros + "x").c_str(), 1, 0, static_cast<WORD>(longest),
           "Error an Position 65534 gefunden!"});
    Check({(zeros + "07").c_str(), 1, 0, 1, "Error an Position 1 gefunden!"});
    Check({std::string(200000, '(').c_str(), 1, 0, 1, "Error an Position 1 gefunden!"});
}

// Out-of-memory while evaluating: the first allocation after arming fails once.
namespace {
bool g_failNextAllocation = false;
}  // namespace

// Every unaligned form is replaced, so that no allocation can reach a runtime's own
// operator new and come back through this file's delete (or the other way round).
void* operator new(std::size_t size) {
    if (g_failNextAllocation) {
        g_failNextAllocation = false;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return operator new(size, std::nothrow);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

TEST(CFormulaParser, FailedAllocationGivesTheExceptionMessage) {
    CFormulaParser parser;
    CString formula("x * 4 + sin(x) * 2000");  // too long for a string kept in place
    WORD position = 7;
    CString message;
    g_failNextAllocation = true;
    const double value = parser.Calculation(std::move(formula), 10, position, message);
    g_failNextAllocation = false;
    EXPECT_EQ(0, value);
    EXPECT_EQ(7, position);
    EXPECT_EQ(CString("Error in Calculation() weil std::bad_alloc"), message);
}
