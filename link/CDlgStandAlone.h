// CDlgStandAlone: the "StandAlone" page, from which a scene sequence file is written into the
// dimmer's plug-in EEPROM over the configuration cable.
#pragma once

#include "platform/os/CString.h"
#include "platform/os/CableDriver.h"
#include "platform/ui/CDialogPage.h"

class CDlgStandAlone : public CDialogPage {
public:
    explicit CDlgStandAlone(CWnd* pParent = nullptr);

    FT_HANDLE* m_pCableHandle = nullptr;  // the main window's cable handle

protected:
    void OnWriteFromHexFile();

    DECLARE_MESSAGE_MAP()

private:
    // Loads, checks and writes the file while the window is busy; what the person must be told
    // afterwards, or an empty text.
    CString WriteHexFile(const CString& path);
};
