#include "ui/dialogs/about_dlg.h"

#include "res/product.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr), m_strURL(res::kHomePageUrl) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_HOMEPAGE, m_strURL);
}
