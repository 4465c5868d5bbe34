// Moving in the medium from the keyboard and the progress bar. The state stays as
// it is: stopped or paused, the status line shows the new place at once.

#include "engine/seek_target.h"
#include "platform/com/dshow.h"
#include "ui/player/player_dlg.h"

namespace {

constexpr double kShortStepSeconds = 5.0;
constexpr double kLongStepSeconds = 60.0;

}  // namespace

double CPlayerDlg::SeekableLength() const
{
    // Asked anew: the length kept for the texts may be the last medium's.
    double length = 0.0;
    if (m_nState == STATE_NONE || m_strPath.empty() || m_pPosition == nullptr ||
        FAILED(m_pPosition->get_Duration(&length)))
        return 0.0;
    return length;
}

void CPlayerDlg::SeekBy(double seconds)
{
    const double length = SeekableLength();
    double position = 0.0;
    if (!(length > 0) || FAILED(m_pPosition->get_CurrentPosition(&position)))
        return;
    if (const std::optional<double> target = SeekStepTarget(position, seconds, length)) {
        SeekTo(*target);
        UpdateStatus(TRUE);
    }
}

void CPlayerDlg::SeekToFraction(double fraction)
{
    if (const std::optional<double> target = SeekFractionTarget(fraction, SeekableLength())) {
        SeekTo(*target);
        UpdateStatus(TRUE);
    }
}

void CPlayerDlg::OnSeekForward()
{
    SeekBy(kShortStepSeconds);
}

void CPlayerDlg::OnSeekBack()
{
    SeekBy(-kShortStepSeconds);
}

void CPlayerDlg::OnSeekForwardLong()
{
    SeekBy(kLongStepSeconds);
}

void CPlayerDlg::OnSeekBackLong()
{
    SeekBy(-kLongStepSeconds);
}

void CPlayerDlg::OnSeekStart()
{
    SeekToFraction(0.0);
}
