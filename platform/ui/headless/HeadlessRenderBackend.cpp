#include "platform/ui/headless/HeadlessRenderBackend.h"

#include <png.h>

#include <string>
#include <vector>

#include "platform/debug/DebugConsole.h"
#include "platform/ui/backend/Raster.h"

namespace platform::ui {

namespace {

// Nothing shows a window without a screen: the window manager keeps every window's state and
// surface itself, so its peer has nothing to follow.
class UnshownPeer final : public WindowPeer {
public:
    void SyncGeometry() override { }
    void SyncVisible() override { }
    void SyncEnabled() override { }
    void SyncText() override { }
    void SyncFont() override { }
    void SyncFocus() override { }
    void SyncState() override { }
    void Hide() override { }
    void Raise() override { }
    void Lower() override { }
    void SurfaceChanged(const RECT&) override { }
    // No screen shows the window, so there is no picture of it to take.
    Image Grab() override { return {}; }
    void Release() override { delete this; }
};

} // namespace

HeadlessRenderBackend::HeadlessRenderBackend(std::unique_ptr<FreeTypeFonts> fonts) : m_fonts(std::move(fonts)) { }

WindowPeer* HeadlessRenderBackend::MakePeer(Window&, PeerKind)
{
    return new UnshownPeer();
}

void HeadlessRenderBackend::ResizeScreen(int, int) { }

bool HeadlessRenderBackend::CloseScreen()
{
    // No window of the host's to close: the run ends through its stop requests.
    return false;
}

UiDriver& HeadlessRenderBackend::RealTimeDriver()
{
    return m_driver;
}

void HeadlessRenderBackend::DeleteReleasedPeers()
{
    // Released peers are deleted at once: no handler of this backend can be running on one.
}

bool HeadlessRenderBackend::ShowsBusyCursor()
{
    return false;
}

void HeadlessRenderBackend::DrawRectangle(Image& target, const RECT& clip, const RECT& rect,
    const std::optional<PenSpec>& pen, std::optional<COLORREF> fill)
{
    RasterRectangle(target, clip, rect, pen, fill);
}

void HeadlessRenderBackend::DrawPolyline(Image& target, const RECT& clip, const POINT* points, int count, const PenSpec& pen)
{
    RasterPolyline(target, clip, points, count, pen);
}

void HeadlessRenderBackend::DrawImage(Image& target, const RECT& clip, const RECT& rect, const Image& source, bool blend)
{
    RasterImage(target, clip, rect, source, blend);
}

int HeadlessRenderBackend::DrawText(Image* target, const RECT& clip, const LOGFONTW& font, std::wstring_view text,
    RECT& rect, UINT format, const TextColors& colors)
{
    FontSize& size = m_fonts->Size(font);
    TextLayout layout = LayoutText(text, format, rect.right - rect.left, size);
    std::vector<PlacedLine> placed;
    int result = PlaceText(layout, size, rect, format, target != nullptr ? &placed : nullptr);
    if (target == nullptr || (format & DT_CALCRECT) != 0)
        return result;
    RECT textClip = clip;
    if ((format & DT_NOCLIP) == 0 && !IntersectRect(&textClip, &clip, &rect))
        return result;
    // A one-pixel rule from `from` up to, not including, `to`.
    auto rule = [&](int from, int to, int y) { FillPixels(*target, textClip, RECT { from, y, to, y + 1 }, colors.text); };
    for (const PlacedLine& at : placed) {
        if (colors.opaque)
            FillPixels(*target, textClip, RECT { at.x, at.y, at.x + at.line->width, at.y + layout.lineHeight }, colors.background);
        int baseline = at.y + layout.ascent;
        size.DrawRun(*target, textClip, at.x, baseline, at.line->text, colors.text);
        if (at.line->underline >= 0)
            rule(at.underlineFrom, at.underlineTo, baseline + 1);
        if (font.lfUnderline != 0)
            rule(at.x, at.x + at.line->width, baseline + 1);
        if (font.lfStrikeOut != 0)
            rule(at.x, at.x + at.line->width, baseline - size.Pixels() / 4);
    }
    return result;
}

TEXTMETRICW HeadlessRenderBackend::TextMetrics(const LOGFONTW& font)
{
    FontSize& size = m_fonts->Size(font);
    return TextMetricsOf(size, font, size.MaxWidth());
}

SIZE HeadlessRenderBackend::TextExtent(const LOGFONTW& font, std::wstring_view text, int* dx)
{
    return TextExtentOf(m_fonts->Size(font), text, dx);
}

Image HeadlessRenderBackend::Convert(const Image& image, PixelFormat format)
{
    return ConvertImage(image, format);
}

Image HeadlessRenderBackend::Scale(const Image& image, int width, int height, bool smooth)
{
    return ScaleImage(image, width, height, smooth);
}

bool HeadlessRenderBackend::SavePng(const Image& image, const std::string& path)
{
    if (image.IsNull())
        return false;
    // Opaque pictures as RGB, the others with their straight (not premultiplied) alpha.
    bool opaque = image.Format() == PixelFormat::Rgb32;
    Image straight = opaque ? image : ConvertImage(image, PixelFormat::Argb32);
    int channels = opaque ? 3 : 4;
    std::vector<uint8_t> bytes(static_cast<size_t>(straight.Width()) * static_cast<size_t>(straight.Height()) * channels);
    uint8_t* out = bytes.data();
    for (int y = 0; y < straight.Height(); ++y) {
        const uint32_t* row = straight.Row(y);
        for (int x = 0; x < straight.Width(); ++x) {
            uint32_t pixel = row[x];
            *out++ = static_cast<uint8_t>(pixel >> 16);
            *out++ = static_cast<uint8_t>(pixel >> 8);
            *out++ = static_cast<uint8_t>(pixel);
            if (!opaque)
                *out++ = static_cast<uint8_t>(pixel >> 24);
        }
    }
    png_image png {};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(straight.Width());
    png.height = static_cast<png_uint_32>(straight.Height());
    png.format = opaque ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    if (png_image_write_to_file(&png, path.c_str(), 0, bytes.data(), 0, nullptr) == 0) {
        OutputDebugStringA(("SavePng: " + std::string(png.message) + "\n").c_str());
        return false;
    }
    return true;
}

Image HeadlessRenderBackend::StandardIcon(UINT iconType, int size)
{
    return DrawStandardIcon(iconType, size);
}

} // namespace platform::ui

extern "C" platform::ui::RenderBackend* VelmoraCreateRenderBackend(bool)
{
    std::string error;
    std::unique_ptr<platform::ui::FreeTypeFonts> fonts = platform::ui::FreeTypeFonts::Open(error);
    if (fonts == nullptr) {
        OutputDebugStringA(("VelmoraCreateRenderBackend: " + error + "\n").c_str());
        return nullptr;
    }
    // Deliberately never destroyed, like the Qt backend: windows may outlive any owner.
    return new platform::ui::HeadlessRenderBackend(std::move(fonts));
}
