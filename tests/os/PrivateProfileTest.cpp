// The private-profile services: a file goes in, one call is made, the file comes out.
#include "platform/os/PrivateProfile.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/os/SafeFile.h"
#include "platform/os/TimeService.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string("<none>");
}

void Spill(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

enum Call { Get, Write };

struct Case {
    const char* name;
    const char* in;  // null: no file
    Call call;
    const char* section;
    const char* key;
    const char* arg;    // Get: the default; Write: the value
    int result;         // Get: the count returned; Write: the BOOL
    const char* value;  // Get: the text returned
    const char* out;    // the file after the flush; null: as it went in
    DWORD size = 255;   // Get: the buffer size
};

const Case kCases[] = {
    // Reading.
    {"names without regard to case", "[Dev]\r\nName=x\r\n", Get, "DEV", "nAME", "d", 1, "x",
     nullptr},
    {"outer blanks and tabs ignored", " \t[ A\t]\t \r\n \tk \t=\t v w\t \r\n", Get, " a\t", "\tK ",
     "", 3, "v w", nullptr},
    {"inner blanks must match", "[A]\r\nk x=1\r\n", Get, "A", "kx", "d", 1, "d", nullptr},
    {"double quotes removed", "[A]\r\nk= \"a b\" \r\n", Get, "A", "k", "", 3, "a b", nullptr},
    {"single quotes removed", "[A]\r\nk='ab'\r\n", Get, "A", "k", "", 2, "ab", nullptr},
    {"unmatched quotes stay", "[A]\r\nk=\"ab'\r\n", Get, "A", "k", "", 4, "\"ab'", nullptr},
    {"a lone quote stays", "[A]\r\nk= ' \r\n", Get, "A", "k", "", 1, "'", nullptr},
    {"key= is empty, not the default", "[A]\r\nk=\r\n", Get, "A", "k", "d", 0, "", nullptr},
    {"no inline comments", "[A]\r\nk=abc ;x\r\n", Get, "A", "k", "", 6, "abc ;x", nullptr},
    {"; starts a comment", "[A]\r\n ;k=1\r\nk=2\r\n", Get, "A", "k", "", 1, "2", nullptr},
    {"# does not", "[A]\r\n#k=1\r\n", Get, "A", "#k", "", 1, "1", nullptr},
    {"a line without = is no key", "[A]\r\nk\r\n", Get, "A", "k", "d", 1, "d", nullptr},
    {"value after the first =", "[A]\r\nk=a=b\r\n", Get, "A", "k", "", 3, "a=b", nullptr},
    {"first of duplicate sections", "[A]\r\nk=1\r\n[a]\r\nk=2\r\nj=3\r\n", Get, "A", "j", "d", 1,
     "d", nullptr},
    {"first of duplicate keys", "[A]\r\nk=1\r\nK=2\r\n", Get, "A", "k", "", 1, "1", nullptr},
    {"text before the first header", "k=0\r\n[A]\r\n", Get, "", "k", "", 1, "0", nullptr},
    {"a later [] is not the text before the first header", "[A]\r\n[ ]\r\nk=1\r\n", Get, "", "k",
     "d", 1, "d", nullptr},
    {"header to the last ]", "[A]x] junk\r\nk=1\r\n", Get, "A]x", "k", "", 1, "1", nullptr},
    {"[X without ] is no header", "[X\r\nk=1\r\n", Get, "", "k", "", 1, "1", nullptr},
    {"LF, CR and no final line end", "[A]\nk=1\rj=2", Get, "A", "j", "", 1, "2", nullptr},
    {"byte-order mark skipped", "\xEF\xBB\xBF[A]\r\nk=1\r\n", Get, "A", "k", "", 1, "1", nullptr},
    {"value cut to the buffer", "[A]\r\nk=abcdef\r\n", Get, "A", "k", "", 3, "abc", nullptr, 4},
    {"empty buffer: nothing written", "[A]\r\nk=abc\r\n", Get, "A", "k", "", 0, "untouched",
     nullptr, 0},
    {"missing file: default loses trailing spaces, not tabs", nullptr, Get, "A", "k",
     " \"q r\" \t  ", 8, " \"q r\" \t", nullptr},
    {"missing key: default unquoted", "[A]\r\n", Get, "A", "k", "'q' ", 1, "q", nullptr},
    {"default cut to the buffer", nullptr, Get, "A", "k", "abcdef", 2, "ab", nullptr, 3},

    // Writing.
    {"missing file created", nullptr, Write, "A", "k", "v", TRUE, "", "[A]\r\nk=v\r\n"},
    {"new key after the section's last line", "[A]\r\nx=1\r\n;c\r\n\r\n[B]\r\ny=2\r\n", Write, "a",
     "k", " v ", TRUE, "", "[A]\r\nx=1\r\n;c\r\nk=v\r\n\r\n[B]\r\ny=2\r\n"},
    {"changed in place in the file's spelling", "[Sec]\nKey = 1 \n; c\n", Write, "SEC", "key",
     " 2 ", TRUE, "", "[Sec]\nKey=2\r\n; c\n"},
    {"the stored value leaves the file alone", "[A]\n k = \"5\" \n", Write, "A", "K", "\"5\"", TRUE,
     "", nullptr},
    {"new section at the end, line end added", "[A]\nx=1", Write, "B", "k", "v", TRUE, "",
     "[A]\nx=1\r\n[B]\r\nk=v\r\n"},
    {"new key in the first of duplicate sections", "[A]\r\nx=1\r\n[A]\r\ny=2\r\n", Write, "A", "k",
     "v", TRUE, "", "[A]\r\nx=1\r\nk=v\r\n[A]\r\ny=2\r\n"},
    {"key of the text before the first header", "k=0\r\n\r\n[A]\r\n", Write, "", "j", "1", TRUE, "",
     "k=0\r\nj=1\r\n\r\n[A]\r\n"},
    {"key of an empty text before the first header", "[A]\r\n[]\r\n", Write, "", "j", "1", TRUE, "",
     "j=1\r\n[A]\r\n[]\r\n"},
    {"new key at the end of the last section", "[A]\r\nx=1", Write, "A", "k", "v", TRUE, "",
     "[A]\r\nx=1\r\nk=v\r\n"},
    {"keys of the last section stay above a new one", "[A]\r\n", Write, "B", "k", "1", TRUE, "",
     "[A]\r\n[B]\r\nk=1\r\n"},
    {"a key with = is refused", nullptr, Write, "A", "k=x", "v", FALSE, "", "<none>"},
    {"a key read as a comment is refused", "[A]\r\n", Write, "A", ";k", "v", FALSE, "", nullptr},
    {"a line break is refused", "[A]\r\n", Write, "A", "k", "v\r\n[B]", FALSE, "", nullptr},
};

// A clock that stands still unless the test moves it on.
class FrozenClock final : public TimeService {
public:
    FrozenClock() { SetTimeService(this); }
    ~FrozenClock() override { SetTimeService(nullptr); }
    void Sleep(DWORD milliseconds) override { m_nowMs += milliseconds; }
    void Beep(DWORD, DWORD) override {}
    LONGLONG Counter() override { return m_nowMs; }
    LONGLONG Frequency() override { return 1000; }

private:
    LONGLONG m_nowMs = 1000000;
};

class PrivateProfileTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) { return m_dir.Path() + "/" + name + ".ini"; }
    TempRuntimeDir m_dir;
};

}  // namespace

