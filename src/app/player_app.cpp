#include "app/player_app.h"

#include <cstdio>

#include "app/command_line.h"
#include "ui/player/player_dlg.h"

// The one application object.
CPlayerApp theApp;

CPlayerApp::CPlayerApp() = default;
CPlayerApp::~CPlayerApp() = default;

BOOL CPlayerApp::InitInstance()
{
    if (const auto answer = AnswerInformationRequest(m_lpCmdLine, m_pszAppName)) {
        std::fputs(answer->c_str(), stdout);
        return FALSE;
    }
    SetRegistryKey("Quorvel");

    CPlayerDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    if (!m_lpCmdLine.empty()) dlg.m_strInitialPath = m_lpCmdLine;
    dlg.DoModal();
    return FALSE;
}
