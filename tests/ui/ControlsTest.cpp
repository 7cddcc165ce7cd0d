// The controls' Windows behaviours: when they notify, what the program may change without a
// notification, and what the wrappers read and write.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPixmap>

#include "platform/ui/qt/Handles.h"
#include "platform/ui/qt/WindowLink.h"
#include "platform/ui/testing/ScriptedUi.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/ui/TestDialogs.h"

namespace {
class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestResources(); }

    template <class Dialog, class Body>
    void Run(Dialog& dlg, Body body) {
        ui.ExpectModal([&](CDialog&) {
            UiDriver::Show(dlg);
            body();
            dlg.EndDialog(IDOK);
        });
        dlg.DoModal();
    }
    ScriptedUi ui;
};
}  // namespace

TEST_F(ControlsTest, TemplateControlLandsAtItsPixelRectangle) {
    FormDialog dlg;
    Run(dlg, [&] {
        // IDC_INT is at 10, 20, 40 x 14 dialog units: 15, 33, 60 x 22 pixels with base units 6
        // x 13.
        EXPECT_EQ(UiDriver::Geometry(*dlg.GetDlgItem(IDC_INT)), CRect(15, 33, 75, 55));
        CRect client;
        dlg.GetClientRect(&client);
        EXPECT_EQ(client, CRect(0, 0, 300, 195));  // 200 x 120 dialog units
        EXPECT_FALSE(dlg.GetDlgItem(IDC_APPLY)->IsWindowEnabled());

        // A label too narrow for its text in the stand-in font grows instead of cutting it.
        const CRect label = UiDriver::Geometry(*dlg.GetDlgItem(IDC_LABEL));
        EXPECT_EQ(label.left, 240);
        EXPECT_GT(label.Width(), 30);

        // Screen rectangles map back to the client coordinates that the template gave.
        CRect screen;
        dlg.GetDlgItem(IDC_INT)->GetWindowRect(&screen);
        dlg.ScreenToClient(&screen);
        EXPECT_EQ(screen, CRect(15, 33, 75, 55));
        dlg.GetDlgItem(IDC_INT)->MoveWindow(1, 2, 30, 20);
        EXPECT_EQ(UiDriver::Geometry(*dlg.GetDlgItem(IDC_INT)), CRect(1, 2, 31, 22));
        EXPECT_TRUE(dlg.GetDlgItem(IDC_INT)->ShowWindow(SW_HIDE));
        EXPECT_FALSE(dlg.GetDlgItem(IDC_INT)->IsWindowVisible());
        EXPECT_FALSE(dlg.GetDlgItem(IDC_INT)->ShowWindow(SW_SHOW));
        EXPECT_TRUE(dlg.GetDlgItem(IDC_INT)->IsWindowVisible());
        EXPECT_TRUE(dlg.GetDlgItem(IDC_INT)->IsWindowEnabled());
    });
}

TEST_F(ControlsTest, SliderNotifiesBeforeEveryPaint) {
    PanelDialog dlg;
    Run(dlg, [&] {
        UiDriver::ProcessEvents();
        EXPECT_GT(dlg.customDraws, 0);  // the first paint
        int before = dlg.customDraws;
        UiDriver::ProcessEvents();
        EXPECT_EQ(dlg.customDraws, before);  // nothing painted, nothing sent

        dlg.m_slider.SetRange(0, 1023, FALSE);
        dlg.m_slider.SetPos(300);
        UiDriver::ProcessEvents();
        EXPECT_GT(dlg.customDraws, before);
        EXPECT_EQ(dlg.m_slider.GetPos(), 300);

        before = dlg.customDraws;
        dlg.m_slider.SetPos(300);  // the same position still repaints
        UiDriver::ProcessEvents();
        EXPECT_GT(dlg.customDraws, before);

        before = dlg.customDraws;
        dlg.Invalidate();
        UiDriver::ProcessEvents();
        EXPECT_GT(dlg.customDraws, before);

        before = dlg.customDraws;
        UiDriver::PressKey(dlg.m_slider, VK_RIGHT);
        UiDriver::ProcessEvents();
        EXPECT_EQ(dlg.m_slider.GetPos(), 301);
        EXPECT_GT(dlg.customDraws, before);

        dlg.m_slider.SetPos(5000);
        EXPECT_EQ(dlg.m_slider.GetPos(), 1023);  // limited to the range
        EXPECT_EQ(dlg.m_slider.GetRangeMax(), 1023);
    });
}

