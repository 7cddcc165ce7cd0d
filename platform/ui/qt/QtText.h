// Text at the toolkit boundary: CString is Windows-1252, the toolkit is Unicode. File paths keep
// the operating system's bytes.
#pragma once

#include <QString>

#include "platform/os/CString.h"

QString ToQString(const char* text);
inline QString ToQString(const CString& text) {
    return ToQString(text.GetString());
}
// Characters that Windows-1252 cannot show become '?'.
CString FromQString(const QString& text);
QString PathToQString(const CString& path);
CString PathFromQString(const QString& path);