TEST_F(PrivateProfileTest, FileInCallFileOut) {
    int n = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf("case" + std::to_string(n++));
        if (c.in) {
            Spill(path, c.in);
        }
        if (c.call == Get) {
            char buffer[255] = "untouched";
            EXPECT_EQ(
                GetPrivateProfileStringA(c.section, c.key, c.arg, buffer, c.size, path.c_str()),
                static_cast<DWORD>(c.result));
            EXPECT_STREQ(buffer, c.value);
        } else {
            EXPECT_EQ(WritePrivateProfileStringA(c.section, c.key, c.arg, path.c_str()), c.result);
        }
        EXPECT_EQ(FlushPrivateProfile(path.c_str()), 0);
        EXPECT_EQ(Slurp(path), c.out ? c.out : c.in ? c.in : "<none>");
    }
}

TEST_F(PrivateProfileTest, AFileChangedUnderTheCacheIsReadAgainWithTheUnsavedChanges) {
    FrozenClock clock;  // only the test moves it: a slow machine changes nothing
    const std::string path = PathOf("shared");
    Spill(path, "[A]\r\nx=1\r\n");
    ASSERT_TRUE(WritePrivateProfileStringA("A", "x", "1", path.c_str()));  // already stored
    ASSERT_TRUE(WritePrivateProfileStringA("A", "k", "1", path.c_str()));
    // Another program replaces the file before this one flushes.
    Spill(path + ".other", "[B]\r\ny=2\r\n");
    ASSERT_EQ(::rename((path + ".other").c_str(), path.c_str()), 0);
    clock.Sleep(20);  // past the burst of one command
    char buffer[8] = "";
    EXPECT_EQ(GetPrivateProfileStringA("B", "y", "", buffer, sizeof buffer, path.c_str()), 1u);
    EXPECT_TRUE(WritePrivateProfileStringA("B", "y", "3", path.c_str()));
    // Replaced again just before the flush, within one command's burst: the flush reads it again.
    Spill(path + ".other", "[B]\r\ny=2\r\nz=4\r\n");
    ASSERT_EQ(::rename((path + ".other").c_str(), path.c_str()), 0);
    EXPECT_EQ(FlushPrivateProfile(path.c_str()), 0);
    EXPECT_EQ(Slurp(path), "[B]\r\ny=3\r\nz=4\r\n[A]\r\nx=1\r\nk=1\r\n");
}

