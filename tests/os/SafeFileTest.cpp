// Safe saves: what a target that cannot be replaced is called, and the new files that a save
// killed part-way left behind.
#include "platform/os/SafeFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <string>

#include "tests/support/TempRuntimeDir.h"

namespace {

bool Exists(const std::string& path) {
    struct stat st = {};
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

TEST(SafeFileTest, ATargetThatIsNoFileIsNamedAndStays) {
    TempRuntimeDir dir;
    const std::string folder = dir.Path() + "/folder";
    const std::string pipe = dir.Path() + "/pipe";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const struct {
        std::string path;
        const char* text;
        mode_t kind;
    } cases[] = {
        {folder, "Is a directory", S_IFDIR},
        {pipe, "Is a pipe", S_IFIFO},
        {"/dev/null", "Is a device", S_IFCHR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(FileErrorText(WriteFileSafely(c.path, "x\n")), c.text);
        struct stat st = {};
        EXPECT_TRUE(::stat(c.path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == c.kind);
    }
}

TEST(SafeFileTest, ASaveRemovesWhatAKilledSaveOfTheSameFileLeft) {
    TempRuntimeDir dir;
    const std::string target = dir.Path() + "/Table.txt";
    const std::string gone = ".new4194305-";  // above any process id: that process is gone
    const std::string alive = ".new" + std::to_string(::getpid()) + "-";
    const struct {
        std::string name;
        bool removed;
    } files[] = {
        {"Table.txt" + gone + "0", true},
        {"Table.txt" + gone + "17", true},
        {"Table.txt" + alive + "99", false},    // a save in progress
        {"Other.txt" + gone + "0", false},      // another file's
        {"Table.txt" + gone + "0.bak", false},  // not a name a save gives
        {"Table.txt.new-0", false},
        {"xTable.txt" + gone + "0", false},
    };
    for (const auto& f : files) {
        std::ofstream(dir.Path() + "/" + f.name) << "partial";
    }
    ASSERT_EQ(WriteFileSafely(target, "1\n"), 0);
    for (const auto& f : files) {
        EXPECT_EQ(Exists(dir.Path() + "/" + f.name), !f.removed) << f.name;
    }
}
