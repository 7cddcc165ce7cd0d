// CBrenvoApp: the application object. It runs the main window modally and ends the program when
// the window closes.
#pragma once

#include "platform/ui/CWinApp.h"

class CBrenvoApp : public CWinApp {
public:
    CBrenvoApp();
    BOOL InitInstance() override;
};
