// Every window Brenvo builds from its templates, for checks that hold for all of them: the dialogs
// run modally through the scripted seam, and each page inside the main window's template, as the
// program shows it (so that the keys of the window and of the page meet).
#pragma once

#include <QWidget>
#include <functional>

#include "platform/ui/CDialogPage.h"
#include "platform/ui/qt/WindowLink.h"
#include "platform/ui/testing/ScriptedUi.h"
#include "tests/tables/PageHost.h"

struct ShownWindow {
    UINT templateId;
    CDialog& window;  // the top-level window
    CDialog* page;    // the page on show in it, or null
    QWidget* Top() const { return WidgetOf(window.m_hWnd)->window(); }
};

inline void ForEachBrenvoWindow(const std::function<void(const ShownWindow&)>& check) {
    AfxSetResourceSet(&BrenvoResources());
    for (UINT id : {IDD_ABOUTBOX, IDD_BRENVO_DIALOG, IDD_GAMMA, IDD_FORMEL, IDD_CHOOSE_DIMMER}) {
        ScriptedUi ui;
        CDialog dialog(id);
        ui.ExpectModal(
            [&](CDialog& shown) {
                check({id, shown, nullptr});
                shown.EndDialog(IDCANCEL);
            },
            id);
        dialog.DoModal();
    }
    for (UINT id : {IDD_TABLE, IDD_STANDALONE}) {
        ScriptedUi ui;
        PageHost host;
        host.Run(ui, [&] {
            CDialogPage page(id, nullptr);
            ASSERT_TRUE(page.Create(id, &host.m_tabCtrl));
            host.m_tabCtrl.AddPage(&page, "Output 2");
            page.ShowWindow(SW_SHOW);
            check({id, host, &page});
        });
    }
}
