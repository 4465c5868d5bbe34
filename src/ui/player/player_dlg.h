#pragma once
// The player window: a borderless dialog that owns the filter graph, the
// transport state, the options, the picture geometry and the label panel.
// Its members are implemented in the folder of the subsystem each belongs to:
// the graph, transport and volume in src/engine, the texts in src/ui/label,
// the window, layout, menu and keys here, the dialogs' handlers in src/ui/dialogs.

#include <memory>
#include <string>

#include "engine/play_state.h"
#include "platform/com/dshow.h"
#include "platform/framework/dialog.h"
#include "res/resource.h"
#include "ui/label/label_panel.h"

namespace desktop {
class MediaSession;
struct PlayerFacts;
}  // namespace desktop

class CPlayerDlg : public CDialog {
public:
    explicit CPlayerDlg(CWnd* pParent = nullptr);
    ~CPlayerDlg() override;

    std::string m_strInitialPath;
    std::string m_strURL;
    CLabelPanel m_wndLabel;
    int m_nState = STATE_NONE;
    int m_bAutoRewind = 1;
    int m_bRepeat = 0;
    int m_bAutoZoom = 0;
    int m_bStretch = 0;
    int m_nVolume = 5;
    LONG m_lAttenuation = 0;
    IGraphBuilder* m_pGraph = nullptr;
    IMediaControl* m_pControl = nullptr;
    IMediaEventEx* m_pEvent = nullptr;
    IVideoWindow* m_pVideoWindow = nullptr;
    IMediaPosition* m_pPosition = nullptr;
    IMediaSeeking* m_pSeeking = nullptr;
    LONG m_lEventCode = 0;
    LONG m_lEventParam1 = 0;
    LONG m_lEventParam2 = 0;
    // The graph failed while playing: the label shows the error line in place of
    // the status line until the next start or open.
    int m_bPlaybackFailed = 0;
    double m_dDuration = 0.0;
    std::string m_strPath;
    SizedRect m_rcSource;
    SizedRect m_rcVideo;
    std::string m_strSizeText;
    std::string m_strDateText;
    HICON m_hIcon = nullptr;
    HCURSOR m_hDragCursor = nullptr;
    POINT m_ptDragAnchor;
    unsigned m_nSeekCount = 0;       // jumps of the position, for the desktop's controls
    MediumTags m_tags;               // what the open medium's tags say, for the desktop's controls
    std::string m_strRequestedOpen;  // the medium the desktop asked for last, until it is opened
    LONG m_nHiddenSubtitles = -1;    // the subtitle stream hidden by its key, to show again
    int m_nWheelDelta = 0;           // a wheel's turn short of a notch, kept for the next
    // A press on the progress bar: a click seeks, unless it moves far enough to drag.
    BOOL m_bBarPressed = FALSE;
    POINT m_ptPressed;  // where it was pressed, in screen coordinates
    std::unique_ptr<desktop::MediaSession> m_pDesktop;

    // Filter graph (src/engine).
    BOOL CreateGraph();
    void ReleaseGraph();
    BOOL OpenMedia(const std::string& path, BOOL keepGraph);

    // Transport (src/engine).
    void StartPlayback();
    void PausePlayback();
    void StopPlayback();
    void OpenAndPlay(const std::string& path);
    void SeekTo(double seconds);
    // Keys and the progress bar (src/engine): nothing before a medium is open or
    // on one without a length.
    double SeekableLength() const;
    void SeekBy(double seconds);
    void SeekToFraction(double fraction);
    void OnSeekForward();
    void OnSeekBack();
    void OnSeekForwardLong();
    void OnSeekBackLong();
    void OnSeekStart();
    void OnPlayPause();
    void OnStop();
    LRESULT OnGraphNotify(WPARAM wParam, LPARAM lParam);
    // The graph learnt the medium's length after the open.
    void OnLengthChanged();
    void OnTimer(std::uintptr_t id);

    // The medium's streams (src/engine).
    void OnNextSubtitles();
    void OnToggleSubtitles();
    void OnNextAudio();

    // Volume (src/engine).
    void ApplyVolume();
    void OnVolumeUp();
    void OnVolumeDown();

    // Layout and zoom (src/ui/player).
    void LayoutVideo();
    void PlaceLabel();
    void GetSourceRect();
    void SetZoom(double factor);
    void OnZoom25();
    void OnZoom50();
    void OnZoom100();
    void OnZoom200();
    void OnZoomMax();
    void OnZoomMin();

    // Texts (src/ui/label).
    void GatherFileInfo();
    void UpdateStatus(BOOL bErase);
    void UpdateInfo();

    // Window frame (src/ui/player).
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnMouseMove(UINT nFlags, POINT point);
    void OnLButtonUp(UINT nFlags, POINT point);
    void OnDropFiles(HDROP hDropInfo);
    void OnDestroy();

    // Menu and keys (src/ui/player).
    void OnContextMenu(CWnd* pWnd, POINT point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnMouseWheel(UINT nFlags, short zDelta, POINT pt);
    void OnAutoRewind();
    void OnRepeat();
    void OnStretch();
    void OnAutoZoom();

    // The desktop's media controls and screen saver (src/ui/player).
    void StartDesktopSession();
    void EndDesktopSession();
    void RefreshDesktop();
    void ReadMediumTags();
    // Opens the medium asked for last: an open from outside is a command, never run
    // inside another open, and one that waits gives way to it.
    void OnOpenRequested();
    desktop::PlayerFacts DesktopFacts() const;

    // Dialogs (src/ui/dialogs).
    void OnFileOpen();
    void OnAppAbout();
    void OnSysCommand(UINT nID, LPARAM lParam);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // The message map (player_messages.cpp) and the command table, the one way every
    // command reaches the window (kCommands in player_menu.cpp).
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnCommand(UINT id) override;
};
