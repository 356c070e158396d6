// CQZLApp: the game's application object. Its one job is the start-up step,
// which creates the main window, shows it and paints it; the platform's
// message loop does the rest.
#pragma once

#include "platform/winapp.h"

class CQZLApp : public CWinApp {
public:
    CQZLApp();
    ~CQZLApp() override;

    BOOL InitInstance() override;
};

// The one application object, built before the program's entry runs.
extern CQZLApp theApp;
