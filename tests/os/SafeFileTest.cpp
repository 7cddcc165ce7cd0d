// Safe saves: what a target that cannot be replaced is called, the new files that a save killed
// part-way left behind, and two saves of one file at once.
#include "platform/os/SafeFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/TempRuntimeDir.h"

namespace {

bool Exists(const std::string& path) {
    struct stat st = {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Makes the file look unchanged for two hours.
void Age(const std::string& path) {
    const timespec old[2] = {{::time(nullptr) - 7200, 0}, {::time(nullptr) - 7200, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), old, AT_SYMLINK_NOFOLLOW), 0) << path;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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

// Only a new file that is certainly one of a dead save's is removed: a user's files whatever their
// names, and the new file of a save that may still be running, stay.
TEST(SafeFileTest, ASaveRemovesOnlyWhatADeadSaveOfTheSameFileLeft) {
    TempRuntimeDir dir;
    const std::string target = dir.Path() + "/rig.ini";
    const std::string ours = ".rig.ini.~brenvo-";
    const std::string digits = "0123456789abcdef";
    const struct {
        std::string name;
        bool old;     // unchanged for two hours
        bool locked;  // held by a save in progress
        bool removed;
    } files[] = {
        {ours + digits, true, false, true},
        {ours + "fedcba9876543210", true, false, true},
        {ours + "0123456789abcde0", false, false, false},  // recent: a save elsewhere may write it
        {ours + "0123456789abcde1", true, true, false},    // a running save's
        {"rig.ini.new2024-12", true, false, false},        // the user's notes
        {"rig.ini.new20240105-1", true, false, false},
        {"rig.ini.new4194305-0", true, false, false},
        {ours + digits.substr(1), true, false, false},  // not a name a save gives
        {ours + digits + "0", true, false, false},
        {ours + "0123456789ABCDEF", true, false, false},
        {ours + digits + ".bak", true, false, false},
        {"rig.ini.~brenvo-" + digits, true, false, false},
        {".other.ini.~brenvo-" + digits, true, false, false},
        {".xrig.ini.~brenvo-" + digits, true, false, false},
    };
    // Not regular files of their own: a link to an old file, a folder, a second name of a file.
    const std::string aged = dir.Path() + "/aged";
    std::ofstream(aged) << "mine";
    Age(aged);
    const std::string link = dir.Path() + "/" + ours + "1111111111111111";
    const std::string folder = dir.Path() + "/" + ours + "2222222222222222";
    const std::string second = dir.Path() + "/" + ours + "3333333333333333";
    ASSERT_EQ(::symlink(aged.c_str(), link.c_str()), 0);
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(::link(aged.c_str(), second.c_str()), 0);

    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed new file" : "named new file");
        std::vector<int> locks;
        for (const auto& f : files) {
            const std::string path = dir.Path() + "/" + f.name;
            std::ofstream(path) << "partial";
            if (f.old) {
                Age(path);
            }
            if (f.locked) {
                locks.push_back(::open(path.c_str(), O_RDWR | O_CLOEXEC));
                ASSERT_EQ(::flock(locks.back(), LOCK_EX | LOCK_NB), 0);
            }
        }
        SetUnnamedNewFilesForTesting(unnamed);
        ASSERT_EQ(WriteFileSafely(target, "1\n"), 0);
        for (const auto& f : files) {
            EXPECT_EQ(Exists(dir.Path() + "/" + f.name), !f.removed) << f.name;
        }
        for (const std::string& kept : {aged, link, folder, second}) {
            EXPECT_TRUE(Exists(kept)) << kept;
        }
        for (const int fd : locks) {
            ::close(fd);
        }
    }
    SetUnnamedNewFilesForTesting(true);
}

// Two saves of one file at once: the clean-up of the second leaves the first one's new file alone,
// even when it looks as old as a dead save's, and the first still replaces the file.
TEST(SafeFileTest, ASaveInProgressKeepsItsNewFile) {
    TempRuntimeDir dir;
    const std::string target = dir.Path() + "/Table.txt";
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed new file" : "named new file");
        SetUnnamedNewFilesForTesting(unnamed);
        std::string seen;
        SetSafeSaveStepForTesting([&](const std::string& newFile) {
            SetSafeSaveStepForTesting(nullptr);
            seen = newFile;
            EXPECT_EQ(Slurp(newFile), "first\n") << "complete before it is named";
            Age(newFile);
            EXPECT_EQ(WriteFileSafely(target, "second\n"), 0);
            EXPECT_TRUE(Exists(newFile));
        });
        EXPECT_EQ(WriteFileSafely(target, "first\n"), 0);
        EXPECT_FALSE(seen.empty());
        EXPECT_FALSE(Exists(seen));
        EXPECT_EQ(Slurp(target), "first\n");
    }
    SetSafeSaveStepForTesting(nullptr);
    SetUnnamedNewFilesForTesting(true);
}

// The new file's name holds the target's name cut to fit: a target with the longest name saves.
TEST(SafeFileTest, ATargetWithTheLongestNameSaves) {
    TempRuntimeDir dir;
    const std::string target = dir.Path() + "/" + std::string(NAME_MAX - 4, 'n') + ".ini";
    for (const bool unnamed : {true, false}) {
        SetUnnamedNewFilesForTesting(unnamed);
        EXPECT_EQ(WriteFileSafely(target, unnamed ? "1\n" : "2\n"), 0);
        EXPECT_EQ(Slurp(target), unnamed ? "1\n" : "2\n");
    }
    SetUnnamedNewFilesForTesting(true);
}
