#include "ui/dialogs/open_media_dlg.h"

#include <string_view>

#include "platform/framework/file_dialog.h"
#include "res/resource.h"

namespace {

using namespace std::string_view_literals;

// Description and patterns, pair after pair, each part ending in NUL, the whole in a second NUL.
constexpr std::string_view kFilter =
    "Video files (*.mpg; *.mpeg; *.avi; *.mov; *.qt)\0*.mpg; *.mpeg; *.avi; *.mov; *.qt\0"
    "All files (*.*)\0*.*\0\0"sv;

}  // namespace

COpenMediaDlg::COpenMediaDlg(CWnd* pParent) : CDialog(IDD_OPEN_MEDIA, pParent) {}

void COpenMediaDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_URL, m_strURL);
}

BOOL COpenMediaDlg::OnCommand(UINT id)
{
    if (id == static_cast<UINT>(IDC_BROWSE)) {
        OnBrowse();
        return TRUE;
    }
    return CDialog::OnCommand(id);
}

void COpenMediaDlg::OnBrowse()
{
    std::string path;
    if (BrowseForFile(this, path)) {
        m_strURL = path;
        UpdateData(FALSE);
    }
}

BOOL BrowseForFile(CWnd* owner, std::string& path)
{
    path.clear();
    OpenFileRequest request;
    request.owner = owner;
    request.filters = ParseFilterString(kFilter);
    request.filterIndex = 1;
    request.defaultExtension = "MPG";
    request.fileMustExist = true;
    return GetOpenFileName(request, &path) ? TRUE : FALSE;
}
