#include "platform/gdi/paint.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/toolkit/toolkit.h"
#include "platform/gdi/font_faces.h"
#include "platform/gdi/paint_surface.h"

struct FontData {
    QFont font;
    int height = 0;
};

namespace {

QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QString ToQString(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Keeps rectangles that the program computes from any 32-bit values drawable.
int ClampCoordinate(long long v, int limit)
{
    return static_cast<int>(std::clamp<long long>(v, -1, static_cast<long long>(limit) + 1));
}

QFont DefaultFont()
{
    QFont font = QGuiApplication::font();
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

}  // namespace

int ScreenLogPixelsX()
{
    platform::EnsureToolkit();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return 96;
    return std::max(1, static_cast<int>(std::lround(screen->logicalDotsPerInchX())));
}

int ScreenLogPixelsY()
{
    platform::EnsureToolkit();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return 96;
    return std::max(1, static_cast<int>(std::lround(screen->logicalDotsPerInchY())));
}

// ---------------------------------------------------------------------------
CFont::CFont() = default;
CFont::~CFont() = default;

BOOL CFont::CreatePointFont(int pointSizeTenths, const std::string& faceName, CDC* dc)
{
    const int logPixelsY = dc != nullptr ? dc->GetDeviceCaps(LOGPIXELSY) : ScreenLogPixelsY();
    const long long height = static_cast<long long>(logPixelsY) * pointSizeTenths / 720;
    auto data = std::make_unique<FontData>();
    data->height = static_cast<int>(std::clamp<long long>(height, 0, 4096));
    data->font = QFont(platform::InstalledFace(faceName));
    if (data->height > 0)
        data->font.setPixelSize(data->height);
    data->font.setWeight(QFont::Normal);
    data->font.setItalic(false);
    data->font.setUnderline(false);
    // Crisp single-colour text, as the panel's colours are exact.
    data->font.setStyleStrategy(QFont::NoAntialias);
    m_font = std::move(data);
    return TRUE;
}

BOOL CFont::DeleteObject()
{
    const BOOL had = m_font ? TRUE : FALSE;
    m_font.reset();
    return had;
}

int CFont::GetHeightPixels() const
{
    return m_font ? m_font->height : 0;
}

// ---------------------------------------------------------------------------
CDC::CDC(PaintSurface* surface) : m_surface(surface) {}
CDC::~CDC() = default;

int CDC::SetBkMode(int mode)
{
    const int previous = m_bkMode;
    m_bkMode = mode;
    return previous;
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    const COLORREF previous = m_bkColor;
    m_bkColor = color;
    return previous;
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    const COLORREF previous = m_textColor;
    m_textColor = color;
    return previous;
}

CFont* CDC::SelectObject(CFont* font)
{
    CFont* previous = m_selected;
    m_selected = font;
    return previous;
}

BOOL CDC::TextOut(int x, int y, const std::string& text)
{
    if (m_surface == nullptr || m_surface->painter == nullptr)
        return FALSE;
    if (text.empty())
        return TRUE;
    QPainter& painter = *m_surface->painter;
    const QFont font = (m_selected != nullptr && m_selected->m_font) ? m_selected->m_font->font : DefaultFont();
    const QFontMetrics metrics(font);
    const QString s = ToQString(text);
    if (m_bkMode == OPAQUE) {
        painter.fillRect(QRect(x, y, metrics.horizontalAdvance(s), metrics.height()), ToQColor(m_bkColor));
    }
    painter.setFont(font);
    painter.setPen(ToQColor(m_textColor));
    painter.drawText(QPoint(x, y + metrics.ascent()), s);
    return TRUE;
}

SIZE CDC::GetTextExtent(const std::string& text) const
{
    const QFont font = (m_selected != nullptr && m_selected->m_font) ? m_selected->m_font->font : DefaultFont();
    const QFontMetrics metrics(font);
    return SIZE{metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

void CDC::FillRect(const RECT* rect, CBrush* brush)
{
    if (m_surface == nullptr || m_surface->painter == nullptr || rect == nullptr || brush == nullptr)
        return;
    if (rect->right <= rect->left || rect->bottom <= rect->top)
        return;
    const QRect& bounds = m_surface->bounds;
    const int l = ClampCoordinate(rect->left, bounds.width());
    const int t = ClampCoordinate(rect->top, bounds.height());
    const int r = ClampCoordinate(rect->right, bounds.width());
    const int b = ClampCoordinate(rect->bottom, bounds.height());
    if (r <= l || b <= t)
        return;
    m_surface->painter->fillRect(QRect(l, t, r - l, b - t), ToQColor(brush->Color()));
}

int CDC::GetDeviceCaps(int index) const
{
    switch (index) {
    // Every canvas is painted for the screen, so its horizontal DPI is the screen's.
    case LOGPIXELSX: return ScreenLogPixelsX();
    case LOGPIXELSY: return m_surface != nullptr ? m_surface->logPixelsY : ScreenLogPixelsY();
    default: return 0;
    }
}
