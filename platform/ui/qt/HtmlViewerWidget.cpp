#include <QPainter>
#include <QStyleOptionButton>
#include <QTextBrowser>
#include <QUrl>

#include "platform/device/Device.h"
#include "platform/ui/HtmlCtrl.h"
#include "platform/ui/controls/HtmlViewerControl.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/qt/ControlWidgets.h"
#include "platform/ui/qt/QtFonts.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

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
        : ControlWidget(window.Handle(), ParentWidgetOf(window))
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

    void SyncState() override
    {
        Window* window = LiveWindow();
        if (window == nullptr)
            return;
        const HtmlViewerData& state = DataOf<HtmlViewerData>(*window);
        const HtmlPage& page = state.page;
        QFont font = QFontFromLogFont(HtmlViewerFont(state.zoom));
        m_browser->buttons.clear();
        for (const HtmlButton& button : page.buttons)
            m_browser->buttons.push_back(ButtonImage(QString::fromStdWString(button.label), font, m_browser->style()));
        m_browser->document()->setDefaultFont(font);
        m_browser->setHtml(QString::fromStdWString(page.html));
    }

    std::wstring ShownText() override { return m_browser->toPlainText().toStdWString(); }

    // The viewer's own font is its zoom's, not the dialog's.
    void SyncFont() override { }

private:
    ViewerBrowser* m_browser = nullptr;
};

} // namespace

WindowWidget* MakeHtmlViewerWidget(Window& window)
{
    return new HtmlViewerWidget(window);
}


} // namespace platform::ui
