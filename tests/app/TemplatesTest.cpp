// The windows built from Brenvo's templates: every control's id, text, place in pixels and initial
// state, against the layout the program is designed with (dialog units at base units 6 x 13).
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "platform/ui/CDialog.h"
#include "platform/ui/CDialogPage.h"
#include "platform/ui/testing/ScriptedUi.h"
#include "platform/ui/testing/UiDriver.h"
#include "resources/BrenvoResources.h"
#include "tests/tables/PageHost.h"

namespace {

// How a control's size follows its template: exactly; labels and check boxes may grow where the
// substitute font (or a translation) needs more room than the template's, so that no text is
// clipped; a drop-down list's template height is its open list; a picture sizes itself to its
// bitmap.
enum class Fit { Exact, Text, Width, Place };

struct Expected {
    UINT templateId;
    UINT id;
    const char* text;  // nullptr: no text
    int x, y, cx, cy;  // dialog units
    bool enabled;
    Fit fit;
};

// clang-format off
const Expected kControls[] = {
    {IDD_BRENVO_DIALOG, 1003, nullptr, 86, 32, 162, 15, false, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1004, nullptr, 86, 17, 162, 15, false, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1032, "Output 1:", 12, 20, 74, 8, false, Fit::Text},
    {IDD_BRENVO_DIALOG, 1033, "Output 2:", 12, 35, 75, 8, false, Fit::Text},
    {IDD_BRENVO_DIALOG, 1012, "Output control", 7, 7, 263, 91, false, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1006, nullptr, 86, 48, 162, 15, false, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1034, "Output 3:", 12, 51, 75, 8, false, Fit::Text},
    {IDD_BRENVO_DIALOG, 1007, nullptr, 86, 64, 162, 15, false, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1035, "Output 4:", 12, 67, 75, 8, false, Fit::Text},
    {IDD_BRENVO_DIALOG, 1013, "Use Lookup-Tables (8 bit control)", 13, 83, 121, 10, false, Fit::Text},
    {IDD_BRENVO_DIALOG, 1015, nullptr, 276, 7, 253, 145, true, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1030, "Actual temperature:", 13, 116, 62, 8, false, Fit::Text},
    {IDD_BRENVO_DIALOG, 1031, "Shut down temperature:", 13, 133, 76, 8, false, Fit::Text},
    {IDD_BRENVO_DIALOG, 1024, nullptr, 97, 116, 146, 14, false, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1023, nullptr, 97, 130, 40, 14, false, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1025, "Read", 140, 130, 30, 14, false, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1026, "Write", 175, 130, 30, 14, false, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1027, "Default", 210, 130, 30, 14, false, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1029, "Temperatur control", 7, 103, 263, 49, false, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1041, nullptr, 250, 16, 10, 64, false, Fit::Exact},
    {IDD_BRENVO_DIALOG, 1042, nullptr, 341, 154, 188, 14, true, Fit::Exact},
    {IDD_TABLE, 1016, "Write", 192, 101, 50, 14, true, Fit::Exact},
    {IDD_TABLE, 1022, nullptr, 99, 7, 15, 13, true, Fit::Place},
    {IDD_TABLE, 1019, nullptr, 7, 7, 83, 108, true, Fit::Exact},
    {IDD_TABLE, 1020, nullptr, 98, 101, 88, 120, true, Fit::Width},
    {IDD_TABLE, 1017, "Paste", 192, 65, 50, 14, true, Fit::Exact},
    {IDD_TABLE, 1018, "Copy", 192, 47, 50, 14, true, Fit::Exact},
    {IDD_TABLE, 65535, "Value:", 192, 7, 21, 8, true, Fit::Text},
    {IDD_TABLE, 1036, nullptr, 192, 18, 50, 14, true, Fit::Exact},
    {IDD_TABLE, 1021, "Read", 192, 83, 50, 14, true, Fit::Exact},
    {IDD_GAMMA, 1, "OK", 71, 48, 50, 14, true, Fit::Exact},
    {IDD_GAMMA, 2, "Cancel", 7, 48, 50, 14, true, Fit::Exact},
    {IDD_GAMMA, 1021, nullptr, 39, 16, 40, 14, true, Fit::Exact},
    {IDD_GAMMA, 65535, "Gamma:", 7, 19, 27, 8, true, Fit::Text},
    {IDD_FORMEL, 1, "OK", 142, 74, 50, 14, true, Fit::Exact},
    {IDD_FORMEL, 2, "Cancel", 7, 74, 50, 14, true, Fit::Exact},
    {IDD_FORMEL, 65535, "f(x)=", 7, 23, 14, 8, true, Fit::Text},
    {IDD_FORMEL, 1038, nullptr, 24, 20, 168, 14, true, Fit::Exact},
    {IDD_FORMEL, 65535, "Enter your formula while using x for the DMX input value:", 7, 7, 178, 8, true, Fit::Text},
    {IDD_FORMEL, 65535, "Use function:", 7, 49, 43, 8, true, Fit::Text},
    {IDD_FORMEL, 1039, nullptr, 55, 47, 70, 98, true, Fit::Width},
    {IDD_STANDALONE, 65535, "Using the StandAlone in the QELVORN LED-Dimmer :", 7, 7, 169, 8, true, Fit::Text},
    {IDD_STANDALONE, 65535, "1. Use Velquist to edit the StandAlone sequenze", 15, 25, 184, 8, true, Fit::Text},
    {IDD_STANDALONE, 65535, "( The first 8 scenes can be selectes by the switches 1-3 )", 23, 34, 180, 8, true, Fit::Text},
    {IDD_STANDALONE, 65535, "2. Export the settings to a HEX file", 15, 43, 108, 8, true, Fit::Text},
    {IDD_STANDALONE, 65535, "3. Instert a EEPROM 2464/24128/24256 in the connector", 15, 54, 185, 10, true, Fit::Text},
    {IDD_STANDALONE, 65535, "4. Use the PC-Cable and enable the PC mode", 15, 65, 145, 8, true, Fit::Text},
    {IDD_STANDALONE, 65535, "5. Click on the WRITE bottom and select the HEX file", 15, 76, 170, 8, true, Fit::Text},
    {IDD_STANDALONE, 65535, "6. Disconnect the PC-Cable and use the StandAlone setting", 15, 87, 189, 8, true, Fit::Text},
    {IDD_STANDALONE, 1016, "Write from HEX file", 146, 101, 90, 14, true, Fit::Exact},
    {IDD_ABOUTBOX, 65535, "Brenvo V2.2.0.0", 40, 10, 119, 8, true, Fit::Text},
    {IDD_ABOUTBOX, 1, "OK", 178, 7, 50, 14, true, Fit::Exact},
};
// clang-format on

struct ExpectedDialog {
    UINT id;
    const char* caption;
    int cx, cy;
    bool page;
};
const ExpectedDialog kDialogs[] = {
    {IDD_ABOUTBOX,
     "Info \xFC"
     "ber Brenvo",
     235, 55, false},
    {IDD_BRENVO_DIALOG, "Brenvo", 536, 175, false},
    {IDD_TABLE, nullptr, 249, 122, true},
    {IDD_GAMMA, "Insert Gamma parameters", 128, 69, false},
    {IDD_FORMEL, "Formula editor", 199, 95, false},
    {IDD_STANDALONE, nullptr, 243, 122, true},
};

int MulDiv(int a, int b, int c) {
    return (a * b + c / 2) / c;
}

CRect Pixels(int x, int y, int cx, int cy) {
    return CRect(MulDiv(x, 6, 4), MulDiv(y, 13, 8), MulDiv(x + cx, 6, 4), MulDiv(y + cy, 13, 8));
}

// Runs `check` on the window made from the template: a modal run for dialogs, a child of a host
// for pages.
void WithWindow(const ExpectedDialog& d, const std::function<void(CDialog&)>& check) {
    ScriptedUi ui;
    if (d.page) {
        PageHost host;
        host.Run(ui, [&] {
            CDialogPage page(d.id, nullptr);
            ASSERT_TRUE(page.Create(d.id, &host.m_tabCtrl));
            check(page);
        });
    } else {
        CDialog dialog(d.id);
        ui.ExpectModal(
            [&](CDialog& shown) {
                check(shown);
                shown.EndDialog(IDCANCEL);
            },
            d.id);
        dialog.DoModal();
    }
}

CWnd* FindControl(CDialog& window, const Expected& e) {
    return e.id == IDC_STATIC ? UiDriver::FindChildByText(window, e.text)
                              : window.GetDlgItem(static_cast<int>(e.id));
}

}  // namespace

