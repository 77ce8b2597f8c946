// The Today screen's background picture, drawn once into a memory bitmap the size of the
// Today window, so that the window and every item over it paint their part by copying.
#pragma once

#include "platform/ui/WinDef.h"

namespace host {

class Watermark {
public:
    Watermark() = default;
    ~Watermark();
    Watermark(const Watermark&) = delete;
    Watermark& operator=(const Watermark&) = delete;

    // Draws the picture for a window of this size (again after a rotation).
    void Render(int width, int height);
    // Copies the part of the picture under `area` (Today window coordinates) to `target`
    // at `at` in the target's coordinates.
    void Paint(HDC target, const RECT& at, POINT areaOrigin) const;

private:
    void Release();

    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    int m_width = 0;
    int m_height = 0;
};

} // namespace host
