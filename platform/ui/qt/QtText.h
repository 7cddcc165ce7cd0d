// Text at the toolkit boundary: CString is Windows-1252, the toolkit is Unicode. File paths keep
// the operating system's bytes, UTF-8, and reach the text of messages, titles and dialogs as they
// are. So every text going to the toolkit is read one way: a well-formed multi-byte UTF-8 sequence
// is that character, and every other byte is its Windows-1252 character. The program's own texts
// are ASCII with lone Windows-1252 bytes (the degree sign), which are never well-formed UTF-8.
#pragma once

#include <QString>

#include "platform/os/CString.h"

QString ToQString(const char* text);
inline QString ToQString(const CString& text) {
    return ToQString(text.GetString());
}
// A text of the program as the user reads it: in the language in use (the catalogue's keys are the
// program's texts), then converted as above. Data never goes through it.
QString ShownQString(const char* text);
inline QString ShownQString(const CString& text) {
    return ShownQString(text.GetString());
}
// Characters that Windows-1252 cannot show become '?'.
CString FromQString(const QString& text);
// A path read as any text is; a path from the toolkit gets the bytes of the file it names (see
// PathFromShownText), so that a name that is not UTF-8 comes back as itself.
QString PathToQString(const CString& path);
CString PathFromQString(const QString& path);
