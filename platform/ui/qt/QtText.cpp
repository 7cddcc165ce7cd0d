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
}  // namespace

QString ToQString(const char* text) {
    QString out;
    if (!text)
        return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p >= 0x80 && *p <= 0x9F) {
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
    return QFile::decodeName(QByteArray(path.GetString()));
}

CString PathFromQString(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return CString(bytes.constData(), static_cast<int>(bytes.size()));
}
