// The player window's texts: the file's size and date, the status line and the
// info lines of the label panel.

#include "platform/com/dshow.h"
#include "platform/system/file_status.h"
#include "platform/system/time_text.h"
#include "ui/label/info_text.h"
#include "ui/player/player_dlg.h"

namespace {

constexpr const char* kUnknown = "Unknown.";
constexpr const char* kDateFormat = "%Y/%m/%d(%a) %H:%M:%S";
constexpr const char* kPlaybackError = "Error: Cannot play back the file.";

}  // namespace

void CPlayerDlg::GatherFileInfo()
{
    m_strSizeText = kUnknown;
    m_strDateText = kUnknown;
    FileStatus status{};
    if (!GetFileStatus(m_strPath, &status))
        return;
    m_strSizeText = SizeText(status.size);
    m_strDateText = FormatLocalTime(status.mtime, kDateFormat);
}

void CPlayerDlg::UpdateStatus(BOOL bErase)
{
    double position = 0.0;
    if (m_pPosition != nullptr)
        m_pPosition->get_CurrentPosition(&position);
    const double duration = m_dDuration;
    if (m_bPlaybackFailed) {
        // The error line keeps the status line's place through ticks and volume steps.
        m_wndLabel.m_strStatus.clear();
        m_wndLabel.m_strError = kPlaybackError;
    } else {
        m_wndLabel.m_strStatus = StatusLine(StatusWord(m_nState), position, duration, m_nVolume);
    }
    m_wndLabel.m_dPosition = position;
    m_wndLabel.m_dDuration = duration;
    m_wndLabel.RefreshStatusStrip(bErase);
}

void CPlayerDlg::UpdateInfo()
{
    UpdateStatus(TRUE);
    const std::string name = FileNameFromPath(m_strPath);
    if (!name.empty()) {
        if (!m_bPlaybackFailed)
            m_wndLabel.m_strError.clear();
        m_wndLabel.m_strName = name;
        m_wndLabel.m_strVideoSize = VideoSizeLine(m_rcSource.width, m_rcSource.height);
        m_wndLabel.m_strTime = TimeLine(m_dDuration);
        m_wndLabel.m_strSize = "Size: " + m_strSizeText;
        m_wndLabel.m_strDate = "Date: " + m_strDateText;
    } else {
        m_wndLabel.m_strStatus.clear();
        m_wndLabel.m_strError = kPlaybackError;
    }
    m_wndLabel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
