#include "platform/ui/qt/QtText.h"

#include <QFile>

#include "platform/os/TextEncoding.h"

QString ToQString(const char* text) {
    return text ? QString::fromStdString(DisplayTextToUtf8(text)) : QString();
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
