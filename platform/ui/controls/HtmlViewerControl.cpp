#include "platform/ui/controls/HtmlViewerControl.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QTextBrowser>
#include <QUrl>

#include "platform/device/Device.h"
#include "platform/text/WideString.h"
#include "platform/ui/HtmlCtrl.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/controls/HtmlSource.h"
#include "platform/ui/wm/WindowClass.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

// Shows what has arrived so far; posted to itself, so that a run of DTM_ADDTEXTW is laid out
// once.
constexpr UINT kShowPage = WM_USER + 300;

constexpr int kMediumZoom = 2;

struct ViewerData : ControlData {
    std::wstring source;
    bool ended = false;
    bool showPending = false;
    int zoom = kMediumZoom;
    bool scripting = true;
    bool clearType = false;
    HtmlPage page;
};

// The page's base font: 9 points at the medium zoom level, smaller and larger around it.
QFont ViewerFont(int zoom)
{
    static const int points[] = { 7, 8, 9, 11, 13 };
    LOGFONTW logFont = SystemLogFont();
    logFont.lfHeight = -((points[std::clamp(zoom, 0, 4)] * CurrentDevice().dpi + 36) / 72);
    return QFontFromLogFont(logFont);
}

// A push button with the label, drawn by the device's style.
QImage ButtonImage(const QString& label, const QFont& font, const QStyle* style)
{
    QFontMetrics metrics(font);
    int dpi = CurrentDevice().dpi;
    int padding = (8 * dpi + 48) / 96;
    QSize size(metrics.horizontalAdvance(label) + 2 * padding, metrics.height() + padding);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    QStyleOptionButton option;
    option.rect = QRect(QPoint(0, 0), size);
    option.text = label;
    option.state = QStyle::State_Enabled | QStyle::State_Raised;
    option.palette = style->standardPalette();
    option.fontMetrics = metrics;
    style->drawControl(QStyle::CE_PushButton, &option, &painter, nullptr);
    return image;
}

class ViewerBrowser final : public QTextBrowser {
public:
    std::vector<QImage> buttons;

protected:
    QVariant loadResource(int type, const QUrl& url) override
    {
        if (type == QTextDocument::ImageResource && url.scheme() == QStringLiteral("velmora-button")) {
            size_t index = static_cast<size_t>(url.path().toInt());
            if (index < buttons.size())
                return buttons[index];
            return QVariant();
        }
        // The page has nothing else to load: images and links of the file system are not shown.
        return QVariant();
    }
};

class HtmlViewerWidget final : public ControlWidget {
public:
    explicit HtmlViewerWidget(Window& window)
        : ControlWidget(window.Handle(), window.parent->widget)
    {
        HWND handle = window.Handle();
        m_browser = new ViewerBrowser();
        m_browser->setFrameShape(QFrame::NoFrame); // the platform draws the border
        m_browser->setOpenLinks(false);
        m_browser->setOpenExternalLinks(false);
        m_browser->setLineWrapMode((window.style & HS_NOFITTOWINDOW) != 0 ? QTextEdit::NoWrap : QTextEdit::WidgetWidth);
        QObject::connect(m_browser, &QTextBrowser::anchorClicked, [handle](const QUrl& url) {
            Window* live = WindowManager::Get().Find(handle);
            if (live != nullptr && url.scheme() == QStringLiteral("velmora-button"))
                HtmlViewerUserClick(*live, url.path().toInt());
        });
        SetInner(m_browser);
    }

    void ShowPage(const HtmlPage& page, int zoom)
    {
        QFont font = ViewerFont(zoom);
        m_browser->buttons.clear();
        for (const HtmlButton& button : page.buttons)
            m_browser->buttons.push_back(ButtonImage(QString::fromStdWString(button.label), font, m_browser->style()));
        m_browser->document()->setDefaultFont(font);
        m_browser->setHtml(QString::fromStdWString(page.html));
    }

    std::wstring Text() const { return m_browser->toPlainText().toStdWString(); }

    // The viewer's own font is its zoom's, not the dialog's.
    void SyncFont() override { }

private:
    ViewerBrowser* m_browser = nullptr;
};

