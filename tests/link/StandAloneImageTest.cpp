// The scene file's parser and the whole-file loader.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>

#include "link/CDmxFile.h"
#include "link/StandAloneImage.h"

namespace {

StandAloneParse Parse(const std::string& text, StandAloneImage& image) {
    return ParseStandAloneFile(reinterpret_cast<const BYTE*>(text.data()), text.size(), image);
}

TEST(StandAloneImageTest, LinesFillTheImageAndCountTheirValues) {
    struct Case {
        const char* name;
        std::string text;
        DWORD count;
        std::map<DWORD, BYTE> bytes;  // every other address below 8 holds 0xff
    } cases[] = {
        {"three lines", "0000:12\r\n0001:34\r\n0002:56\r\n", 3, {{0, 0x12}, {1, 0x34}, {2, 0x56}}},
        {"either case, LF or CR", "0000:1a\n0001:1A\r", 2, {{0, 0x1a}, {1, 0x1a}}},
        {"low 8 bits", "0005:1FF\r\n", 1, {{5, 0xff}}},
        {"8 digits", "0001:FFFFFFFF\r\n", 1, {{1, 0xff}}},
        {"repeat counts twice", "0000:11\r\n0001:22\r\n0001:33\r\n", 3, {{0, 0x11}, {1, 0x33}}},
        {"no final break", "0000:11\r\n0001:22", 1, {{0, 0x11}}},
        {"no colon: last address", "0003:11\r\n22\r\n", 2, {{3, 0x22}}},
        {"other bytes skipped", " 00 02 :\t7 f ;xyz\r\n", 1, {{2, 0x7f}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StandAloneImage image;
        image.bytes.fill(0x5a);  // what the parse must replace
        ASSERT_EQ(Parse(c.text, image), StandAloneParse::Ok);
        EXPECT_EQ(image.count, c.count);
        for (DWORD a = 0; a < 8; ++a) {
            const auto it = c.bytes.find(a);
            EXPECT_EQ(image.bytes[a], it == c.bytes.end() ? STANDALONE_ERASED : it->second) << a;
        }
    }
}

TEST(StandAloneImageTest, AddressesOutsideTheImageAndTooManyValuesAreRefused) {
    std::string full;  // one line for each address of the image
    char line[16];
    for (DWORD a = 0; a < STANDALONE_IMAGE_SIZE; ++a) {
        std::snprintf(line, sizeof line, "%04lX:%02lX\n", static_cast<unsigned long>(a),
                      static_cast<unsigned long>(a & 0xff));
        full += line;
    }
    struct Case {
        std::string text;
        StandAloneParse result;
        DWORD line;  // refused, or the count when accepted
    } cases[] = {
        {full, StandAloneParse::Ok, STANDALONE_IMAGE_SIZE},
        {"80E8:\r\n0000:01\r\n", StandAloneParse::Ok, 1},  // an address alone stores nothing
        {"0000:01\r\n80E8:02\r\n", StandAloneParse::AddressOutside, 2},
        {"\n\nFFFFFFFF:02\n", StandAloneParse::AddressOutside, 3},
        {"0000:01\n:02\n", StandAloneParse::AddressOutside, 2},
        {full + "0000:00\n", StandAloneParse::TooManyValues, STANDALONE_IMAGE_SIZE + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        StandAloneImage image;
        ASSERT_EQ(Parse(c.text, image), c.result);
        EXPECT_EQ(c.result == StandAloneParse::Ok ? image.count : image.refusedLine, c.line);
    }
}

TEST(StandAloneImageTest, LoaderHoldsTheWholeFileOrNothing) {
    char folder[] = "/tmp/brenvo-dmx-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/scene.hex";
    const std::string content("0000:12\r\n\0\xff", 11);
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);

    CDmxFile file;
    ASSERT_TRUE(file.Load(path.c_str()));
    EXPECT_EQ(std::string(file.GetData(), static_cast<std::size_t>(file.GetSize())), content);
    EXPECT_EQ(file.GetAt(10), static_cast<char>(0xff));
    EXPECT_FALSE(file.Load(folder)) << "a folder is no file";
    EXPECT_EQ(file.GetSize(), 0);
    EXPECT_FALSE(file.Release()) << "the failed load kept nothing of the previous file";
    std::remove(path.c_str());
    rmdir(folder);
}

// The size limit is judged on the file that is read. The file is small when each load begins and
// grows past the limit at some moment during it (a long path stretches the time between finding
// the file and opening it): a load either refuses it or holds it within the limit, never larger.
TEST(StandAloneImageTest, AFileThatGrowsWhileItIsLoadedIsNeverHeldBeyondTheLimit) {
    char folder[] = "/tmp/brenvo-dmx-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string name = std::string(folder) + "/scene.hex";
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    std::string path = std::string(folder) + "/";
    while (path.size() < 3000) {
        path += "./";
    }
    path += "scene.hex";
    constexpr LONG kLimit = 100;
    std::atomic<int> round{0};
    std::atomic<int> grown{0};
    std::thread grower([&] {
        for (int r = 1; r <= 1000; ++r) {
            while (round.load() < r) {
            }
            const auto at =
                std::chrono::steady_clock::now() + std::chrono::microseconds(r % 50 * 2);
            while (std::chrono::steady_clock::now() < at) {
            }
            ::ftruncate(fd, 5000);
            grown = r;
        }
    });
    int beyond = 0;
    for (int r = 1; r <= 1000; ++r) {
        EXPECT_EQ(::ftruncate(fd, kLimit - 1), 0);
        round = r;
        CDmxFile file;
        bool tooLarge = false;
        if (file.Load(path.c_str(), kLimit, tooLarge) && file.GetSize() > kLimit) {
            ++beyond;
        }
        while (grown.load() < r) {
            std::this_thread::yield();
        }
    }
    grower.join();
    ::close(fd);
    EXPECT_EQ(beyond, 0) << "loads that held more than the limit, of 1000";
    std::remove(name.c_str());
    rmdir(folder);
}

}  // namespace
