#pragma once
// Platform-private: the target of the paint in progress.

#include <QPainter>
#include <QRect>

struct PaintSurface {
    QPainter* painter = nullptr;
    QRect bounds;  // the canvas's rectangle
    int logPixelsY = 96;
};
