#include "platform/framework/paint_dc.h"

#include "platform/framework/platform_window.h"
#include "platform/framework/wnd.h"

CPaintDC::CPaintDC(CWnd* wnd) : CDC(nullptr)
{
    HWND hwnd = wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
    if (hwnd != nullptr)
        m_surface = hwnd->surface;
}

CPaintDC::~CPaintDC() = default;
