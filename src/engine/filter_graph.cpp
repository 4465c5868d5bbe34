// The player's filter graph: building the interface set, rendering a medium into
// it and tearing it down again.

#include "engine/interface_ptr.h"
#include "platform/framework/app.h"
#include "platform/com/dshow.h"
#include "ui/player/player_dlg.h"

namespace {

constexpr LONG kVideoChildStyle = static_cast<LONG>(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);

}  // namespace

BOOL CPlayerDlg::CreateGraph()
{
    void* graph = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, &graph)))
        return FALSE;
    m_pGraph = static_cast<IGraphBuilder*>(graph);

    // Stops at the first missing interface; what was obtained stays for ReleaseGraph.
    return engine::QueryInto(m_pGraph, IID_IMediaControl, m_pControl) &&
           engine::QueryInto(m_pGraph, IID_IMediaEventEx, m_pEvent) &&
           engine::QueryInto(m_pGraph, IID_IVideoWindow, m_pVideoWindow) &&
           engine::QueryInto(m_pGraph, IID_IMediaPosition, m_pPosition) &&
           engine::QueryInto(m_pGraph, IID_IMediaSeeking, m_pSeeking);
}

void CPlayerDlg::ReleaseGraph()
{
    if (m_pControl != nullptr)
        m_pControl->Stop();
    // Hidden before the release, so the old picture is gone before a new graph exists.
    if (m_pVideoWindow != nullptr)
        m_pVideoWindow->put_Visible(OAFALSE);
    engine::ReleaseAndClear(m_pVideoWindow);
    engine::ReleaseAndClear(m_pGraph);
    engine::ReleaseAndClear(m_pControl);
    engine::ReleaseAndClear(m_pEvent);
    engine::ReleaseAndClear(m_pPosition);
    engine::ReleaseAndClear(m_pSeeking);
}

BOOL CPlayerDlg::OpenMedia(const std::string& path, BOOL keepGraph)
{
    // A copy: the caller may hand us m_strPath itself, which is emptied below.
    const std::string medium = path;
    const OAHWND self = reinterpret_cast<OAHWND>(GetSafeHwnd());

    if (!keepGraph) {
        ReleaseGraph();
        if (!CreateGraph()) {
            const CWinApp* app = AfxGetApp();
            AfxMessageBox(this, "DirectShow is not Installed.", app != nullptr ? app->m_pszAppName : std::string(),
                          MB_OK | MB_ICONERROR);
            return FALSE;
        }
    }

    m_rcSource = SizedRect{};
    m_tags = MediumTags{};
    m_nHiddenSubtitles = -1;

    // Before the render, so events queued while the graph is built are notified too.
    if (m_pEvent != nullptr)
        m_pEvent->SetNotifyWindow(self, static_cast<LONG>(WM_GRAPHNOTIFY), 0);

    const HRESULT rendered = m_pGraph != nullptr ? m_pGraph->RenderFile(medium.c_str(), nullptr) : E_POINTER;
    m_strPath.clear();
    if (FAILED(rendered))
        return FALSE;

    if (m_pVideoWindow != nullptr) {
        m_pVideoWindow->put_Owner(self);
        m_pVideoWindow->put_WindowStyle(kVideoChildStyle);
        m_pVideoWindow->put_MessageDrain(self);
        m_pVideoWindow->put_AutoShow(OAFALSE);
        m_pVideoWindow->put_Visible(OATRUE);
    }
    if (m_pPosition != nullptr)
        m_pPosition->get_Duration(&m_dDuration);

    m_nState = STATE_STOPPED;
    ApplyVolume();
    m_strPath = medium;
    ReadMediumTags();
    GetSourceRect();
    GatherFileInfo();
    LayoutVideo();
    return TRUE;
}
