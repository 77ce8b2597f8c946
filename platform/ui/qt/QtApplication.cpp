#include "platform/ui/qt/QtApplication.h"

#include <cstdlib>

#include <QApplication>
#include <QPalette>

#include "platform/ui/qt/DeviceStyle.h"

namespace platform::qt {

namespace {

QApplication* g_application = nullptr;
int g_argc = 1;
char g_argv0[] = "velmora";
char* g_argv[] = { g_argv0, nullptr };

} // namespace

QApplication& EnsureApplication(bool realDisplay)
{
    if (g_application != nullptr)
        return *g_application;
    if (QApplication::instance() != nullptr) {
        // Someone else made it (a host that embeds the device in its own Qt program).
        g_application = qobject_cast<QApplication*>(QApplication::instance());
        if (g_application != nullptr)
            return *g_application;
    }
    if (!realDisplay)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // One device pixel is one Qt pixel whatever the host screen's scaling.
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    unsetenv("QT_SCALE_FACTOR");
    // Deliberately never destroyed: windows and drawing objects may outlive any scope, and
    // Qt's teardown at exit would race the platform's static objects.
    g_application = new QApplication(g_argc, g_argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // The same look on every machine, whatever the desktop's theme.
    auto* style = new platform::ui::DeviceStyle();
    QApplication::setStyle(style);
    QPalette palette = style->standardPalette();
    style->polish(palette);
    QApplication::setPalette(palette);
    return *g_application;
}

} // namespace platform::qt