TEST_F(ControlsTest, ScrollBarAsksItsParentAndNeverMovesItself) {
    PanelDialog dlg;
    Run(dlg, [&] {
        dlg.m_scroll.SetScrollRange(0, 8, TRUE);
        dlg.m_scroll.SetScrollPos(3);
        dlg.EnableWindow(TRUE);
        dlg.m_scroll.EnableWindow(TRUE);
        UiDriver::ProcessEvents();

        for (UINT request : {SB_LINEDOWN, SB_LINEUP, SB_PAGEDOWN, SB_PAGEUP}) {
            dlg.scrolls.clear();
            UiDriver::ClickScrollBar(dlg.m_scroll, request);
            ASSERT_FALSE(dlg.scrolls.empty()) << request;
            EXPECT_EQ(dlg.scrolls.front().first, request);
            EXPECT_EQ(dlg.scrolls.back().first, SB_ENDSCROLL) << request;  // the button came up
            EXPECT_EQ(dlg.m_scroll.GetScrollPos(), 3) << request;
        }

        dlg.scrolls.clear();
        UiDriver::Wheel(dlg.m_scroll, -1);  // towards the person: down
        ASSERT_FALSE(dlg.scrolls.empty());
        EXPECT_EQ(dlg.scrolls.front().first, SB_THUMBTRACK);
        EXPECT_GT(dlg.scrolls.front().second, 3u);
        EXPECT_LE(dlg.scrolls.front().second, 8u);
        EXPECT_EQ(dlg.m_scroll.GetScrollPos(), 3);

        dlg.scrolls.clear();
        UiDriver::PressKey(dlg.m_scroll, VK_DOWN);
        ASSERT_EQ(dlg.scrolls.size(), 2u);
        EXPECT_EQ(dlg.scrolls[0].first, SB_LINEDOWN);
        EXPECT_EQ(dlg.scrolls[1].first, SB_ENDSCROLL);
        EXPECT_EQ(dlg.m_scroll.GetScrollPos(), 3);
        EXPECT_TRUE(dlg.scrollBarMatched);  // the handler got the bound wrapper

        // A handler that sets the position moves the bar.
        dlg.followLines = true;
        UiDriver::ClickScrollBar(dlg.m_scroll, SB_LINEDOWN);
        EXPECT_EQ(dlg.m_scroll.GetScrollPos(), 4);
        UiDriver::PressKey(dlg.m_scroll, VK_UP);
        EXPECT_EQ(dlg.m_scroll.GetScrollPos(), 3);

        int lo = -1;
        int hi = -1;
        dlg.m_scroll.GetScrollRange(&lo, &hi);
        EXPECT_EQ(lo, 0);
        EXPECT_EQ(hi, 8);
        EXPECT_EQ(dlg.m_scroll.SetScrollPos(20), 3);
        EXPECT_EQ(dlg.m_scroll.GetScrollPos(), 8);
    });
}

TEST_F(ControlsTest, ComboNotifiesForPeopleOnly) {
    FormDialog dlg;
    Run(dlg, [&] {
        CComboBox& combo = dlg.m_combo;
        EXPECT_EQ(combo.GetCount(), 3);
        EXPECT_EQ(combo.GetCurSel(), CB_ERR);
        EXPECT_EQ(combo.SetCurSel(1), 1);
        EXPECT_EQ(combo.SetCurSel(7), CB_ERR);
        EXPECT_EQ(combo.GetCurSel(), CB_ERR);
        EXPECT_EQ(dlg.comboChanges, 0);

        UiDriver::PickComboEntry(combo, 2);
        EXPECT_EQ(dlg.comboChanges, 1);
        EXPECT_EQ(combo.GetCurSel(), 2);
        UiDriver::PressKey(combo, VK_UP);
        EXPECT_EQ(dlg.comboChanges, 2);
        EXPECT_EQ(combo.GetCurSel(), 1);

        CString text;
        EXPECT_EQ(combo.GetLBText(2, text), 4);
        EXPECT_EQ(text, CString("blue"));
        EXPECT_EQ(combo.GetLBText(3, text), CB_ERR);
        combo.ResetContent();
        EXPECT_EQ(combo.GetCount(), 0);
        EXPECT_EQ(combo.AddString("only"), 0);
        EXPECT_EQ(combo.GetCurSel(), CB_ERR);  // adding does not select
        EXPECT_EQ(dlg.comboChanges, 2);
    });
}

