// The one place where the platform's rectangles meet Qt's. The platform's right and bottom
// are the first column and row outside the rectangle; QRect::right() and QRect::bottom() are
// the last ones inside. Widths and heights agree, so the conversion goes through them.
#pragma once

#include <QRect>

#include "platform/ui/WinDef.h"

namespace platform::ui {

inline QRect QRectFromRect(const RECT& rect)
{
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

inline RECT RectFromQRect(const QRect& rect)
{
    return RECT { rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height() };
}

} // namespace platform::ui
