// QtUi: the user-interface seam of the program: real toolkit dialogs, message boxes and cursors.
#pragma once

#include "platform/ui/UiSeam.h"

class QtUi : public UiSeam {
public:
    void RunModal(CDialog& dialog) override;
    int MessageBox(CWnd* parent, const CString& text, const CString& caption, UINT nType) override;
    BOOL ChooseFile(const FileDialogRequest& request, CString& path) override;
    void SetCursor(HCURSOR cursor) override;
};
