// Saving a configuration file: a save that is refused part-way leaves the file as it was.
#include "tables/Configuration.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/os/PrivateProfile.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(ConfigurationTest, ARefusedWriteLeavesTheFileAsItWasAndTheSaveFails) {
    const std::string before = "; mine\r\n[DEVICE]\r\nNAME=QP2\r\n[TABLE0]\r\nMAX=1023\r\n";
    const struct {
        const char* name;
        const char* deviceName;
        int refusedTable;  // -1: none
        int error;
        std::string after;
    } cases[] = {
        {"every write stored", "QP4", -1, 0,
         "; mine\r\n[DEVICE]\r\nNAME=QP4\r\n[TABLE0]\r\nMAX=7\r\n[TABLE1]\r\nMAX=7\r\n"},
        {"a table refused", "QP4", 1, EINVAL, before},
        {"the first table refused", "QP4", 0, EINVAL, before},
        {"the name refused", "QP\r\n4", -1, EINVAL, before},
    };
    TempRuntimeDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Path() + "/rig.ini";
        std::ofstream(path, std::ios::binary) << before;
        const int error = SaveConfiguration(path.c_str(), c.deviceName, 2, [&](int k) {
            const std::string section = "TABLE" + std::to_string(k);
            return k == c.refusedTable
                       ? WritePrivateProfileStringA(section.c_str(), "MAX", "7\r\n[X]",
                                                    path.c_str())
                       : WritePrivateProfileStringA(section.c_str(), "MAX", "7", path.c_str());
        });
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(Slurp(path), c.after);
        // Nothing of a refused save is held for the next flush of the file.
        EXPECT_EQ(FlushPrivateProfile(path.c_str()), 0);
        EXPECT_EQ(Slurp(path), c.after);
    }
}
