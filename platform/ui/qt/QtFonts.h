// The Qt font of a platform font description, under the one rendering policy: DejaVu Sans,
// cell heights as the platform measures them, whole-pixel sizes, no hinting, no merging.
#pragma once

#include <QFont>

#include "platform/ui/WinGdi.h"

namespace platform::ui {

QFont QFontFromLogFont(const LOGFONTW& font);
// The font behind a handle (the system font for anything else), as a Qt font.
QFont ContextFont(HGDIOBJ font);
QColor QColorFromColorRef(COLORREF color);

} // namespace platform::ui
