// The player window's life: construction, set-up, the ways it ends, teardown.

#include "ui/player/player_dlg.h"

#include <cstdio>
#include <span>

#include "platform/desktop/media_session.h"
#include "platform/framework/app.h"
#include "platform/com/com.h"
#include "platform/toolkit/toolkit.h"
#include "res/product.h"
#include "ui/player/screen_place.h"

namespace {

constexpr const char* kSection = "System";

// What the player keeps between runs.
struct SavedSettings {
    int autoRewind;
    int repeat;
    int autoZoom;
    int stretch;
    int volume;
    int x;
    int y;
    int cx;
    int cy;
};

struct Setting {
    const char* name;
    int SavedSettings::*field;
    int byDefault;
};

// The nine settings, in the order they are read and written: the options and the
// volume when the window is made, its place when it is first shown.
constexpr Setting kSettings[] = {
    {"AutoRewind",    &SavedSettings::autoRewind, 1 },
    {"Repeat",        &SavedSettings::repeat,     0 },
    {"Zoom",          &SavedSettings::autoZoom,   0 },
    {"StretchWindow", &SavedSettings::stretch,    0 },
    {"Volume",        &SavedSettings::volume,     5 },
    {"x",             &SavedSettings::x,          -1},
    {"y",             &SavedSettings::y,          -1},
    {"cx",            &SavedSettings::cx,         -1},
    {"cy",            &SavedSettings::cy,         -1},
};
constexpr std::span<const Setting> kOptionSettings = std::span(kSettings).first(5);
constexpr std::span<const Setting> kPlaceSettings = std::span(kSettings).last(4);

SavedSettings Read(std::span<const Setting> settings)
{
    SavedSettings saved{};
    CWinApp* app = AfxGetApp();
    for (const Setting& setting : settings)
        saved.*setting.field =
            app != nullptr ? app->GetProfileInt(kSection, setting.name, setting.byDefault) : setting.byDefault;
    return saved;
}

void Write(const SavedSettings& saved)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return;
    for (const Setting& setting : kSettings)
        app->WriteProfileInt(kSection, setting.name, saved.*setting.field);
}

}  // namespace

CPlayerDlg::CPlayerDlg(CWnd* pParent) : CDialog(IDD_PLAYER, pParent)
{
    m_hIcon = LoadIconResource(IDR_MAINFRAME);
    CoInitialize(nullptr);
    const SavedSettings saved = Read(kOptionSettings);
    m_bAutoRewind = saved.autoRewind;
    m_bRepeat = saved.repeat;
    m_bAutoZoom = saved.autoZoom;
    m_bStretch = saved.stretch;
    m_nVolume = saved.volume;
    m_strURL = "http://";
}

CPlayerDlg::~CPlayerDlg() = default;

void CPlayerDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BOOL CPlayerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // No system menu to extend here: the window manager owns the window menu.
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    DragAcceptFiles(TRUE);
    SetWindowText(res::kWindowTitle);
    m_hDragCursor = LoadCursorResource(IDC_DRAG);

    m_wndLabel.Create(IDD_LABEL_PANEL, this);
    m_wndLabel.ShowWindow(SW_SHOW);

    const SavedSettings stored = Read(kPlaceSettings);
    const int x = stored.x;
    const int y = stored.y;
    const int cx = stored.cx;
    const int cy = stored.cy;
    if (x == -1 && y == -1 && cx == -1 && cy == -1) {
        SetZoom(-1.0);
    } else if (!platform::PlacesItsWindows()) {
        // The compositor places the window: only its size is the player's to restore.
        std::fprintf(stderr, "vantrel: the window system places the window itself; its saved place is not used\n");
        SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
    } else {
        // A place that no screen shows any more comes back onto the nearest one.
        const SizedRect place = PlaceOnScreens(SizedRect{x, y, cx, cy}, GetMonitorRects());
        SetWindowPos(nullptr, place.left, place.top, place.width, place.height, SWP_NOZORDER);
    }

    // The resize above laid nothing out (no picture yet), so the panel takes the client area here.
    RECT rc;
    GetClientRect(&rc);
    m_wndLabel.SetWindowPos(nullptr, 0, 0, rc.right, rc.bottom, SWP_NOMOVE | SWP_NOZORDER);

    StartDesktopSession();
    if (!m_strInitialPath.empty())
        OpenAndPlay(m_strInitialPath);
    return TRUE;
}

void CPlayerDlg::OnOK()
{
    // Enter does not close the player.
}

void CPlayerDlg::OnCancel()
{
    CDialog::OnCancel();
}

void CPlayerDlg::OnDestroy()
{
    Default();
    EndDesktopSession();
    ReleaseGraph();
    WINDOWPLACEMENT placement;
    placement.length = sizeof(WINDOWPLACEMENT);
    GetWindowPlacement(&placement);
    const RECT& r = placement.rcNormalPosition;
    Write(SavedSettings{m_bAutoRewind, m_bRepeat, m_bAutoZoom, m_bStretch, m_nVolume, r.left, r.top, r.right - r.left,
                        r.bottom - r.top});
    CoUninitialize();
}
