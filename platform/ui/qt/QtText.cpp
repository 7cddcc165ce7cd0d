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

namespace {
// How the toolkit's own file dialog shows a name that is not UTF-8.
std::string ToolkitReading(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name)).toStdString();
}
}  // namespace

CString PathFromQString(const QString& path) {
    const std::string bytes = PathFromShownText(path.toStdString(), &ToolkitReading);
    return CString(bytes.data(), static_cast<int>(bytes.size()));
}
