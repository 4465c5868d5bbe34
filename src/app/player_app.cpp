#include "app/player_app.h"

#include "ui/player/player_dlg.h"

// The one application object.
CPlayerApp theApp;

CPlayerApp::CPlayerApp() = default;
CPlayerApp::~CPlayerApp() = default;

BOOL CPlayerApp::InitInstance()
{
    SetRegistryKey("Quorvel");

    CPlayerDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    if (!m_lpCmdLine.empty())
        dlg.m_strInitialPath = m_lpCmdLine;
    dlg.DoModal();
    return FALSE;
}
