// The player window's handlers that open the two dialogs.

#include "ui/dialogs/about_dlg.h"
#include "ui/dialogs/open_media_dlg.h"
#include "ui/player/player_dlg.h"

void CPlayerDlg::OnFileOpen()
{
    COpenMediaDlg dlg(nullptr);
    dlg.m_strURL = m_strURL;
    if (dlg.DoModal() != IDOK)
        return;
    m_strURL = dlg.m_strURL;
    OpenAndPlay(m_strURL);
}

void CPlayerDlg::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void CPlayerDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    DefWindowProc(WM_SYSCOMMAND, nID, lParam);
}
