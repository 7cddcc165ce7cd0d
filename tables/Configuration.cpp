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
    int error = WritePrivateProfileStringA(kDeviceSection, kNameKey, deviceName, path)
                    ? 0
                    : ErrorOr(EINVAL);
    for (int k = 0; error == 0 && k < tables; ++k) {
        errno = 0;
        if (!saveTable(k)) {
            error = ErrorOr(EIO);
        }
    }
    // The file is replaced only once it is complete: after a refused write the old one stays as
    // it was, and nothing of this save is left held for the next one.
    if (error != 0) {
        DiscardPrivateProfile(path);
        return error;
    }
    return FlushPrivateProfile(path);
}

bool ConfigurationIsFor(const char* path, const CString& deviceName) {
    char name[kNameBufferSize];
    GetPrivateProfileStringA(kDeviceSection, kNameKey, "", name, kNameBufferSize, path);
    return deviceName.Compare(name) == 0;
}
