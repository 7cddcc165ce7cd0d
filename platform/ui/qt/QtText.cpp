#include "platform/ui/qt/QtText.h"

#include <QFile>

namespace {
// Windows-1252 0x80-0x9F. The five unassigned bytes map to the C1 controls of the same value, as
// Windows converts them, so every byte survives a round trip.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The length of the well-formed multi-byte UTF-8 sequence at `p` (2 to 4) and its code point, or 0.
// Overlong forms, surrogates and code points above U+10FFFF are not well-formed.
int Utf8Sequence(const unsigned char* p, char32_t& code) {
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // the range of the second byte
    if (p[0] >= 0xC2 && p[0] <= 0xDF) {
        length = 2;
        code = p[0] & 0x1F;
    } else if (p[0] >= 0xE0 && p[0] <= 0xEF) {
        length = 3;
        code = p[0] & 0x0F;
        low = p[0] == 0xE0 ? 0xA0 : 0x80;
        high = p[0] == 0xED ? 0x9F : 0xBF;
    } else if (p[0] >= 0xF0 && p[0] <= 0xF4) {
        length = 4;
        code = p[0] & 0x07;
        low = p[0] == 0xF0 ? 0x90 : 0x80;
        high = p[0] == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        // The NUL that ends the text is no continuation byte, so nothing is read past it.
        if (p[i] < (i == 1 ? low : 0x80) || p[i] > (i == 1 ? high : 0xBF))
            return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    return length;
}
}  // namespace

QString ToQString(const char* text) {
    QString out;
    if (!text)
        return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        char32_t code = 0;
        if (const int length = *p >= 0x80 ? Utf8Sequence(p, code) : 0) {
            out.append(QString::fromUcs4(&code, 1));
            p += length - 1;
        } else if (*p >= 0x80 && *p <= 0x9F) {
            out.append(QChar(kHighTable[*p - 0x80]));
        } else {
            out.append(QChar(static_cast<char16_t>(*p)));
        }
    }
    return out;
}

CString FromQString(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        char byte = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            byte = static_cast<char>(u);
        } else {
            for (int i = 0; i < 32; ++i) {
                if (kHighTable[i] == u) {
                    byte = static_cast<char>(0x80 + i);
                    break;
                }
            }
        }
        out.push_back(byte);
    }
    return CString(out);
}

QString PathToQString(const CString& path) {
    return ToQString(path);
}

CString PathFromQString(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return CString(bytes.constData(), static_cast<int>(bytes.size()));
}
