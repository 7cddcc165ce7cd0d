// CFormulaParser: evaluates one formula in x for one value of x, reading the text directly (no
// token list, no tree). Arithmetic problems never stop it: they leave a note and a fallback value.
#pragma once

#include "platform/os/CString.h"
#include "platform/os/WinTypes.h"

class CFormulaParser {
public:
    // Longest formula (after trimming) that is evaluated: positions are 16-bit and the end marker
    // needs one of them.
    static constexpr int kMaxFormulaLength = 65534;
    // Deepest nesting of parentheses and function calls that is evaluated; a deeper construct is
    // left unread, so reading stops there with its position.
    static constexpr int kMaxNesting = 256;

    CFormulaParser();
    virtual ~CFormulaParser() = default;

    // Evaluates formula for x. errorPosition is 0 when the whole formula was read, otherwise the
    // 1-based position in the trimmed formula where reading stopped; message is the note of the
    // last arithmetic event, or the position message with that note. The value computed so far is
    // returned in every case. A formula longer than kMaxFormulaLength is not read at all: it gives
    // 0 with errorPosition 1.
    double Calculation(CString formula, double x, WORD& errorPosition, CString& message);

private:
    double GetNextToken(WORD& position, CString& token);
    double ParseSum(WORD& position, CString& token);
    double ParseProduct(WORD& position, CString& token);
    double ParsePower(WORD& position, CString& token);
    double ParseSigned(WORD& position, CString& token);
    double ParseFactor(WORD& position, CString& token);
    double ApplyFunction(int index, double a);

    CString m_strExpression;
    CString m_strNote;
    double m_dX = 0.0;
    // The parameter letters B F G H J K M N U V. Nothing in the program assigns them, so each one
    // reads as 0.
    double m_dParams[10] = {};
    CString m_astrFunctions[21];
    // Nesting depth of the evaluation under way, bounded by kMaxNesting.
    int m_nDepth = 0;
};