TEST_F(ControlsTest, TabControlNotifiesForClicksOnly) {
    PanelDialog dlg;
    Run(dlg, [&] {
        CTabCtrl& tab = dlg.m_tab;
        EXPECT_EQ(tab.GetCurSel(), -1);
        EXPECT_EQ(tab.InsertItem(0, "Output 1"), 0);
        EXPECT_EQ(tab.GetCurSel(), 0);  // the first tab is selected, silently
        TCITEM item{};
        item.mask = TCIF_TEXT | TCIF_STATE;
        item.dwState = 1;
        item.pszText = const_cast<char*>("Output 2");
        EXPECT_EQ(tab.InsertItem(1, &item), 1);
        EXPECT_EQ(tab.InsertItem(9, "Output 3"), 2);  // past the end: appended
        EXPECT_EQ(tab.GetItemCount(), 3);
        EXPECT_EQ(tab.SetCurSel(2), 0);
        EXPECT_EQ(tab.SetCurSel(3), -1);
        UiDriver::ProcessEvents();
        EXPECT_EQ(dlg.tabChanges, 0);

        UiDriver::ClickTab(tab, 1);
        EXPECT_EQ(dlg.tabChanges, 1);
        EXPECT_EQ(tab.GetCurSel(), 1);
        UiDriver::ClickTab(tab, 1);  // the selected tab again: no change
        EXPECT_EQ(dlg.tabChanges, 1);

        CRect r0;
        CRect r1;
        ASSERT_TRUE(tab.GetItemRect(0, &r0));
        ASSERT_TRUE(tab.GetItemRect(1, &r1));
        EXPECT_GT(r0.Height(), 10);
        EXPECT_EQ(r0.top, r1.top);
        EXPECT_LT(r0.left, r1.left);
        EXPECT_FALSE(tab.GetItemRect(3, &r0));
        EXPECT_EQ(tab.GetItemText(1), CString("Output 2"));

        EXPECT_TRUE(tab.DeleteAllItems());
        EXPECT_EQ(tab.GetItemCount(), 0);
        EXPECT_EQ(tab.GetCurSel(), -1);
        EXPECT_EQ(tab.InsertItem(5, "Again"), 0);
        EXPECT_EQ(dlg.tabChanges, 1);
    });
}

