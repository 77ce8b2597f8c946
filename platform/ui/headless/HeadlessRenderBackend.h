// The rendering backend of a device without a screen (the headless run): windows have no peer
// to show them, drawing is rasterised by the core into the windows' surfaces, text is measured
// and drawn with FreeType exactly as the Qt backend measures it, and the event loop is the
// core's own. It loads neither Qt nor a display connection, so a headless run starts in a few
// milliseconds.
#pragma once

#include <memory>

#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/headless/FreeTypeFonts.h"
#include "platform/ui/wm/PollDriver.h"

namespace platform::ui {

class HeadlessRenderBackend final : public RenderBackend {
public:
    explicit HeadlessRenderBackend(std::unique_ptr<FreeTypeFonts> fonts);

    WindowPeer* MakePeer(Window& window, PeerKind kind) override;
    void ResizeScreen(int width, int height) override;
    bool CloseScreen() override;

    UiDriver& RealTimeDriver() override;
    void DeleteReleasedPeers() override;
    bool ShowsBusyCursor() override;

    void DrawRectangle(Image& target, const RECT& clip, const RECT& rect, const std::optional<PenSpec>& pen,
        std::optional<COLORREF> fill) override;
    void DrawPolyline(Image& target, const RECT& clip, const POINT* points, int count, const PenSpec& pen) override;
    void DrawImage(Image& target, const RECT& clip, const RECT& rect, const Image& source, bool blend) override;
    int DrawText(Image* target, const RECT& clip, const LOGFONTW& font, std::wstring_view text, RECT& rect, UINT format,
        const TextColors& colors) override;
    TEXTMETRICW TextMetrics(const LOGFONTW& font) override;
    SIZE TextExtent(const LOGFONTW& font, std::wstring_view text, int* dx) override;

    Image Convert(const Image& image, PixelFormat format) override;
    Image Scale(const Image& image, int width, int height, bool smooth) override;
    bool SavePng(const Image& image, const std::string& path) override;
    Image StandardIcon(UINT iconType, int size) override;

private:
    std::unique_ptr<FreeTypeFonts> m_fonts;
    PollDriver m_driver;
};

} // namespace platform::ui
