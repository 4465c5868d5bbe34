#include "ui/label/label_panel.h"

#include <algorithm>

#include "platform/framework/paint_dc.h"
#include "platform/gdi/paint.h"
#include "res/product.h"
#include "res/resource.h"
#include "ui/label/info_text.h"

namespace {

constexpr const char* kFace = "明朝";
constexpr const char* kTitle = "Vantrel";
constexpr int kSplashTicks = 64;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kDarkGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

constexpr int kInfoPointTenths = 90;
constexpr int kStatusTop = 12;

// Draws a line twice, one pixel apart, so the thin face reads heavier.
void TextOutBold(CDC& dc, int x, int y, const std::string& text)
{
    dc.TextOut(x + 1, y, text);
    dc.TextOut(x, y, text);
}

// The status line's text cell reaches into the line below it, and the face's round
// glyphs ink its last rows: the tick's repaint must cover all of them. The cell is
// measured once for each screen resolution the font is made for, not on every tick.
int StatusCellBottom()
{
    static int measuredFor = 0;
    static int bottom = 0;
    const int dpi = ScreenLogPixelsY();
    if (dpi != measuredFor) {
        CPaintDC measure(nullptr);
        CFont font;
        font.CreatePointFont(kInfoPointTenths, kFace, &measure);
        measure.SelectObject(&font);
        bottom = kStatusTop + measure.GetTextExtent("0").cy;
        measuredFor = dpi;
    }
    return bottom;
}

}  // namespace

CLabelPanel::CLabelPanel(CWnd* parent) : CDialog(IDD_LABEL_PANEL, parent) {}

CLabelPanel::~CLabelPanel() = default;

LRESULT CLabelPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_ERASEBKGND: return OnEraseBkgnd(reinterpret_cast<CDC*>(wParam));
    case WM_PAINT: OnPaint(); return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_MOUSEWHEEL: ForwardToParent(message, wParam, lParam); return 0;
    default: return CDialog::WindowProc(message, wParam, lParam);
    }
}

void CLabelPanel::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BOOL CLabelPanel::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetTimer(TIMER_SPLASH, kTickPeriodMs, nullptr);
    return TRUE;
}

void CLabelPanel::OnOK()
{
    // Enter never closes the panel.
}

void CLabelPanel::OnCancel()
{
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_CLOSE, 0, 0);
    CDialog::OnCancel();
}

void CLabelPanel::OnTimer(std::uintptr_t)
{
    ++m_nTick;
    if (m_nTick >= kSplashTicks) {
        KillTimer(TIMER_SPLASH);
        return;
    }
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
}

BOOL CLabelPanel::OnEraseBkgnd(CDC* pDC)
{
    if (pDC == nullptr)
        return TRUE;
    RECT rc;
    GetClientRect(&rc);
    CBrush black(kBlack);
    pDC->FillRect(&rc, &black);
    black.DeleteObject();
    return TRUE;
}

void CLabelPanel::OnPaint()
{
    CPaintDC dc(this);
    if (m_nTick < kSplashTicks)
        PaintSplash(dc);
    else
        PaintInfo(dc);
}

void CLabelPanel::PaintSplash(CDC& dc)
{
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(kBlack);
    dc.SetTextColor(RGB(0, SplashGreen(m_nTick), 0));
    RECT rc;
    GetClientRect(&rc);
    const int width = rc.right;
    const int height = rc.bottom;

    CFont titleFont;
    titleFont.CreatePointFont(160, kFace, &dc);
    CFont* previous = dc.SelectObject(&titleFont);
    const int titleWidth = dc.GetTextExtent(kTitle).cx;
    TextOutBold(dc, (width - titleWidth) / 2, height / 2 - 20, kTitle);
    dc.SelectObject(previous);
    titleFont.DeleteObject();

    // Each line is centred on its own width.
    CFont creditFont;
    creditFont.CreatePointFont(120, kFace, &dc);
    previous = dc.SelectObject(&creditFont);
    const std::string credit(res::kCreditLine);
    const int creditWidth = dc.GetTextExtent(credit).cx;
    TextOutBold(dc, (width - creditWidth) / 2, height / 2 + 2, credit);
    dc.SelectObject(previous);
    creditFont.DeleteObject();
}

void CLabelPanel::PaintInfo(CDC& dc)
{
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(kBlack);
    dc.SetTextColor(kGreen);
    CFont font;
    font.CreatePointFont(kInfoPointTenths, kFace, &dc);
    CFont* previous = dc.SelectObject(&font);

    if (!m_strStatus.empty()) {
        dc.SetBkMode(OPAQUE);
        dc.TextOut(5, kStatusTop, m_strStatus);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(5, 22, m_strName);
        dc.TextOut(5, 32, m_strVideoSize);
        dc.TextOut(5, 42, m_strTime);
        dc.TextOut(5, 52, m_strSize);
        dc.TextOut(5, 62, m_strDate);

        RECT rc;
        GetClientRect(&rc);
        const int split = ProgressSplit(m_dPosition, m_dDuration, rc.right);
        CBrush played(kGreen);
        CBrush rest(kDarkGreen);
        const RECT playedRect{5, 3, split, 11};
        const RECT restRect{split, 3, rc.right - 5, 11};
        dc.FillRect(&playedRect, &played);
        dc.FillRect(&restRect, &rest);
        played.DeleteObject();
        rest.DeleteObject();
    } else {
        dc.SetTextColor(kRed);
        dc.TextOut(5, kStatusTop, m_strError);
    }

    dc.SelectObject(previous);
    font.DeleteObject();
}

void CLabelPanel::RefreshStatusStrip(BOOL bErase)
{
    RECT rc;
    GetClientRect(&rc);
    rc.top = 2;
    rc.bottom = std::max<LONG>(22, StatusCellBottom());
    const UINT flags =
        bErase ? (RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW) : (RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
    RedrawWindow(&rc, nullptr, flags);
    m_nTick = kSplashTicks;
    KillTimer(TIMER_SPLASH);
}

bool CLabelPanel::ShowsProgressBar() const
{
    return m_nTick >= kSplashTicks && !m_strStatus.empty();
}

void CLabelPanel::ForwardToParent(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(message, wParam, lParam);
}
