#pragma once
// The About box: icon, name and version, the credit line and the home page in a
// line that can be selected and copied.

#include <string>

#include "platform/framework/dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    std::string m_strURL;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
