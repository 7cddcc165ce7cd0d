#include "platform/ui/qt/QtText.h"

#include <QFile>

#include "platform/os/TextEncoding.h"
#include "platform/os/UserLanguage.h"

QString ToQString(const char* text) {
    return text ? QString::fromStdString(DisplayTextToUtf8(text)) : QString();
}

QString ShownQString(const char* text) {
    return text ? ToQString(ShownText(text).c_str()) : QString();
}

CString FromQString(const QString& text) {
    return CString(Utf8ToWindows1252(text.toStdString()));
}

QString PathToQString(const CString& path) {
    return ToQString(path);
}

CString PathFromQString(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return CString(bytes.constData(), static_cast<int>(bytes.size()));
}
