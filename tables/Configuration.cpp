#include "tables/Configuration.h"

#include <cerrno>

#include "platform/os/PrivateProfile.h"

const char CONFIG_OTHER_BOARD[] = "Config-File is not for connected board !";

namespace {
constexpr const char* kDeviceSection = "DEVICE";
constexpr const char* kNameKey = "NAME";
constexpr DWORD kNameBufferSize = 255;
}  // namespace

int SaveConfiguration(const char* path, const CString& deviceName, int tables,
                      const std::function<BOOL(int)>& saveTable) {
    int refused = 0;
    errno = 0;
    if (!WritePrivateProfileStringA(kDeviceSection, kNameKey, deviceName, path)) {
        refused = errno != 0 ? errno : EINVAL;
    }
    for (int k = 0; k < tables; ++k) {
        errno = 0;
        if (!saveTable(k) && refused == 0) {
            refused = errno != 0 ? errno : EINVAL;
        }
    }
    // The file is replaced only once it is complete: on failure the old one stays as it was.
    const int flushed = FlushPrivateProfile(path);
    return refused != 0 ? refused : flushed;
}

bool ConfigurationIsFor(const char* path, const CString& deviceName) {
    char name[kNameBufferSize];
    GetPrivateProfileStringA(kDeviceSection, kNameKey, "", name, kNameBufferSize, path);
    return deviceName.Compare(name) == 0;
}
