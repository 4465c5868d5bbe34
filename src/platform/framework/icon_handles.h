#pragma once
// Platform-private: what stands behind HICON and HCURSOR.

#include <QCursor>
#include <QIcon>

struct PlatformIcon {
    QIcon icon;
};

struct PlatformCursor {
    QCursor cursor;
};
