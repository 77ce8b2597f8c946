// The drawing calls rasterised by Qt into the core's images: shapes, lines, images and text by
// the platform's rules (one-pixel lines without their end point, whole-pixel text advances).
#pragma once

#include <optional>
#include <string_view>

#include "platform/ui/backend/RenderBackend.h"

namespace platform::ui::qt {

void DrawRectangle(Image& target, const RECT& clip, const RECT& rect, const std::optional<PenSpec>& pen,
    std::optional<COLORREF> fill);
void DrawPolyline(Image& target, const RECT& clip, const POINT* points, int count, const PenSpec& pen);
void DrawImage(Image& target, const RECT& clip, const RECT& rect, const Image& source, bool blend);
int DrawText(Image* target, const RECT& clip, const LOGFONTW& font, std::wstring_view text, RECT& rect, UINT format,
    const TextColors& colors);
TEXTMETRICW TextMetrics(const LOGFONTW& font);
SIZE TextExtent(const LOGFONTW& font, std::wstring_view text, int* dx);

} // namespace platform::ui::qt
