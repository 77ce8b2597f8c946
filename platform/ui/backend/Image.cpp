#include "platform/ui/backend/Image.h"

#include <algorithm>

namespace platform::ui {

Image::Image(int width, int height, PixelFormat format)
    : m_width(width > 0 && height > 0 ? width : 0)
    , m_height(width > 0 && height > 0 ? height : 0)
    , m_format(format)
    , m_pixels(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), 0u)
{
}

void Image::Fill(uint32_t value)
{
    std::fill(m_pixels.begin(), m_pixels.end(), value);
}

} // namespace platform::ui
