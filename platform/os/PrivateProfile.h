// The private-profile (INI file) services with the Windows rules. A save is thousands of calls, so
// the parsed file is kept between calls and written out only when flushed (new file, then rename);
// every call still sees the effect of every earlier one, and a file changed by someone else since
// it was read is read again (and this process's writes since the last flush are made again): always
// before it is written, otherwise once the file has been left alone for a few milliseconds.
#pragma once

#include "platform/os/WinTypes.h"

// Far beyond any configuration file; a larger file is not read (it reads as empty).
constexpr long long kMaxPrivateProfileBytes = 16 * 1024 * 1024;

// Copies the value of `keyName` in section `appName` into `returnedString` (at most size - 1
// characters and a NUL) and returns the number of characters copied. A missing file, section or
// key gives `defaultValue` (null counts as "") with its trailing spaces (not tabs) cut and one pair
// of outer quotes removed. A null section or key name finds nothing. Section "" is the text before
// the first header, even when there is none.
DWORD GetPrivateProfileStringA(const char* appName, const char* keyName, const char* defaultValue,
                               char* returnedString, DWORD size, const char* fileName);

// Stores the value; a missing file is created. FALSE, with errno set, when the file cannot be read
// or the names or value cannot be stored (line breaks, a key that would not read back: EINVAL).
// All three names null flushes the file (FALSE when that fails); other null names are refused.
// Errors are errno values or the results of SafeFile.h; FileErrorText gives their text.
BOOL WritePrivateProfileStringA(const char* appName, const char* keyName, const char* string,
                                const char* fileName);

// Writes out the changes made to the file since it was last flushed and returns the result of
// that: 0 when the file now holds them (or there was nothing to write), otherwise an errno; then
// the file on disk stays as it was and the unsaved changes are dropped. A write that could not read
// the file makes the flush fail with its errno and write nothing; a refused value is reported by
// its own call only. Changes not yet flushed are written when the process ends.
int FlushPrivateProfile(const char* fileName);

// Drops the changes made to the file since it was last flushed, and any failure held for its
// flush: the file on disk stays as it is, and later calls see it so.
void DiscardPrivateProfile(const char* fileName);
