// Qt's font metrics as the platform's text layout measures them.
#pragma once

#include <string_view>

#include <QFontMetrics>
#include <QString>

#include "platform/ui/backend/TextLayout.h"

class QPainter;

namespace platform::ui {

class QtTextMeasure final : public TextMeasure {
public:
    explicit QtTextMeasure(const QFont& font) : m_metrics(font) { }

    int Ascent() const override { return m_metrics.ascent(); }
    int Descent() const override { return m_metrics.descent(); }
    int Advance(wchar_t ch) const override;
    const QFontMetrics& Metrics() const { return m_metrics; }

private:
    QFontMetrics m_metrics;
};

QString QStringFromWide(std::wstring_view text);
// Each character at its own whole-pixel position, as the layout measured it.
void DrawTextRun(QPainter& painter, int x, int baseline, std::wstring_view text, const TextMeasure& measure);

} // namespace platform::ui
