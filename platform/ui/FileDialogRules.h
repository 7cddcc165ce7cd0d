// The rules of the file dialogs that do not depend on the toolkit: filter conversion and the
// default extension. Text stays Windows-1252 here.
#pragma once

#include "platform/os/CString.h"

// "HEX Files (*.hex)|*.hex|All Files (*.*)|*.*||" -> "HEX Files (*.hex);;All Files (*)".
// The description is kept; when it does not show the patterns they are added in parentheses.
// Patterns separated by ';' become space-separated; "*.*" becomes "*".
CString ConvertFileFilter(const char* windowsFilter);
// The default extension without a leading dot ("txt" from ".txt" or "txt"); empty for none.
CString NormalizeDefaultExtension(const char* defExt);
// Appends "." + extension when the file name (after the last '/') has no '.'; unchanged otherwise.
CString AppendDefaultExtension(const CString& path, const char* defExt);
