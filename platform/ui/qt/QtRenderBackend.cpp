#include "platform/ui/qt/QtRenderBackend.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QStyle>

#include "platform/ui/qt/ControlWidgets.h"
#include "platform/ui/qt/ImageView.h"
#include "platform/ui/qt/QtApplication.h"
#include "platform/ui/qt/QtPainting.h"
#include "platform/ui/qt/RealTimeDriver.h"
#include "platform/ui/qt/WindowWidget.h"
#include "platform/ui/wm/Window.h"

namespace platform::ui {

namespace {

// The window on the host's desktop that shows the device's screen. Closing it is switching the
// device off: the program's message loop ends as after PostQuitMessage(0), and the window
// stays until the program has shut down, so its last frames can still be painted and saved.
class DeviceScreenWidget final : public WindowWidget {
public:
    using WindowWidget::WindowWidget;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        PostQuitMessage(0);
    }
};

// A desktop window keeps the device's size; offscreen there is no window manager to hint.
void SizeScreenWidget(QWidget& screen, int width, int height)
{
    if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
        screen.resize(width, height);
    else
        screen.setFixedSize(width, height);
}

} // namespace

QWidget* ParentWidgetOf(const Window& window)
{
    return window.parent != nullptr ? dynamic_cast<WindowWidget*>(window.parent->peer) : nullptr;
}

QtRenderBackend::QtRenderBackend(bool realDisplay)
{
    platform::qt::EnsureApplication(realDisplay);
    m_driver = std::make_unique<platform::ui::RealTimeDriver>();
}

QtRenderBackend::~QtRenderBackend() = default;

WindowPeer* QtRenderBackend::MakePeer(Window& window, PeerKind kind)
{
    switch (kind) {
    case PeerKind::Screen: {
        auto* screen = new DeviceScreenWidget(window.Handle(), nullptr);
        screen->setWindowTitle(QStringLiteral("Velmora"));
        SizeScreenWidget(*screen, window.Rect().right - window.Rect().left, window.Rect().bottom - window.Rect().top);
        m_screen = screen;
        screen->show();
        return screen;
    }
    case PeerKind::Button:
        return MakeButtonWidget(window);
    case PeerKind::Static:
        return MakeStaticWidget(window);
    case PeerKind::Edit:
        return MakeEditWidget(window);
    case PeerKind::ComboBox:
        return MakeComboWidget(window);
    case PeerKind::ListBox:
        return MakeListBoxWidget(window);
    case PeerKind::ListView:
        return MakeListViewWidget(window);
    case PeerKind::Tab:
        return MakeTabWidget(window);
    case PeerKind::UpDown:
        return MakeUpDownWidget(window);
    case PeerKind::DatePicker:
        return MakeDatePickerWidget(window);
    case PeerKind::HtmlViewer:
        return MakeHtmlViewerWidget(window);
    case PeerKind::Plain:
        break;
    }
    return new WindowWidget(window.Handle(), ParentWidgetOf(window));
}

void QtRenderBackend::ResizeScreen(int width, int height)
{
    if (m_screen != nullptr)
        SizeScreenWidget(*m_screen, width, height);
}

bool QtRenderBackend::CloseScreen()
{
    return m_screen != nullptr && m_screen->close();
}

UiDriver& QtRenderBackend::RealTimeDriver()
{
    return *m_driver;
}

void QtRenderBackend::DeleteReleasedPeers()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool QtRenderBackend::ShowsBusyCursor()
{
    return QtShowsBusyCursor();
}

void QtRenderBackend::DrawRectangle(Image& target, const RECT& clip, const RECT& rect, const std::optional<PenSpec>& pen,
    std::optional<COLORREF> fill)
{
    qt::DrawRectangle(target, clip, rect, pen, fill);
}

void QtRenderBackend::DrawPolyline(Image& target, const RECT& clip, const POINT* points, int count, const PenSpec& pen)
{
    qt::DrawPolyline(target, clip, points, count, pen);
}

void QtRenderBackend::DrawImage(Image& target, const RECT& clip, const RECT& rect, const Image& source, bool blend)
{
    qt::DrawImage(target, clip, rect, source, blend);
}

int QtRenderBackend::DrawText(Image* target, const RECT& clip, const LOGFONTW& font, std::wstring_view text, RECT& rect,
    UINT format, const TextColors& colors)
{
    return qt::DrawText(target, clip, font, text, rect, format, colors);
}

TEXTMETRICW QtRenderBackend::TextMetrics(const LOGFONTW& font)
{
    return qt::TextMetrics(font);
}

SIZE QtRenderBackend::TextExtent(const LOGFONTW& font, std::wstring_view text, int* dx)
{
    return qt::TextExtent(font, text, dx);
}

Image QtRenderBackend::Convert(const Image& image, PixelFormat format)
{
    if (image.IsNull() || image.Format() == format)
        return image;
    return ImageFromQt(ReadOnlyView(image).convertToFormat(QtFormat(format)));
}

Image QtRenderBackend::Scale(const Image& image, int width, int height, bool smooth)
{
    if (image.IsNull())
        return image;
    return ImageFromQt(ReadOnlyView(image).scaled(width, height, Qt::IgnoreAspectRatio,
        smooth ? Qt::SmoothTransformation : Qt::FastTransformation));
}

bool QtRenderBackend::SavePng(const Image& image, const std::string& path)
{
    return ReadOnlyView(image).save(QString::fromStdString(path), "PNG");
}

Image QtRenderBackend::StandardIcon(UINT iconType, int size)
{
    QStyle::StandardPixmap pixmap = QStyle::SP_MessageBoxInformation;
    switch (iconType) {
    case MB_ICONHAND:
        pixmap = QStyle::SP_MessageBoxCritical;
        break;
    case MB_ICONQUESTION:
        pixmap = QStyle::SP_MessageBoxQuestion;
        break;
    case MB_ICONEXCLAMATION:
        pixmap = QStyle::SP_MessageBoxWarning;
        break;
    default:
        break;
    }
    QImage image = QApplication::style()->standardIcon(pixmap).pixmap(size, size).toImage();
    return ImageFromQt(image.scaled(size, size).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

} // namespace platform::ui

extern "C" platform::ui::RenderBackend* VelmoraCreateRenderBackend(bool realDisplay)
{
    // Deliberately never destroyed, like the Qt application it holds.
    return new platform::ui::QtRenderBackend(realDisplay);
}
