#include "formula/CFormulaParser.h"

#include <cmath>
#include <cstdlib>
#include <exception>
#include <limits>

#include <locale.h>

namespace {

// Follows the last character of the formula in the working text; reading it gives the end token,
// which is the empty string (every other token is one character).
constexpr char kEndMarker = '\0';

constexpr double kPi = 3.141592653589793;

// Both the zero of x and the domain of "EXP" keep the results of the formula editor finite.
constexpr double kZeroX = 1e-99;
constexpr double kMaxExpArgument = 41.0;

constexpr int kDescriptionLimit = 255;

const char* const kPositionMessage = "Error an Position %d gefunden";
const char* const kMessageEnd = "!";
const char* const kExceptionMessage = "Error in Calculation() weil ";
const char* const kNoteDivision = " (Division durch Null)";
const char* const kNoteNoRoot = " (keine Wurzel aus neg. Zahl)";
const char* const kNoteDomain = " (Ein Error wurde abgefangen)";

// Matching takes the first name that fits, so a name that begins a longer one stands after it.
const char* const kFunctionNames[21] = {
    "",    "ABS", "SQR",    "SINH",   "COSH", "TANH", "ARCTAN", "LN",     "LOG",    "EXP",   "SIN",
    "COS", "TAN", "ARCSIN", "ARCCOS", "INT",  "RAD",  "DEG",    "ARSINH", "ARCOSH", "ARTANH"};

enum Function {
    kAbs = 1,
    kSqr,
    kSinh,
    kCosh,
    kTanh,
    kArctan,
    kLn,
    kLog,
    kExp,
    kSin,
    kCos,
    kTan,
    kArcsin,
    kArccos,
    kInt,
    kRad,
    kDeg,
    kArsinh,
    kArcosh,
    kArtanh
};

// The parameter letters in the order of their slots.
const char kParamLetters[10] = {'B', 'F', 'G', 'H', 'J', 'K', 'M', 'N', 'U', 'V'};

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsChar(const CString& token, char c) {
    return token.GetLength() == 1 && token[0] == c;
}

bool IsNumberChar(const CString& token) {
    return token.GetLength() == 1 && (IsDigit(token[0]) || token[0] == '.');
}

// Truncation toward zero to a 32-bit signed integer. A plain cast of a value outside that range is
// undefined, so such values saturate at the nearest end of the range and a value that is not a
// number gives 0. As a consequence the whole-number test of a power never holds for an exponent
// beyond the 32-bit range, and a negative base with such an exponent is refused.
LONG TruncateToLong(double d) {
    if (std::isnan(d)) {
        return 0;
    }
    if (d >= 2147483647.0) {
        return std::numeric_limits<LONG>::max();
    }
    if (d <= -2147483648.0) {
        return std::numeric_limits<LONG>::min();
    }
    return static_cast<LONG>(d);
}

// Numbers are read in the C locale whatever locale the user interface has set.
double ReadLeadingNumber(const CString& text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text.GetString(), nullptr, cLocale);
}

// Counts one level of nesting for as long as it lives.
class NestingLevel {
public:
    explicit NestingLevel(int& depth) : m_depth(depth) { ++m_depth; }
    ~NestingLevel() { --m_depth; }
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;

private:
    int& m_depth;
};

}  // namespace

CFormulaParser::CFormulaParser() {
    for (int i = 0; i < 21; ++i) {
        m_astrFunctions[i] = kFunctionNames[i];
    }
}

double CFormulaParser::Calculation(CString formula, double x, WORD& errorPosition,
                                   CString& message) {
    try {
        m_strNote.Empty();
        formula.Trim();
        if (formula.GetLength() > kMaxFormulaLength) {
            // Too long to address with a 16-bit position: refused before reading anything.
            errorPosition = 1;
            message.Format(kPositionMessage, 1);
            message += kMessageEnd;
            return 0.0;
        }
        m_strExpression = formula + kEndMarker;
        m_dX = (x == 0.0) ? kZeroX : x;
        m_nDepth = 0;

        WORD position = 0;
        CString token;
        GetNextToken(position, token);
        const double value = ParseSum(position, token);

        if (token.IsEmpty()) {
            errorPosition = 0;
            message = m_strNote;
        } else {
            errorPosition = position;
            message.Format(kPositionMessage, static_cast<int>(position));
            message += m_strNote;
            message += kMessageEnd;
        }
        return value;
    } catch (const std::exception& e) {
        message = CString(kExceptionMessage) + CString(e.what()).Left(kDescriptionLimit);
        return 0.0;
    }
}

double CFormulaParser::GetNextToken(WORD& position, CString& token) {
    do {
        ++position;
        // Only the marker after the formula ends it: a NUL byte inside the text is an ordinary,
        // unrecognised character, so that nothing after it is silently ignored.
        if (position == 0 || position >= m_strExpression.GetLength()) {
            token.Empty();
        } else {
            token = CString(m_strExpression[position - 1]);
        }
    } while (IsChar(token, ' '));
    return position;
}

double CFormulaParser::ParseSum(WORD& position, CString& token) {
    double a = ParseProduct(position, token);
    while (IsChar(token, '+') || IsChar(token, '-')) {
        const bool add = IsChar(token, '+');
        GetNextToken(position, token);
        const double b = ParseProduct(position, token);
        a = add ? a + b : a - b;
    }
    return a;
}

