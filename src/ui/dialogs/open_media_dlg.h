#pragma once
// Asks for the path or URL to play; Browse fills the line from the file chooser.

#include <string>

#include "platform/framework/dialog.h"

class COpenMediaDlg : public CDialog {
public:
    explicit COpenMediaDlg(CWnd* pParent = nullptr);
    std::string m_strURL;

    void OnBrowse();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(UINT id) override;
};

// Lets the user choose an existing media file. TRUE with `path` set to its full
// path, FALSE (and `path` empty) when nothing was chosen.
BOOL BrowseForFile(CWnd* owner, std::string& path);
