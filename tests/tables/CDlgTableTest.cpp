#include "tables/CDlgTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "emulator/IdentifyResponder.h"
#include "emulator/PtyPlayer.h"
#include "link/SerialTransport.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/support/TempRuntimeDir.h"
#include "tests/tables/PageHost.h"

namespace {

// Pages created inside a host window, the first one shown in its tab.
class TablePages {
public:
    TablePages(PageHost& host, int count, FT_HANDLE* cable) {
        for (int i = 0; i < count; ++i) {
            pages.push_back(std::make_unique<CDlgTable>());
            pages.back()->m_outputIndex = static_cast<BYTE>(i);
            pages.back()->m_pCableHandle = cable;
            pages.back()->Create(IDD_TABLE, &host.m_tabCtrl);
            host.m_tabCtrl.AddPage(pages.back().get(), "Output");
        }
        host.m_tabCtrl.SetCurSel(0);
        host.m_tabCtrl.ShowSelectedPage();
        UiDriver::ProcessEvents();
    }
    CDlgTable& operator[](int i) { return *pages[static_cast<size_t>(i)]; }
    std::vector<std::unique_ptr<CDlgTable>> pages;
};

CWnd& Control(CDlgTable& page, int id) {
    return *page.GetDlgItem(id);
}

CString BoxText(CDlgTable& page) {
    CString text;
    Control(page, IDC_VALUE).GetWindowText(text);
    return text;
}

std::vector<DWORD> CurvePixels(CDlgTable& page) {
    std::vector<DWORD> pixels(CDlgTable::CURVE_SIZE * CDlgTable::CURVE_SIZE);
    const DWORD bytes = static_cast<DWORD>(pixels.size() * sizeof(DWORD));
    EXPECT_EQ(page.m_bmpCurve.GetBitmapBits(bytes, pixels.data()), bytes);
    return pixels;
}

// The pixel rows of column c that are black, axis row excluded.
std::vector<int> MarkedRows(CDlgTable& page, int column) {
    const std::vector<DWORD> pixels = CurvePixels(page);
    std::vector<int> rows;
    for (int r = 0; r < CDlgTable::CURVE_SIZE - 1; ++r) {
        if (pixels[static_cast<size_t>(r * CDlgTable::CURVE_SIZE + column)] == 1) {
            rows.push_back(r);
        }
    }
    return rows;
}

// Types over the whole box, as a person does after selecting its text (clearing it first would be
// refused: an empty box is not a number).
void TypeValue(CDlgTable& page, const char* text) {
    CEdit edit;
    ASSERT_TRUE(edit.Attach(Control(page, IDC_VALUE).GetSafeHwnd()));
    edit.SetSel(0, -1);
    edit.Detach();
    UiDriver::TypeText(Control(page, IDC_VALUE), text);
}

class CDlgTableTest : public testing::Test {
protected:
    // The clipboard is shared by all pages of the process: every test starts with zeros.
    void SetUp() override { std::fill(g_tableClipboard, g_tableClipboard + TABLE_SIZE, WORD{0}); }
    // Runs `body` with `count` table pages in a host window, the first shown.
    void WithPages(int count, const std::function<void(TablePages&)>& body,
                   FT_HANDLE* cable = nullptr) {
        PageHost host;
        host.Run(ui, [&] {
            TablePages pages(host, count, cable);
            body(pages);
        });
    }
    ScriptedUi ui;
};

}  // namespace

