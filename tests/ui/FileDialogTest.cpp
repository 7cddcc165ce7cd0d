// The file dialogs through the scripted seam: the request, the default extension, the overwrite
// question and files that must exist.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <string>

#include "platform/ui/CFileDialog.h"
#include "platform/ui/testing/ScriptedUi.h"

namespace {
class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/brenvo-ui-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        existing = dir + "/Existing.txt";
        std::FILE* f = std::fopen(existing.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    void TearDown() override {
        std::remove(existing.c_str());
        rmdir(dir.c_str());
    }
    CString Path(const char* name) const { return CString((dir + "/" + name).c_str()); }

    ScriptedUi ui;
    std::string dir;
    std::string existing;
};

constexpr const char* kFilter = "TEXT Files (*.txt)|*.txt|All Files (*.*)|*.*||";
}  // namespace

TEST_F(FileDialogTest, SaveAppendsTheDefaultExtensionAndPassesTheRequestOn) {
    CFileDialog dlg(FALSE, ".txt", "Table_Output1.txt", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    kFilter);
    ui.ExpectFileDialog(Path("Table"));
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetPathName(), Path("Table.txt"));
    EXPECT_EQ(dlg.GetFileName(), CString("Table.txt"));
    EXPECT_EQ(dlg.GetFileExt(), CString("txt"));
    EXPECT_EQ(dlg.GetFileTitle(), CString("Table"));
    const auto calls = ui.CallsOf(ScriptedUi::Kind::FileDialog);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FALSE(calls[0].open);
    EXPECT_EQ(calls[0].defExt, CString("txt"));
    EXPECT_EQ(calls[0].text, CString("Table_Output1.txt"));
    EXPECT_EQ(calls[0].caption, CString(kFilter));
    EXPECT_EQ(calls[0].type, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST);
}

TEST_F(FileDialogTest, SaveWithoutOverwritePromptTakesAnExistingFileSilently) {
    CFileDialog dlg(FALSE, "txt", nullptr, OFN_HIDEREADONLY, kFilter);
    ui.ExpectFileDialog(Path("Existing"));
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetPathName(), Path("Existing.txt"));
    EXPECT_TRUE(ui.CallsOf(ScriptedUi::Kind::MessageBox).empty());
}

TEST_F(FileDialogTest, OverwritePromptAsksAndNoChoosesAgain) {
    CFileDialog dlg(FALSE, "txt", "x.txt", OFN_OVERWRITEPROMPT, kFilter);
    ui.ExpectFileDialog(Path("Existing"));  // the extension makes it an existing file
    ui.ExpectMessageBox(IDNO);
    ui.ExpectFileDialog(Path("Fresh.txt"));
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetPathName(), Path("Fresh.txt"));
    const auto boxes = ui.CallsOf(ScriptedUi::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, CString("Existing.txt already exists.\nDo you want to replace it?"));
    EXPECT_EQ(boxes[0].type & MB_TYPEMASK, MB_YESNO);
    EXPECT_EQ(ui.CallsOf(ScriptedUi::Kind::FileDialog)[1].text, Path("Existing.txt"));
}

TEST_F(FileDialogTest, OverwritePromptYesTakesTheFile) {
    CFileDialog dlg(FALSE, "txt", nullptr, OFN_OVERWRITEPROMPT, kFilter);
    ui.ExpectFileDialog(Path("Existing.txt"));
    ui.ExpectMessageBox(IDYES);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetPathName(), Path("Existing.txt"));
}

TEST_F(FileDialogTest, CancelLeavesNoPath) {
    CFileDialog dlg(TRUE, "ini", "config.ini", OFN_FILEMUSTEXIST, "Config Files (*.ini)|*.ini||");
    ui.ExpectFileDialogCancel();
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.GetPathName().IsEmpty());
    EXPECT_TRUE(ui.CallsOf(ScriptedUi::Kind::FileDialog)[0].open);
}

TEST_F(FileDialogTest, OpenOfAMissingFileThatMustExistComplainsAndAsksAgain) {
    CFileDialog dlg(TRUE, "txt", "Table.txt", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kFilter);
    ui.ExpectFileDialog(Path("Missing.txt"));
    ui.ExpectMessageBox(IDOK);
    ui.ExpectFileDialogCancel();
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    const auto boxes = ui.CallsOf(ScriptedUi::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.Find("File not found."), 12);
}

TEST_F(FileDialogTest, OpenFindsANameTypedWithoutItsExtension) {
    CFileDialog dlg(TRUE, "txt", nullptr, OFN_FILEMUSTEXIST, kFilter);
    ui.ExpectFileDialog(Path("Existing"));
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetPathName(), Path("Existing.txt"));
}
