// Text conversion at the toolkit boundary, dialog units, and the file dialogs' rules.
#include <gtest/gtest.h>

#include <QFontInfo>

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/os/PrivateProfile.h"
#include "platform/os/SafeFile.h"
#include "platform/ui/FileDialogRules.h"
#include "platform/ui/qt/DialogUnits.h"
#include "platform/ui/qt/QtText.h"
#include "tests/support/TempRuntimeDir.h"

TEST(DialogUnitsTest, MappedFontHasTheWindowsBaseUnits) {
    // Fails when DejaVu Sans Condensed is missing and another font stands in.
    EXPECT_EQ(QFontInfo(DialogFont()).family(), QStringLiteral("DejaVu Sans Condensed"));
    EXPECT_EQ(DialogBaseUnits(), QSize(6, 13));
}

TEST(DialogUnitsTest, EdgesAreConvertedAndRounded) {
    // 6 x 13 base units: x * 6 / 4 and y * 13 / 8, each edge rounded.
    EXPECT_EQ(MapDialogRect(10, 20, 40, 14), QRect(15, 33, 60, 22));
    EXPECT_EQ(MapDialogRect(0, 0, 536, 175), QRect(0, 0, 804, 284));
    EXPECT_EQ(MapDialogRect(1, 1, 1, 1),
              QRect(2, 2, 1, 1));  // 1.5 -> 2, 3 -> 3; 1.625 -> 2, 3.25 -> 3
}

TEST(Windows1252Test, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString q = ToQString(all.c_str());
    ASSERT_EQ(q.size(), 255);
    EXPECT_EQ(FromQString(q).str(), all);
}

TEST(Windows1252Test, HighBytesMapToTheirCharacters) {
    struct Case {
        const char* bytes;
        char16_t unicode;
    };
    const Case cases[] = {
        {"\x80", 0x20AC},  // euro sign
        {"\x9F", 0x0178},  // Y with diaeresis
        {"\x96", 0x2013},  // en dash
        {"\xB0", 0x00B0},  // degree sign, as in "%d \xB0C"
        {"\xFC", 0x00FC},  // u with diaeresis
        {"\x81", 0x0081},  // unassigned: kept as the control character
    };
    for (const Case& c : cases) {
        const QString q = ToQString(c.bytes);
        ASSERT_EQ(q.size(), 1) << c.bytes;
        EXPECT_EQ(q.at(0).unicode(), c.unicode) << std::hex << static_cast<int>(c.unicode);
        EXPECT_EQ(FromQString(q), CString(c.bytes));
    }
}

TEST(Windows1252Test, CharactersOutsideTheSetBecomeQuestionMarks) {
    EXPECT_EQ(FromQString(QString::fromUtf8("a\u4E2Db\u20ACc")), CString("a?b\x80"
                                                                         "c"));
    EXPECT_EQ(ToQString(static_cast<const char*>(nullptr)), QString());
}

TEST(Windows1252Test, WellFormedUtf8IsItsCharacterAndEveryOtherByteWindows1252) {
    struct Case {
        const char* bytes;
        const char16_t* shown;
    };
    const Case cases[] = {
        {"85 \xB0"
         "C",
         u"85 \u00B0C"},                                    // the program's own degree sign
        {"Tabell\xC3\xA9.txt", u"Tabell\u00E9.txt"},        // two bytes
        {"\xE8\xA1\xA8", u"\u8868"},                        // three
        {"\xF0\x9F\x92\xA1", u"\U0001F4A1"},                // four: a surrogate pair
        {"\xC0\xAF", u"\u00C0\u00AF"},                      // overlong
        {"\xED\xA0\x80", u"\u00ED\u00A0\u20AC"},            // a surrogate
        {"\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC"},  // above U+10FFFF
        {"\xE8\xA1", u"\u00E8\u00A1"},                      // cut short by the end
        {"\xC3(\xA9", u"\u00C3(\u00A9"},                    // interrupted
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToQString(c.bytes), QString::fromUtf16(c.shown)) << c.bytes;
    }
}

// Paths are the file system's UTF-8 bytes: the messages and the file dialogs show their
// characters, the dialogs give back their bytes, and files at them save and load.
TEST(PathTextTest, NamesWithAccentsShowAsTheyAreAndTheirFilesSaveAndLoad) {
    TempRuntimeDir dir;
    const char16_t* names[] = {u"Tabell\u00E9", u"Gr\u00FC\u00DFe", u"\u8868\u683C"};
    for (const char16_t* name : names) {
        const QString shown = ToQString(dir.Path().c_str()) + "/" + QString::fromUtf16(name);
        const CString path = PathFromQString(shown + ".txt");
        SCOPED_TRACE(path.GetString());
        EXPECT_EQ(QString::fromUtf8(path.GetString()), shown + ".txt") << "UTF-8 on disk";
        EXPECT_EQ(PathToQString(path), shown + ".txt") << "the proposed name";
        EXPECT_EQ(ToQString("File (" + path + ") already exists. Do you want to override ?"),
                  "File (" + shown + ".txt) already exists. Do you want to override ?");
        EXPECT_EQ(ToQString("Config-File (" + path + ") could not be saved: Is a pipe."),
                  "Config-File (" + shown + ".txt) could not be saved: Is a pipe.");

        ASSERT_EQ(WriteFileSafely(path.str(), "0\n4\n"), 0);  // a table file
        std::ifstream in(path.GetString());
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "0\n4\n");
        const CString config = path + ".ini";
        ASSERT_TRUE(WritePrivateProfileStringA("DEVICE", "NAME", "QP4", config));
        ASSERT_EQ(FlushPrivateProfile(config), 0);
        char value[8] = "";
        EXPECT_EQ(GetPrivateProfileStringA("DEVICE", "NAME", "", value, sizeof value, config), 3u);
    }
}

