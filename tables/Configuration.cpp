#include "tables/Configuration.h"

#include <cerrno>

#include "platform/os/PrivateProfile.h"

const char CONFIG_OTHER_BOARD[] = "Config-File is not for connected board !";

namespace {
constexpr const char* kDeviceSection = "DEVICE";
constexpr const char* kNameKey = "NAME";
constexpr DWORD kNameBufferSize = 255;

// The errno a refused call left, or `fallback` when it left none.
int ErrorOr(int fallback) {
    return errno != 0 ? errno : fallback;
}
}  // namespace

int SaveConfiguration(const char* path, const CString& deviceName, int tables,
                      const std::function<BOOL(int)>& saveTable) {
    // A name that cannot be stored (a line break in it) ends the save before any table: a file
    // without it would be refused on this same dimmer.
    errno = 0;
    const BOOL named = WritePrivateProfileStringA(kDeviceSection, kNameKey, deviceName, path);
    const int nameError = named ? 0 : ErrorOr(EINVAL);
    int tableError = 0;
    for (int k = 0; named && k < tables; ++k) {
        errno = 0;
        if (!saveTable(k) && tableError == 0) {
            tableError = ErrorOr(EIO);
        }
    }
    // The file is replaced only once it is complete: on failure the old one stays as it was. Also
    // after a refused name, so that nothing of this save is left held for the next one.
    const int flushError = FlushPrivateProfile(path);
    if (!named) {
        return nameError;
    }
    return flushError != 0 ? flushError : tableError;
}

bool ConfigurationIsFor(const char* path, const CString& deviceName) {
    char name[kNameBufferSize];
    GetPrivateProfileStringA(kDeviceSection, kNameKey, "", name, kNameBufferSize, path);
    return deviceName.Compare(name) == 0;
}