TEST_F(ControlsTest, ListClickNotifiesAndKeyboardMovesTheSelectionSilently) {
    PanelDialog dlg;
    Run(dlg, [&] {
        CListCtrl& list = dlg.m_list;
        EXPECT_EQ(list.InsertColumn(0, "DMX", LVCFMT_LEFT, 45), 0);
        EXPECT_EQ(list.InsertColumn(1, "OUTPUT", LVCFMT_LEFT, 60), 1);
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
        EXPECT_EQ(list.GetExtendedStyle(), LVS_EX_FULLROWSELECT);
        for (int i = 0; i < 256; ++i) {
            CString text;
            text.Format("%d", i);
            ASSERT_EQ(list.InsertItem(i, text), i);
            list.SetItemText(i, 1, text + "0");
        }
        EXPECT_EQ(list.GetItemCount(), 256);
        EXPECT_EQ(list.GetItemText(17, 1), CString("170"));
        EXPECT_EQ(list.GetItemText(17, 0), CString("17"));
        EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), -1);
        EXPECT_EQ(list.GetFirstSelectedItemPosition(), nullptr);
        EXPECT_FALSE(list.SetItemText(300, 1, "x"));
        EXPECT_EQ(list.GetItemText(300, 0), CString());

        UiDriver::ClickListRow(list, 5);
        EXPECT_EQ(dlg.listClicks, 1);
        EXPECT_EQ(dlg.selectedAtClick, 5);  // the selection moved before the notification

        UiDriver::PressKey(list, VK_DOWN);
        EXPECT_EQ(dlg.listClicks, 1);
        UiDriver::DoubleClickListRow(list, 6);
        EXPECT_EQ(dlg.listClicks, 2);  // the second click of a double click is not another click
        EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 6);
        POSITION pos = list.GetFirstSelectedItemPosition();
        ASSERT_NE(pos, nullptr);
        EXPECT_EQ(list.GetNextSelectedItem(pos), 6);
        EXPECT_EQ(pos, nullptr);

        EXPECT_TRUE(list.SetItemState(10, LVIS_SELECTED, LVIS_SELECTED));
        EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 10);
        EXPECT_EQ(list.GetNextItem(10, LVNI_SELECTED), -1);  // one selected row
        EXPECT_EQ(list.GetItemState(10, LVIS_SELECTED), LVIS_SELECTED);
        EXPECT_EQ(dlg.listClicks, 2);  // program selections send nothing

        EXPECT_TRUE(list.DeleteAllItems());
        EXPECT_EQ(list.GetItemCount(), 0);
        EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), -1);
        EXPECT_EQ(list.InsertItem(40, "appended"), 0);
    });
}

TEST_F(ControlsTest, DigitsOnlyEditRefusesOtherKeysAndReadOnlyRefusesAll) {
    FormDialog dlg;
    Run(dlg, [&] {
        CWnd* digits = dlg.GetDlgItem(IDC_UINT);
        UiDriver::ClearText(*digits);
        UiDriver::TypeText(*digits, "12a-3");
        CString text;
        digits->GetWindowText(text);
        EXPECT_EQ(text, CString("123"));
        digits->SetWindowText("x9");  // the program may put anything there
        digits->GetWindowText(text);
        EXPECT_EQ(text, CString("x9"));

        CWnd* fixed = dlg.GetDlgItem(IDC_READONLY);
        UiDriver::TypeText(*fixed, "more");
        fixed->GetWindowText(text);
        EXPECT_EQ(text, CString("fixed"));

        const int before = dlg.textChanges;
        UiDriver::TypeText(dlg.m_editText, "ab");
        EXPECT_EQ(dlg.textChanges, before + 2);  // one per typed character
    });
}

TEST_F(ControlsTest, ProgressBarKeepsItsPositionInRangeAndWrapsWhenStepping) {
    PanelDialog dlg;
    Run(dlg, [&] {
        CProgressCtrl& p = dlg.m_progress;
        EXPECT_EQ(p.GetPos(), 0);
        int lo = -1;
        int hi = -1;
        p.GetRange(lo, hi);
        EXPECT_EQ(hi, 100);
        p.SetRange32(0, 12);
        EXPECT_EQ(p.SetPos(5), 0);
        EXPECT_EQ(p.SetPos(50), 5);
        EXPECT_EQ(p.GetPos(), 12);
        p.SetPos(0);
        EXPECT_EQ(p.SetStep(5), 10);
        EXPECT_EQ(p.StepIt(), 0);
        EXPECT_EQ(p.GetPos(), 5);
        p.StepIt();
        p.StepIt();  // 15 is past 12: starts again from the bottom
        EXPECT_EQ(p.GetPos(), 3);
        p.SetRange(0, 3);
        EXPECT_EQ(p.GetPos(), 3);
    });
}

