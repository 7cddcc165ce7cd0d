// A configuration file: the dimmer's name (section DEVICE, key NAME) and one section per output
// table, through the private-profile services.
#pragma once

#include <functional>

#include "platform/os/CString.h"

// What the operator is told when a file was saved for another dimmer.
extern const char CONFIG_OTHER_BOARD[];  // "Config-File is not for connected board !"

// Writes NAME, then table k = 0 .. tables - 1 through `saveTable` (FALSE: a write was refused),
// then writes the file out. Returns 0, or the error of what failed (FileErrorText gives its text):
// after a refused name or table write, or a flush that fails, the file stays as it was.
int SaveConfiguration(const char* path, const CString& deviceName, int tables,
                      const std::function<BOOL(int)>& saveTable);
// Whether the file's NAME is exactly `deviceName` (a missing NAME is "").
bool ConfigurationIsFor(const char* path, const CString& deviceName);