TEST_F(PrivateProfileTest, ASaveThatCannotWriteIsReportedAndDropped) {
    struct Target {
        const char* name;
        std::string path;
        int error;
        bool goneAfterOneWrite;       // a later write then finds no file and holds its value
        bool otherFileFirst = false;  // another file is used between the write and the flush
    };
    const std::string folder = PathOf("folder");
    const std::string briefly = PathOf("briefly");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(briefly.c_str(), 0700), 0);
    const std::string pipe = PathOf("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const Target targets[] = {
        {"missing folder", m_dir.Path() + "/missing/config.ini", ENOENT, false},
        {"a folder", folder, EISDIR, false},
        {"a pipe", pipe, kErrorTargetIsPipe, false},
        {"a folder for one write: nothing is written without it", briefly, EISDIR, true},
        {"another file used before the flush", folder, EISDIR, false, true},
    };
    for (const Target& t : targets) {
        SCOPED_TRACE(t.name);
        WritePrivateProfileStringA("A", "k", "v", t.path.c_str());
        if (t.goneAfterOneWrite) {
            ASSERT_EQ(::rmdir(t.path.c_str()), 0);
            EXPECT_TRUE(WritePrivateProfileStringA("A", "j", "w", t.path.c_str()));
        }
        if (t.otherFileFirst) {
            char other[8] = "";
            GetPrivateProfileStringA("A", "k", "", other, sizeof other, PathOf("other").c_str());
        }
        EXPECT_EQ(WritePrivateProfileStringA(nullptr, nullptr, nullptr, t.path.c_str()), FALSE);
        EXPECT_EQ(errno, t.error);
        char buffer[8] = "";
        EXPECT_EQ(GetPrivateProfileStringA("A", "k", "d", buffer, sizeof buffer, t.path.c_str()),
                  1u)
            << "the unsaved change is gone";
        EXPECT_EQ(FlushPrivateProfile(t.path.c_str()), 0) << "reported once";
    }
    EXPECT_EQ(Slurp(briefly), "<none>");
    struct stat st = {};
    EXPECT_TRUE(::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}
