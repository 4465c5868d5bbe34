// How the picture and the label panel share the client area, and the window
// sizes of the zoom presets.

#include "engine/interface_ptr.h"
#include "platform/com/dshow.h"
#include "ui/player/fit_rect.h"
#include "ui/player/player_dlg.h"

namespace {

constexpr double kZoomMaximize = 0.0;

}  // namespace

void CPlayerDlg::LayoutVideo()
{
    if (m_pVideoWindow == nullptr)
        return;

    // No picture: the label panel takes the whole client area.
    RECT video{};
    if (m_rcSource.width != 0 || m_rcSource.height != 0) {
        RECT client;
        GetClientRect(&client);
        if (m_bStretch) {
            video = client;
        } else {
            GetSourceRect();
            video = FitRect(m_rcSource.width, m_rcSource.height, client);
        }
    }

    m_rcVideo = SizedRect{video.left, video.top, video.right - video.left, video.bottom - video.top};
    m_pVideoWindow->SetWindowPosition(m_rcVideo.left, m_rcVideo.top, m_rcVideo.width, m_rcVideo.height);
    PlaceLabel();
}

void CPlayerDlg::PlaceLabel()
{
    if (!m_wndLabel.IsWindow())
        return;
    RECT client;
    GetClientRect(&client);
    const SizedRect label = LabelRect(client, m_rcVideo.width);
    m_wndLabel.SetWindowPos(nullptr, label.left, label.top, label.width, label.height, SWP_NOZORDER);
    UpdateInfo();
}

void CPlayerDlg::GetSourceRect()
{
    const engine::ScopedInterface<IBasicVideo> video(m_pGraph, IID_IBasicVideo);
    if (!video)
        return;
    // A getter that fails writes nothing, so that field keeps its value.
    video->get_SourceLeft(&m_rcSource.left);
    video->get_SourceTop(&m_rcSource.top);
    video->get_SourceWidth(&m_rcSource.width);
    video->get_SourceHeight(&m_rcSource.height);
}

void CPlayerDlg::SetZoom(double factor)
{
    RECT window;
    RECT client;
    GetWindowRect(&window);
    GetClientRect(&client);
    RECT desktop{};
    if (const CWnd* screen = GetDesktopWindow())
        screen->GetClientRect(&desktop);

    const SizedRect box = ZoomRect(window, client, desktop, m_rcSource.width, m_rcSource.height, factor);
    SetWindowPos(nullptr, box.left, box.top, box.width, box.height, SWP_NOZORDER);
}

void CPlayerDlg::OnZoom25()
{
    SetZoom(0.25);
}

void CPlayerDlg::OnZoom50()
{
    SetZoom(0.5);
}

void CPlayerDlg::OnZoom100()
{
    SetZoom(1.0);
}

void CPlayerDlg::OnZoom200()
{
    SetZoom(2.0);
}

void CPlayerDlg::OnZoomMax()
{
    SetZoom(kZoomMaximize);
}

void CPlayerDlg::OnZoomMin()
{
    SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
}
