// The sliders against emulated dimmers: what each paint sends, the labels, the 8-bit lookup mode
// and scrolling through the outputs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/testing/UiDriver.h"
#include "tests/app/DimmerRig.h"

namespace {

using Bytes = std::vector<BYTE>;

CSliderCtrl& Row(CBrenvoDlg& dlg, int row) {  // 1 to 4, top to bottom
    return dlg.m_sliders[CBrenvoDlg::SLIDER_ROWS - row];
}

std::string Label(CBrenvoDlg& dlg, int row) {
    CString text;
    dlg.GetDlgItem(IDC_LABEL_OUTPUT1 + row - 1)->GetWindowText(text);
    return text.GetString();
}

std::string Expected(int output, int value) {
    return "Output " + std::to_string(output) + " (=" + std::to_string(value) + "):";
}

// The last level written for an output since the log was cleared, or nothing.
Bytes LastLevel(DimmerRig& rig, int outputIndex) {
    Bytes last;
    for (const Bytes& write : rig.Cable().Writes()) {
        if (write.size() == SET_OUTPUT_LENGTH && write[0] == CMD_SET_OUTPUT + outputIndex) {
            last = write;
        }
    }
    return last;
}

}  // namespace

TEST(OutputControlTest, FirstPaintThenScrollingWithinTheRangeResendsTheOutputsShown) {
    struct Case {
        int from;
        UINT request;
        int thumb, to;
    } cases[] = {{0, SB_LINEUP, 0, 0},     {8, SB_LINEDOWN, 0, 8},      {6, SB_PAGEDOWN, 0, 8},
                 {5, SB_PAGEUP, 0, 1},     {3, SB_LINEDOWN, 0, 4},      {3, SB_ENDSCROLL, 0, 3},
                 {1, SB_THUMBTRACK, 8, 8}, {8, SB_THUMBPOSITION, 30, 8}};
    DimmerRig rig;
    rig.AttachCable("kav5806");
    rig.Run([&](CBrenvoDlg& dlg) {
        UiDriver::ProcessEvents();
        for (int row = 1; row <= 4; ++row) {
            EXPECT_EQ(LastLevel(rig, row - 1), (Bytes{BYTE(0xb0 + row - 1), 0, 0}));
            EXPECT_EQ(Label(dlg, row), Expected(row, 0));
        }
        EXPECT_TRUE(LastLevel(rig, 4).empty());
        for (int o = 0; o < CBrenvoDlg::MAX_OUTPUTS; ++o) {
            dlg.m_nOutputValue[o] = 1000 * o + 1;
        }
        const LPARAM bar = reinterpret_cast<LPARAM>(dlg.m_scrollBar.m_hWnd);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.from) + ", request " + std::to_string(c.request));
            dlg.SendMessage(WM_VSCROLL, SB_THUMBPOSITION | (WPARAM(c.from) << 16), bar);
            UiDriver::ProcessEvents();
            rig.Cable().ClearLog();
            if (c.request <= SB_PAGEDOWN) {
                UiDriver::ClickScrollBar(dlg.m_scrollBar, c.request);
            } else {
                dlg.SendMessage(WM_VSCROLL, c.request | (WPARAM(c.thumb) << 16), bar);
            }
            UiDriver::ProcessEvents();
            EXPECT_EQ(dlg.m_scrollBar.GetScrollPos(), c.to);
            for (int row = 1; row <= 4; ++row) {
                const int o = c.to + row - 1;
                const int v = 1000 * o + 1;
                EXPECT_EQ(Label(dlg, row), Expected(o + 1, v));
                EXPECT_EQ(LastLevel(rig, o), (Bytes{BYTE(0xb0 + o), BYTE(v), BYTE(v >> 8)}));
            }
        }
    });
}

TEST(OutputControlTest, LevelsGoOutLowByteFirstAndAreLookedUpInEightBitMode) {
    struct Case {
        const char* model;
        int row, position;
        bool lookup;
        Bytes sent;
    } cases[] = {
        {"kav5806", 1, 65535, false, {0xb0, 0xff, 0xff}},
        {"qp1", 3, 300, false, {0xb2, 0x2c, 0x01}},
        {"qp4", 2, 128, true, {0xb1, 0x34, 0x12}},  // entry 128 of page 2, set below
        {"qp4", 4, 255, true, {0xb3, 0xff, 0x03}},  // was at 700: the linear table's last entry
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        DimmerRig rig;
        rig.AttachCable(c.model);
        rig.Run([&](CBrenvoDlg& dlg) {
            dlg.m_tables[1].m_table[128] = 0x1234;
            Row(dlg, 4).SetPos(700);
            UiDriver::ProcessEvents();
            CWnd& box = *dlg.GetDlgItem(IDC_LOOKUP_8BIT);
            box.SetFocus();  // a slider that loses the focus repaints, and so sends
            UiDriver::ProcessEvents();
            rig.Cable().ClearLog();
            if (c.lookup) {
                UiDriver::Click(box);
                UiDriver::ProcessEvents();
                EXPECT_EQ(Row(dlg, c.row).GetRangeMax(), 255);
                EXPECT_TRUE(rig.Cable().Writes().empty()) << "the switch itself sends nothing";
            }
            Row(dlg, c.row).SetPos(c.position);
            UiDriver::ProcessEvents();
            EXPECT_EQ(LastLevel(rig, c.row - 1), c.sent);
            EXPECT_EQ(Label(dlg, c.row), Expected(c.row, c.position));
            if (c.lookup) {
                rig.Cable().ClearLog();
                UiDriver::Click(box);
                UiDriver::ProcessEvents();
                EXPECT_TRUE(rig.Cable().Writes().empty()) << "nor does switching back";
                EXPECT_EQ(Row(dlg, c.row).GetRangeMax(), dlg.m_nMaxValue);
                EXPECT_EQ(Row(dlg, c.row).GetPos(), c.position);
                EXPECT_EQ(dlg.m_nOutputValue[c.row - 1], c.position);
            }
        });
    }
}

TEST(OutputControlTest, WithoutALinkTheLabelAndValueChangeButNothingIsSent) {
    DimmerRig rig;
    rig.AttachCable(nullptr, CABLE_DESCRIPTION, FT_DEVICE_NOT_OPENED);  // controls usable, no link
    rig.Run([&](CBrenvoDlg& dlg) {
        UiDriver::ProcessEvents();
        rig.Cable().ClearLog();
        UiDriver::PressKey(Row(dlg, 2), VK_RIGHT);
        UiDriver::ProcessEvents();
        EXPECT_EQ(dlg.m_nOutputValue[1], 1);
        EXPECT_EQ(Label(dlg, 2), Expected(2, 1));
        EXPECT_TRUE(rig.Cable().Writes().empty());
    });
}
