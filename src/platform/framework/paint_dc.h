#pragma once
// The paint context of a window: binds a window's paint in progress to the drawing
// calls of the paint context.

#include "platform/gdi/paint.h"

class CWnd;

// The context of the paint in progress on `wnd` (its canvas, clipped to the area
// being repainted). Only valid inside that window's paint or erase handling.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
};