void ShowNow(Window& window)
{
    ViewerData& data = DataOf<ViewerData>(window);
    data.showPending = false;
    data.page = PageForQt(data.source);
    if (auto* widget = dynamic_cast<HtmlViewerWidget*>(window.widget))
        widget->ShowPage(data.page, data.zoom);
}

void Append(Window& window, std::wstring text, bool plain)
{
    ViewerData& data = DataOf<ViewerData>(window);
    data.source += plain ? PlainTextAsHtml(text) : text;
    if (!data.showPending) {
        data.showPending = true;
        PostMessageW(window.Handle(), kShowPage, 0, 0);
    }
}

} // namespace

void HtmlViewerUserClick(Window& window, int button)
{
    ViewerData& data = DataOf<ViewerData>(window);
    if (button < 0 || button >= static_cast<int>(data.page.buttons.size()))
        return;
    int command = data.page.buttons[static_cast<size_t>(button)].command;
    if (command < 0 || window.parent == nullptr || window.IsTopLevel())
        return;
    SendMessageW(window.parent->Handle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), BN_CLICKED),
        reinterpret_cast<LPARAM>(window.Handle()));
}

int HtmlViewerButtonFor(Window& window, int command)
{
    ViewerData& data = DataOf<ViewerData>(window);
    if (data.showPending)
        ShowNow(window);
    for (size_t i = 0; i < data.page.buttons.size(); ++i) {
        if (data.page.buttons[i].command == command)
            return static_cast<int>(i);
    }
    return -1;
}

std::wstring HtmlViewerSource(Window& window)
{
    return DataOf<ViewerData>(window).source;
}

std::wstring HtmlViewerText(Window& window)
{
    ViewerData& data = DataOf<ViewerData>(window);
    if (data.showPending)
        ShowNow(window);
    auto* widget = dynamic_cast<HtmlViewerWidget*>(window.widget);
    return widget != nullptr ? widget->Text() : std::wstring();
}

WindowWidget* MakeHtmlViewerWidget(Window& window)
{
    return new HtmlViewerWidget(window);
}

LRESULT HtmlViewerProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = WindowManager::Get().Find(handle);
    if (window == nullptr)
        return 0;
    ViewerData& data = DataOf<ViewerData>(*window);
    switch (message) {
    case WM_CREATE:
        data.scripting = (window->style & HS_NOSCRIPTING) == 0;
        data.clearType = (window->style & HS_CLEARTYPE) != 0;
        return 0;
    case DTM_ADDTEXTW:
        if (lParam != 0)
            Append(*window, reinterpret_cast<LPCWSTR>(lParam), wParam != 0);
        return 0;
    case DTM_ADDTEXT:
        if (lParam != 0)
            Append(*window, WidenBytes(reinterpret_cast<const char*>(lParam)), wParam != 0);
        return 0;
    case kShowPage:
        if (data.showPending)
            ShowNow(*window);
        return 0;
    case DTM_ENDOFSOURCE:
        data.ended = true;
        ShowNow(*window);
        return 0;
    case DTM_CLEAR:
        data.source.clear();
        data.ended = false;
        ShowNow(*window);
        return 0;
    case DTM_ZOOMLEVEL:
        data.zoom = std::clamp(static_cast<int>(lParam), 0, 4);
        ShowNow(*window);
        return 0;
    case DTM_ENABLESCRIPTING:
        // Pages here never run scripts; the setting is kept for what asks.
        data.scripting = lParam != 0;
        return 0;
    case DTM_ENABLECLEARTYPE:
        data.clearType = lParam != 0;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(handle, message, wParam, lParam);
    }
}

} // namespace platform::ui

BOOL InitHTMLControl(HINSTANCE)
{
    using namespace platform::ui;
    WindowClassTable& classes = WindowManager::Get().Classes();
    if (classes.Find(WC_HTML, nullptr) != nullptr)
        return TRUE;
    WNDCLASSW wc {};
    wc.lpfnWndProc = HtmlViewerProc;
    wc.lpszClassName = WC_HTML;
    return classes.Register(wc, true, MakeHtmlViewerWidget) != nullptr ? TRUE : FALSE;
}