TEST(Templates, EveryControlHasItsIdTextPlaceAndState) {
    AfxSetResourceSet(&BrenvoResources());
    for (const ExpectedDialog& d : kDialogs) {
        SCOPED_TRACE(testing::Message() << "template " << d.id);
        WithWindow(d, [&](CDialog& window) {
            CString caption;
            window.GetWindowText(caption);
            EXPECT_EQ(caption, d.caption ? d.caption : "");
            CRect client;
            window.GetClientRect(&client);
            const CRect size = Pixels(0, 0, d.cx, d.cy);
            EXPECT_EQ(client.Width(), size.Width());
            if (d.page) {
                EXPECT_EQ(client.Height(), size.Height()) << "a menu bar takes no page space";
            }
            int checked = 0;
            for (const Expected& e : kControls) {
                if (e.templateId != d.id) {
                    continue;
                }
                SCOPED_TRACE(testing::Message()
                             << "control " << e.id << " " << (e.text ? e.text : ""));
                CWnd* control = FindControl(window, e);
                ASSERT_NE(control, nullptr);
                CString text;
                control->GetWindowText(text);
                EXPECT_EQ(text, e.text ? e.text : "");
                const CRect at = UiDriver::Geometry(*control);
                const CRect want = Pixels(e.x, e.y, e.cx, e.cy);
                EXPECT_EQ(at.left, want.left);
                EXPECT_EQ(at.top, want.top);
                switch (e.fit) {
                    case Fit::Exact:
                        EXPECT_EQ(at.Width(), want.Width());
                        EXPECT_EQ(at.Height(), want.Height());
                        break;
                    case Fit::Text:
                        EXPECT_GE(at.Width(), want.Width());
                        EXPECT_EQ(at.Height(), want.Height());
                        break;
                    case Fit::Width:
                        EXPECT_EQ(at.Width(), want.Width());
                        break;
                    case Fit::Place:
                        break;
                }
                EXPECT_EQ(control->IsWindowEnabled() != FALSE, e.enabled);
                ++checked;
            }
            EXPECT_GT(checked, 0);
        });
    }
}