double CFormulaParser::ParseProduct(WORD& position, CString& token) {
    double a = ParsePower(position, token);
    while (IsChar(token, '*') || IsChar(token, '/')) {
        const bool multiply = IsChar(token, '*');
        GetNextToken(position, token);
        const double b = ParsePower(position, token);
        if (multiply) {
            a = a * b;
        } else if (b == 0.0) {
            m_strNote = kNoteDivision;
        } else {
            a = a / b;
        }
    }
    return a;
}

double CFormulaParser::ParsePower(WORD& position, CString& token) {
    double a = ParseSigned(position, token);
    while (IsChar(token, '^')) {
        GetNextToken(position, token);
        const double e = ParseSigned(position, token);
        if (a <= 0.0 && (std::fabs(e) <= 1.0 || e != static_cast<double>(TruncateToLong(e)))) {
            m_strNote = kNoteNoRoot;
        } else {
            a = std::pow(a, e);
        }
    }
    return a;
}

double CFormulaParser::ParseSigned(WORD& position, CString& token) {
    if (IsChar(token, '-')) {
        GetNextToken(position, token);
        return -1.0 * ParseFactor(position, token);
    }
    return ParseFactor(position, token);
}

double CFormulaParser::ParseFactor(WORD& position, CString& token) {
    if (token.IsEmpty()) {
        return 0.0;
    }
    const char c = token[0];

    if (IsDigit(c) || c == '.') {
        const WORD start = position;
        while (IsNumberChar(token)) {
            GetNextToken(position, token);
        }
        // The text may hold blanks that were skipped; the leading number of it counts.
        return ReadLeadingNumber(m_strExpression.Mid(start - 1, position - start));
    }

    if (c == '(') {
        if (m_nDepth >= kMaxNesting) {
            return 0.0;
        }
        NestingLevel level(m_nDepth);
        GetNextToken(position, token);
        const double value = ParseSum(position, token);
        if (IsChar(token, ')')) {
            GetNextToken(position, token);
        }
        return value;
    }

    const char upper = UpperAscii(c);
    if (upper == 'X') {
        GetNextToken(position, token);
        return m_dX;
    }
    for (int i = 0; i < 10; ++i) {
        if (upper == kParamLetters[i]) {
            GetNextToken(position, token);
            return m_dParams[i];
        }
    }

    for (int i = 1; i < 21; ++i) {
        const int length = m_astrFunctions[i].GetLength();
        CString candidate = m_strExpression.Mid(position - 1, length);
        if (candidate.MakeUpper() != m_astrFunctions[i]) {
            continue;
        }
        if (m_nDepth >= kMaxNesting) {
            return 0.0;
        }
        NestingLevel level(m_nDepth);
        position = static_cast<WORD>(position + length - 1);
        GetNextToken(position, token);
        const double a = ParseFactor(position, token);
        return ApplyFunction(i, a);
    }

    // Not an operand: left to the levels above.
    return 0.0;
}

double CFormulaParser::ApplyFunction(int index, double a) {
    bool inDomain = true;
    double value = a;
    switch (index) {
        case kAbs:
            value = std::fabs(a);
            break;
        case kSqr:
            inDomain = a >= 0.0;
            value = inDomain ? std::sqrt(a) : a;
            break;
        case kSinh:
            value = std::sinh(a);
            break;
        case kCosh:
            value = std::cosh(a);
            break;
        case kTanh:
            value = std::tanh(a);
            break;
        case kArctan:
            value = std::atan(a);
            break;
        case kLn:
            inDomain = a >= 0.0;
            value = inDomain ? std::log(a) : a;
            break;
        case kLog:
            inDomain = a >= 0.0;
            value = inDomain ? std::log10(a) : a;
            break;
        case kExp:
            inDomain = a <= kMaxExpArgument;
            value = inDomain ? std::exp(a) : a;
            break;
        case kSin:
            value = std::sin(a);
            break;
        case kCos:
            value = std::cos(a);
            break;
        case kTan:
            inDomain = std::cos(a) != 0.0;
            value = inDomain ? std::tan(a) : a;
            break;
        case kArcsin:
            inDomain = std::fabs(a) < 1.0;
            value = inDomain ? std::asin(a) : a;
            break;
        case kArccos:
            inDomain = std::fabs(a) <= 1.0;
            value = inDomain ? std::acos(a) : a;
            break;
        case kInt:
            value = TruncateToLong(a);
            break;
        case kRad:
            value = a * kPi / 180.0;
            break;
        case kDeg:
            value = a * 180.0 / kPi;
            break;
        case kArsinh:
            value = std::log(a + std::sqrt(a * a + 1.0));
            break;
        case kArcosh:
            inDomain = std::fabs(a) >= 1.0;
            value = inDomain ? std::log(a + std::sqrt(a * a - 1.0)) : a;
            break;
        case kArtanh:
            inDomain = std::fabs(a) <= 1.0;
            value = inDomain ? 0.5 * std::log((1.0 + a) / (1.0 - a)) : a;
            break;
        default:
            break;
    }
    if (!inDomain) {
        m_strNote = kNoteDomain;
    }
    return value;
}
