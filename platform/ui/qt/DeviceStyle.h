// The look of the Qt controls on the emulated device: one style on every machine (Fusion, with
// the device's white dialog face), its sizes scaled to the device's resolution, since one
// device pixel is one Qt pixel and Qt's own scaling is off.
#pragma once

#include <QProxyStyle>

namespace platform::ui {

class DeviceStyle final : public QProxyStyle {
public:
    DeviceStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
        const QWidget* widget = nullptr) const override;
    void polish(QPalette& palette) override;
};

} // namespace platform::ui
