// The rendering backend on Qt 6 Widgets: each window's peer is a widget on the device's screen
// widget, drawing goes through QPainter into the core's images, text is measured with Qt's font
// metrics, and Qt's event loop is the real-time driver.
#pragma once

#include <memory>

#include "platform/ui/backend/RenderBackend.h"

class QWidget;

namespace platform::ui {

class RealTimeDriver;

class QtRenderBackend final : public RenderBackend {
public:
    explicit QtRenderBackend(bool realDisplay);
    ~QtRenderBackend() override;

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
    std::unique_ptr<platform::ui::RealTimeDriver> m_driver;
    QWidget* m_screen = nullptr;
};

} // namespace platform::ui
