// The transport: run, pause, stop, open-and-play, and the reaction to the end of
// the stream. The window title and the status tick follow the state.

#include "platform/com/dshow.h"
#include "res/product.h"
#include "ui/player/player_dlg.h"

namespace {

bool IsEndOfStream(LONG code)
{
    return code == EC_COMPLETE || code == EC_USERABORT;
}

// The graph stopped short: the medium cannot be played on from here.
bool IsFailure(LONG code)
{
    return code == EC_ERRORABORT;
}

}  // namespace

void CPlayerDlg::StartPlayback()
{
    if (m_nState != STATE_STOPPED && m_nState != STATE_PAUSED)
        return;
    if (m_bAutoZoom)
        SetZoom(1.0);
    // A start after a failure is the next attempt.
    const bool retrying = m_bPlaybackFailed != 0;
    m_bPlaybackFailed = FALSE;
    if (m_pControl != nullptr)
        m_pControl->Run();
    m_nState = STATE_PLAYING;
    SetWindowText(res::kTitlePlaying);
    // The error line had hidden the info lines too: the whole panel comes back.
    if (retrying)
        UpdateInfo();
    else
        UpdateStatus(TRUE);
    SetTimer(TIMER_STATUS, kTickPeriodMs);
}

void CPlayerDlg::PausePlayback()
{
    if (m_nState != STATE_PLAYING)
        return;
    if (m_pControl != nullptr)
        m_pControl->Pause();
    m_nState = STATE_PAUSED;
    // The tick keeps running and shows "Paused" on its next beat.
    SetWindowText(res::kTitlePaused);
}

void CPlayerDlg::StopPlayback()
{
    if (m_nState != STATE_PLAYING && m_nState != STATE_PAUSED)
        return;
    if (m_pControl != nullptr)
        m_pControl->Stop();
    m_nState = STATE_STOPPED;
    SetWindowText(res::kTitleStopped);
    if (m_bAutoRewind)
        SeekTo(0.0);
    KillTimer(TIMER_STATUS);
    UpdateStatus(TRUE);
}

void CPlayerDlg::OpenAndPlay(const std::string& path)
{
    StopPlayback();
    // The last medium's failure is not the new one's.
    m_bPlaybackFailed = FALSE;
    if (OpenMedia(path, FALSE))
        StartPlayback();
    else
        LayoutVideo();
    UpdateInfo();
}

void CPlayerDlg::SeekTo(double seconds)
{
    if (m_pPosition == nullptr)
        return;
    m_pPosition->put_CurrentPosition(seconds);
    ++m_nSeekCount;
}

void CPlayerDlg::OnPlayPause()
{
    if (m_nState == STATE_PLAYING)
        PausePlayback();
    else if (m_nState == STATE_STOPPED || m_nState == STATE_PAUSED)
        StartPlayback();
}

void CPlayerDlg::OnStop()
{
    StopPlayback();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CPlayerDlg::OnGraphNotify(WPARAM, LPARAM)
{
    if (m_pEvent == nullptr)
        return 0;

    // Drain up to the first end of the stream or failure; what lies behind it
    // waits for the next notification.
    for (;;) {
        LONG code = 0;
        LONG_PTR param1 = 0;
        LONG_PTR param2 = 0;
        if (FAILED(m_pEvent->GetEvent(&code, &param1, &param2, 0)))
            return 0;
        m_lEventCode = code;
        m_lEventParam1 = static_cast<LONG>(param1);
        m_lEventParam2 = static_cast<LONG>(param2);
        m_pEvent->FreeEventParams(code, param1, param2);
        if (code == EC_TAGS_CHANGED)
            ReadMediumTags();
        else if (code == EC_LENGTH_CHANGED)
            OnLengthChanged();
        if (IsEndOfStream(code) || IsFailure(code))
            break;
    }

    if (IsFailure(m_lEventCode)) {
        // Stopped as by Stop, never repeated; the error line stays until the
        // next start or open.
        m_bPlaybackFailed = TRUE;
        StopPlayback();
        UpdateInfo();
    } else if (m_bRepeat) {
        // The graph keeps running and plays the medium again from its start.
        SeekTo(0.0);
    } else if (m_bAutoRewind) {
        StopPlayback();
        SeekTo(0.0);
    }
    return 0;
}

void CPlayerDlg::OnLengthChanged()
{
    // A failing read keeps the length known so far.
    double length = 0.0;
    if (m_pPosition == nullptr || FAILED(m_pPosition->get_Duration(&length)) || length == m_dDuration)
        return;
    m_dDuration = length;
    UpdateInfo();
}

void CPlayerDlg::OnTimer(std::uintptr_t)
{
    UpdateStatus(FALSE);
    Default();
}