TEST_F(ControlsTest, PictureShowsTheBitmapTopLeftByteForByte) {
    PanelDialog dlg;
    Run(dlg, [&] {
        // 3 x 2 pixels, top row first; each pixel blue, green, red, unused.
        const unsigned char bits[] = {
            1, 0, 0,   0, 255, 255, 255, 0, 10,  20, 30, 0,  //
            0, 0, 255, 0, 0,   255, 0,   0, 255, 0,  0,  0,
        };
        CBitmap bmp;
        ASSERT_TRUE(bmp.CreateBitmap(3, 2, 1, 32, bits));
        EXPECT_FALSE(bmp.CreateBitmap(3, 2, 1, 32, bits));  // already holds one
        unsigned char back[sizeof bits] = {};
        EXPECT_EQ(bmp.GetBitmapBits(sizeof back, back), sizeof bits);
        EXPECT_EQ(0, memcmp(back, bits, sizeof bits));
        BITMAP info{};
        ASSERT_GT(bmp.GetBitmap(&info), 0);
        EXPECT_EQ(info.bmWidth, 3);
        EXPECT_EQ(info.bmHeight, 2);
        EXPECT_EQ(info.bmBitsPixel, 32);

        const CRect before = UiDriver::Geometry(dlg.m_picture);
        EXPECT_EQ(dlg.m_picture.SetBitmap(bmp), nullptr);
        EXPECT_EQ(dlg.m_picture.SendMessage(STM_SETIMAGE, IMAGE_BITMAP,
                                            reinterpret_cast<LPARAM>(bmp.m_hObject)),
                  reinterpret_cast<LRESULT>(bmp.m_hObject));
        const CRect after = UiDriver::Geometry(dlg.m_picture);
        EXPECT_EQ(after.left, before.left);
        EXPECT_EQ(after.top, before.top);
        EXPECT_EQ(after.Width(), 3);
        EXPECT_EQ(after.Height(), 2);
        auto* label = dynamic_cast<QLabel*>(WidgetOf(dlg.m_picture.m_hWnd));
        ASSERT_NE(label, nullptr);
        const QImage shown = label->pixmap().toImage();
        EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, 0x000001u);
        EXPECT_EQ(shown.pixel(2, 0) & 0xFFFFFF, 0x1E140Au);
        EXPECT_EQ(shown.pixel(0, 1) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop);

        // A new picture in the same object replaces the shown one even at a reused address.
        const unsigned char white[4] = {255, 255, 255, 0};
        bmp.DeleteObject();
        ASSERT_TRUE(bmp.CreateBitmap(1, 1, 1, 32, white));
        dlg.m_picture.SetBitmap(bmp);
        EXPECT_EQ(label->pixmap().toImage().pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_EQ(UiDriver::Geometry(dlg.m_picture).Width(), 1);

        // The message reaches the picture through a plain window wrapper too, and other windows
        // ignore it.
        const HWND hPicture = dlg.m_picture.Detach();
        CWnd* temporary = CWnd::FromHandle(hPicture);
        ASSERT_NE(temporary, nullptr);
        const unsigned char grey[4] = {128, 128, 128, 0};
        CBitmap second;
        ASSERT_TRUE(second.CreateBitmap(1, 1, 1, 32, grey));
        EXPECT_EQ(temporary->SendMessage(STM_SETIMAGE, IMAGE_BITMAP,
                                         reinterpret_cast<LPARAM>(second.m_hObject)),
                  reinterpret_cast<LRESULT>(bmp.m_hObject));
        EXPECT_EQ(label->pixmap().toImage().pixel(0, 0) & 0xFFFFFF, 0x808080u);
        EXPECT_EQ(temporary->SendMessage(STM_SETIMAGE, IMAGE_BITMAP,
                                         reinterpret_cast<LPARAM>(bmp.m_hObject)),
                  reinterpret_cast<LRESULT>(second.m_hObject));
        ASSERT_TRUE(dlg.m_picture.Attach(hPicture));
        EXPECT_EQ(dlg.m_list.SendMessage(STM_SETIMAGE, IMAGE_BITMAP,
                                         reinterpret_cast<LPARAM>(bmp.m_hObject)),
                  0);
        EXPECT_EQ(dlg.m_list.SendMessage(STM_GETIMAGE), 0);
        EXPECT_EQ(dlg.m_picture.SendMessage(STM_GETIMAGE),
                  reinterpret_cast<LRESULT>(bmp.m_hObject));

        CBitmap unsupported;
        EXPECT_FALSE(unsupported.CreateBitmap(2, 2, 1, 24, nullptr));
        EXPECT_EQ(unsupported.GetSafeHandle(), nullptr);
    });
}