// A name that is not UTF-8 shows as Windows-1252 here and as a replacement character in the
// toolkit's own file list: picked either way, the path is the file's own bytes.
TEST(PathTextTest, APickedPathIsTheFilesOwnBytes) {
    TempRuntimeDir dir;
    const std::string root = dir.Path() + "/";
    const std::string latin = "Ordner\xE4";  // a Latin-1 folder
    ASSERT_EQ(::mkdir((root + latin).c_str(), 0700), 0);
    for (const std::string name :
         {"caf\xE9.ini", "caf\xE9 \xC3\xA9t\xE9.ini", "Gro\xC3\x9F.ini", "dup\xE9.txt",
          "dup\xC3\xA9.txt", "two\xE8.txt", "two\xE9.txt", "Ordner\xE4/t\xE9st.txt"}) {
        std::ofstream(root + name) << "x";
    }
    const QString shownRoot = ToQString(root.c_str());
    const struct {
        const char16_t* shown;  // as the dialog gives it back, after the folder
        const char* bytes;
    } cases[] = {
        {u"caf\u00E9.ini", "caf\xE9.ini"},  // as Windows-1252 shows it
        {u"caf\uFFFD.ini", "caf\xE9.ini"},  // as the toolkit's list shows it
        {u"caf\u00E9 \u00E9t\u00E9.ini", "caf\xE9 \xC3\xA9t\xE9.ini"},  // mixed bytes
        {u"Gro\u00DF.ini", "Gro\xC3\x9F.ini"},
        {u"Ordner\u00E4/t\u00E9st.txt", "Ordner\xE4/t\xE9st.txt"},
        {u"Ordner\u00E4/neu \u00E9.txt", "Ordner\xE4/neu \xC3\xA9.txt"},  // a new file in it
        {u"neu \u00E9.ini", "neu \xC3\xA9.ini"},                          // a new file: UTF-8
        {u"dup\u00E9.txt", "dup\xC3\xA9.txt"},      // the name as spelled wins over a look-alike
        {u"two\uFFFD.txt", "two\xEF\xBF\xBD.txt"},  // two look-alikes: no guess
    };
    for (const auto& c : cases) {
        const QString shown = shownRoot + QString::fromUtf16(c.shown);
        SCOPED_TRACE(shown.toStdString());
        EXPECT_EQ(PathFromQString(shown).str(), root + c.bytes);
    }
}

TEST(FileFilterTest, WindowsFiltersBecomeToolkitFilters) {
    struct Case {
        const char* windows;
        const char* toolkit;
    };
    const Case cases[] = {
        {"HEX Files (*.hex)|*.hex|All Files (*.*)|*.*||", "HEX Files (*.hex);;All Files (*)"},
        {"TEXT Files (*.txt)|*.txt|All Files (*.*)|*.*||", "TEXT Files (*.txt);;All Files (*)"},
        {"Config Files (*.ini)|*.ini||", "Config Files (*.ini)"},
        {"Pictures|*.png;*.bmp||",
         "Pictures (*.png *.bmp)"},  // patterns missing from the description
        {"Pictures (*.png;*.bmp)|*.png;*.bmp||", "Pictures (*.png *.bmp)"},
        {"", ""},
        {"Broken|", ""},  // a description without patterns is left out
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConvertFileFilter(c.windows), CString(c.toolkit)) << c.windows;
    EXPECT_EQ(ConvertFileFilter(nullptr), CString());
}

TEST(FileFilterTest, DefaultExtensionOnlyForNamesWithoutOne) {
    struct Case {
        const char* path;
        const char* ext;
        const char* result;
    };
    const Case cases[] = {
        {"/tmp/Table", ".txt", "/tmp/Table.txt"},
        {"/tmp/Table", "txt", "/tmp/Table.txt"},
        {"/tmp/Table.csv", ".txt", "/tmp/Table.csv"},
        {"/tmp/a.dir/Table", "ini",
         "/tmp/a.dir/Table.ini"},  // a dot in a folder name does not count
        {"/tmp/Table", "", "/tmp/Table"},
        {"/tmp/Table", nullptr, "/tmp/Table"},
        {"/tmp/", "txt", "/tmp/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AppendDefaultExtension(CString(c.path), c.ext), CString(c.result)) << c.path;
    }
}
