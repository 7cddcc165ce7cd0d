// Text conversion at the toolkit boundary, dialog units, and the file dialogs' rules.
#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/ui/FileDialogRules.h"
#include "platform/ui/qt/DialogUnits.h"
#include "platform/ui/qt/QtText.h"

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