TEST_F(CDlgTableTest, SetMaxValueFillsTheLinearCurveOfTheRange) {
    struct Case {
        WORD max;
        WORD at1, at128, at255;
    };
    const Case cases[] = {{511, 2, 256, 511}, {1023, 4, 513, 1023}, {65535, 257, 32896, 65535}};
    WithPages(1, [&](TablePages& pages) {
        CDlgTable& page = pages[0];
        EXPECT_EQ(page.m_maxValue, 1023) << "after initialisation";
        EXPECT_EQ(page.m_listTable.GetItemCount(), 0) << "the list waits for the first range";
        EXPECT_EQ(page.m_listTable.GetHeadingText(0), "DMX");
        EXPECT_EQ(page.m_listTable.GetColumnWidth(0), 45);
        EXPECT_EQ(page.m_listTable.GetHeadingText(1), "OUTPUT");
        EXPECT_EQ(page.m_listTable.GetColumnWidth(1), 60);
        EXPECT_TRUE(page.m_listTable.GetExtendedStyle() & LVS_EX_FULLROWSELECT);
        const char* const predefines[] = {
            "select Predefines...", "All on",       "All off", "Linear", "Gamma", "Invert",
            "Load from file",       "Save to file", "Formula",
        };
        ASSERT_EQ(page.m_cbPredefines.GetCount(), 9);
        for (int i = 0; i < 9; ++i) {
            CString item;
            page.m_cbPredefines.GetLBText(i, item);
            EXPECT_EQ(item, predefines[i]);
        }
        for (const Case& c : cases) {
            page.SetMaxValue(c.max);
            EXPECT_EQ(page.m_maxValue, c.max);
            EXPECT_EQ(page.m_table[0], 0);
            EXPECT_EQ(page.m_table[1], c.at1);
            EXPECT_EQ(page.m_table[128], c.at128);
            EXPECT_EQ(page.m_table[255], c.at255);
            ASSERT_EQ(page.m_listTable.GetItemCount(), 256);
            EXPECT_EQ(page.m_listTable.GetItemText(255, 0), "255");
            CString last;
            last.Format("%d", c.at255);
            EXPECT_EQ(page.m_listTable.GetItemText(255, 1), last);
        }
        EXPECT_EQ(page.m_cbPredefines.GetCurSel(), 0);
    });
}

TEST_F(CDlgTableTest, CopyAndPasteMoveWholeTablesBetweenPages) {
    WithPages(2, [&](TablePages& pages) {
        pages[0].SetMaxValue(1023);
        pages[1].SetMaxValue(65535);
        pages[1].m_cbPredefines.SetCurSel(3);

        // Before any Copy the clipboard holds zeros.
        UiDriver::Click(Control(pages[1], IDC_TABLE_PASTE));
        for (WORD v : pages[1].m_table) {
            ASSERT_EQ(v, 0);
        }
        EXPECT_EQ(pages[1].m_listTable.GetItemText(200, 1), "0");

        // Copy then Paste on the same page gives the copied table back, whatever changed between.
        const std::vector<WORD> before(pages[0].m_table, pages[0].m_table + TABLE_SIZE);
        UiDriver::Click(Control(pages[0], IDC_TABLE_COPY));
        UiDriver::Click(Control(pages[0], IDC_TABLE_PASTE));
        EXPECT_EQ(std::vector<WORD>(pages[0].m_table, pages[0].m_table + TABLE_SIZE), before);
        pages[0].SetMaxValue(511);
        UiDriver::Click(Control(pages[0], IDC_TABLE_PASTE));
        EXPECT_EQ(std::vector<WORD>(pages[0].m_table, pages[0].m_table + TABLE_SIZE), before);
        EXPECT_EQ(pages[0].m_listTable.GetItemText(255, 1), "1023");
        pages[0].SetMaxValue(1023);

        // Copy on one page and Paste on another moves the table, not the range or the selector.
        UiDriver::Click(Control(pages[1], IDC_TABLE_PASTE));
        EXPECT_EQ(std::vector<WORD>(pages[1].m_table, pages[1].m_table + TABLE_SIZE), before);
        EXPECT_EQ(pages[1].m_listTable.GetItemText(255, 1), "1023");
        EXPECT_EQ(pages[1].m_maxValue, 65535);
        EXPECT_EQ(pages[1].m_cbPredefines.GetCurSel(), 3);
    });
}

