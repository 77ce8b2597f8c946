#include "platform/ui/qt/DeviceStyle.h"

#include <QStyleFactory>

#include "platform/device/Device.h"

namespace platform::ui {

namespace {

int Scaled(int value)
{
    int dpi = CurrentDevice().dpi;
    return dpi == 96 ? value : (value * dpi + 48) / 96;
}

} // namespace

DeviceStyle::DeviceStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

int DeviceStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    int value = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing:
    case PM_ScrollBarExtent:
    case PM_ScrollBarSliderMin:
    case PM_ButtonMargin:
    case PM_DefaultFrameWidth:
    case PM_ComboBoxFrameWidth:
    case PM_SmallIconSize:
    case PM_ListViewIconSize:
    case PM_TabBarTabHSpace:
    case PM_TabBarTabVSpace:
    case PM_TabBarBaseHeight:
    case PM_TabBarScrollButtonWidth:
    case PM_SpinBoxFrameWidth:
    case PM_LayoutLeftMargin:
    case PM_LayoutTopMargin:
    case PM_LayoutRightMargin:
    case PM_LayoutBottomMargin:
    case PM_LayoutHorizontalSpacing:
    case PM_LayoutVerticalSpacing:
        return Scaled(value);
    default:
        return value;
    }
}

void DeviceStyle::polish(QPalette& palette)
{
    QProxyStyle::polish(palette);
    // The device's dialogs and controls are white; buttons keep Fusion's light grey.
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(0xF4, 0xF4, 0xF4));
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
}

} // namespace platform::ui
