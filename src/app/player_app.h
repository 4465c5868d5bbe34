#pragma once
// The application object: fixes where the settings live, runs the player window
// modally with the command line as its start-up path, and ends when it closes.

#include "platform/framework/app.h"

class CPlayerApp : public CWinApp {
public:
    CPlayerApp();
    ~CPlayerApp() override;
    BOOL InitInstance() override;
};