TEST_F(CDlgTableTest, TypedValuesGoToTheClickedRowAsTheirLow16Bits) {
    WithPages(1, [&](TablePages& pages) {
        CDlgTable& page = pages[0];
        page.SetMaxValue(1023);

        UiDriver::ClickListRow(page.m_listTable, 10);
        EXPECT_EQ(BoxText(page), "40") << "a click shows the row's entry";
        ASSERT_EQ(MarkedRows(page, 10 / 2 + 1).size(), 2u) << "entry 10 is drawn";

        TypeValue(page, "1500");
        EXPECT_EQ(page.m_table[10], 1500) << "nothing clamps entries";
        EXPECT_EQ(page.m_listTable.GetItemText(10, 1), "1500");
        EXPECT_TRUE(MarkedRows(page, 10 / 2 + 1).empty()) << "1500 lies above the drawable levels";

        TypeValue(page, "70000");
        EXPECT_EQ(page.m_table[10], 4464);
        EXPECT_EQ(page.m_listTable.GetItemText(10, 1), "4464");
        EXPECT_EQ(BoxText(page), "70000") << "the box keeps what was typed";
        EXPECT_EQ(page.m_nValue, 70000u);
        EXPECT_EQ(page.m_maxValue, 1023);
    });
}

TEST_F(CDlgTableTest, ARefusedValueIsAnsweredWithThePromptAndTheLastValueStays) {
    WithPages(1, [&](TablePages& pages) {
        CDlgTable& page = pages[0];
        page.SetMaxValue(1023);
        UiDriver::ClickListRow(page.m_listTable, 3);
        TypeValue(page, "77");
        ASSERT_EQ(page.m_table[3], 77);

        ui.ExpectMessageBox(IDOK);
        Control(page, IDC_VALUE).SetWindowText("7x");
        UiDriver::ProcessEvents();
        EXPECT_EQ(page.m_table[3], 77);
        EXPECT_EQ(page.m_nValue, 77u);
        EXPECT_EQ(BoxText(page), "77") << "the accepted value is written back";
        const auto prompts = ui.CallsOf(ScriptedUi::Kind::MessageBox);
        ASSERT_EQ(prompts.size(), 1u);
        EXPECT_EQ(prompts[0].text, "Please enter a positive integer.");
        EXPECT_EQ(ui.Pending(), 0u) << "the prompt was expected once";
    });
}

TEST_F(CDlgTableTest, KeyboardSelectionDoesNotFillTheBoxButTakesTheNextEdit) {
    WithPages(1, [&](TablePages& pages) {
        CDlgTable& page = pages[0];
        page.SetMaxValue(1023);
        UiDriver::ClickListRow(page.m_listTable, 20);
        ASSERT_EQ(BoxText(page), "80");

        UiDriver::PressKey(page.m_listTable, VK_DOWN);
        ASSERT_EQ(page.m_listTable.GetNextItem(-1, LVNI_SELECTED), 21);
        EXPECT_EQ(BoxText(page), "80") << "no click, no update of the box";

        TypeValue(page, "5");
        EXPECT_EQ(page.m_table[21], 5);
        EXPECT_EQ(page.m_table[20], 80);
    });
}

TEST_F(CDlgTableTest, TheSpaceBarIsTheKeyboardsClickOnTheRowWithTheFocus) {
    WithPages(1, [&](TablePages& pages) {
        CDlgTable& page = pages[0];
        page.SetMaxValue(1023);
        UiDriver::ClickListRow(page.m_listTable, 20);
        UiDriver::PressKey(page.m_listTable, VK_DOWN);
        ASSERT_EQ(BoxText(page), "80");
        UiDriver::PressKey(page.m_listTable, VK_SPACE);
        EXPECT_EQ(page.m_listTable.GetNextItem(-1, LVNI_SELECTED), 21);
        EXPECT_EQ(BoxText(page), "84") << "the box shows the row, as after a click";
    });
}

TEST_F(CDlgTableTest, EditsWithoutASelectedRowAreIgnored) {
    WithPages(1, [&](TablePages& pages) {
        CDlgTable& page = pages[0];
        page.SetMaxValue(1023);
        const std::vector<WORD> before(page.m_table, page.m_table + TABLE_SIZE);
        ASSERT_EQ(page.m_listTable.GetNextItem(-1, LVNI_SELECTED), -1);
        TypeValue(page, "9");
        EXPECT_EQ(std::vector<WORD>(page.m_table, page.m_table + TABLE_SIZE), before);
    });
}

