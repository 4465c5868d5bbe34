#pragma once
// The paint context: GDI-style drawing onto a window's canvas. A CPaintDC exists
// only inside a window's WM_PAINT or WM_ERASEBKGND handling and is clipped to the
// area being repainted.

#include <memory>
#include <string>

#include "platform/system/win_types.h"

class CDC;
struct PaintSurface;
struct FontData;

inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;

class CFont {
public:
    CFont();
    ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Height = LOGPIXELSY of `dc` (the screen's when null) x tenths / 720,
    // truncated; the face falls back to a substitute when it is not installed.
    BOOL CreatePointFont(int pointSizeTenths, const std::string& faceName, CDC* dc = nullptr);
    BOOL DeleteObject();
    int GetHeightPixels() const;  // the character height asked for; 0 when none

private:
    friend class CDC;
    std::unique_ptr<FontData> m_font;
};

class CBrush {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) : m_color(color), m_valid(true) {}
    BOOL DeleteObject()
    {
        m_valid = false;
        return TRUE;
    }
    COLORREF Color() const { return m_color; }
    bool IsValid() const { return m_valid; }

private:
    COLORREF m_color = 0;
    bool m_valid = false;
};

class CDC {
public:
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    int SetBkMode(int mode);
    COLORREF SetBkColor(COLORREF color);
    COLORREF SetTextColor(COLORREF color);
    // Selects `font` and returns the one selected before (null for the default).
    CFont* SelectObject(CFont* font);
    // (x, y) is the top-left corner of the text cell. In OPAQUE mode the cell is
    // filled with the background colour first.
    BOOL TextOut(int x, int y, const std::string& text);
    SIZE GetTextExtent(const std::string& text) const;
    // Right and bottom edges are left out; nothing is filled when the rectangle is empty.
    void FillRect(const RECT* rect, CBrush* brush);
    int GetDeviceCaps(int index) const;

protected:
    explicit CDC(PaintSurface* surface);
    PaintSurface* m_surface;

private:
    int m_bkMode = OPAQUE;
    COLORREF m_bkColor = RGB(255, 255, 255);
    COLORREF m_textColor = RGB(0, 0, 0);
    CFont* m_selected = nullptr;
};

// The logical horizontal and vertical DPI of the primary screen.
int ScreenLogPixelsX();
int ScreenLogPixelsY();
