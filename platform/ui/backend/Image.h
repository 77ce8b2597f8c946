// The pixels that windows, bitmaps and icons hold: 32 bits a pixel, row by row, in one of the
// three layouts the rendering backend draws in. The backend draws into them in place, so
// that the platform's own code keeps them without knowing how they are drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::ui {

enum class PixelFormat {
    Rgb32,               // 0xFFRRGGBB
    Argb32,              // 0xAARRGGBB
    Argb32Premultiplied, // 0xAARRGGBB with the colour already multiplied by the alpha
};

class Image {
public:
    Image() = default;
    // Every pixel 0: transparent, or black for Rgb32 once the backend reads it.
    Image(int width, int height, PixelFormat format);

    bool IsNull() const { return m_pixels.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    PixelFormat Format() const { return m_format; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    uint32_t* Row(int y) { return m_pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(m_width); }
    const uint32_t* Row(int y) const { return m_pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(m_width); }
    uint32_t* Bits() { return m_pixels.data(); }
    const uint32_t* Bits() const { return m_pixels.data(); }
    uint32_t Pixel(int x, int y) const { return Row(y)[x]; }

    void Fill(uint32_t value);

private:
    int m_width = 0;
    int m_height = 0;
    PixelFormat m_format = PixelFormat::Rgb32;
    std::vector<uint32_t> m_pixels;
};

} // namespace platform::ui