TEST_F(CDlgTableTest, ThePreviewUsesTheSameHeightForTheTenBitAndSixteenBitRanges) {
    WithPages(2, [&](TablePages& pages) {
        CDlgTable& tenBit = pages[0];
        CDlgTable& sixteenBit = pages[1];
        tenBit.SetMaxValue(1023);
        sixteenBit.SetMaxValue(65535);

        const std::vector<DWORD> pixels = CurvePixels(tenBit);
        EXPECT_EQ(pixels[0], 1u) << "left axis";
        EXPECT_EQ(pixels[128 * 129 + 77], 1u) << "bottom axis";
        EXPECT_EQ(pixels[5 * 129 + 77], 0x00FFFFFFu) << "white with the fourth byte 0";

        // Entry 128 of the linear 1023 curve is 513: |1031 - 8r - 513| < 8 holds for rows 64, 65.
        EXPECT_EQ(MarkedRows(tenBit, 65), (std::vector<int>{64, 65}));
        // Entry 254 is 1018 on range 1023, and 65278 / 64 = 1019 on range 65535: rows 1 and 2.
        EXPECT_EQ(MarkedRows(tenBit, 128), (std::vector<int>{1, 2}));
        EXPECT_EQ(MarkedRows(sixteenBit, 128), (std::vector<int>{1, 2}));

        // The top of each range marks row 1 alone: 1023 is |1031 - 8 - 1023| = 0. The picture
        // gets each new bitmap from the redraw itself, never keeping the handle of a deleted one.
        const HBITMAP shown = tenBit.m_picCurve.GetBitmap();
        tenBit.m_table[254] = 1023;
        tenBit.RedrawCurve();
        EXPECT_NE(tenBit.m_picCurve.GetBitmap(), shown);
        EXPECT_EQ(tenBit.m_picCurve.GetBitmap(), tenBit.m_bmpCurve.GetSafeHandle());
        sixteenBit.m_table[254] = 65535;
        sixteenBit.RedrawCurve();
        EXPECT_EQ(MarkedRows(tenBit, 128), (std::vector<int>{1}));
        EXPECT_EQ(MarkedRows(sixteenBit, 128), (std::vector<int>{1}));
    });
}

TEST_F(CDlgTableTest, WriteAndReadFollowTheLinkAtEveryRedraw) {
    TempRuntimeDir runtime;
    IdentifyResponder dimmer("DMX-LED-Dimmer T5QM");
    PtyPlayer::Options options;
    options.publish = PtyPlayer::Publish::SerialPort;
    PtyPlayer player(dimmer, options);
    ASSERT_TRUE(player.Start());

    FT_HANDLE cable = nullptr;
    WithPages(
        1,
        [&](TablePages& pages) {
            CDlgTable& page = pages[0];
            auto usable = [&] {
                return Control(page, IDC_TABLE_WRITE).IsWindowEnabled() &&
                       Control(page, IDC_TABLE_READ).IsWindowEnabled();
            };
            auto unusable = [&] {
                return !Control(page, IDC_TABLE_WRITE).IsWindowEnabled() &&
                       !Control(page, IDC_TABLE_READ).IsWindowEnabled();
            };
            EXPECT_TRUE(unusable()) << "no link";

            int fakeHandle = 0;
            cable = &fakeHandle;
            page.RedrawCurve();
            EXPECT_TRUE(usable()) << "cable handle set";
            cable = nullptr;
            page.SetMaxValue(511);
            EXPECT_TRUE(unusable()) << "cable gone";

            ASSERT_TRUE(SerialOpen(player.ComNumber()));
            UiDriver::Click(Control(page, IDC_TABLE_PASTE));
            EXPECT_TRUE(usable()) << "serial port open";
            SerialClose();
            page.RedrawCurve();
            EXPECT_TRUE(unusable()) << "serial port closed";
        },
        &cable);
}
