#include "platform/ui/qt/QtTextMeasure.h"

#include <QPainter>

namespace platform::ui {

namespace {

QString CharacterString(wchar_t ch)
{
    if (static_cast<uint32_t>(ch) <= 0xFFFF)
        return QString(QChar(static_cast<char16_t>(ch)));
    char32_t point = static_cast<char32_t>(ch);
    return QString::fromUcs4(&point, 1);
}

} // namespace

int QtTextMeasure::Advance(wchar_t ch) const
{
    if (static_cast<uint32_t>(ch) <= 0xFFFF)
        return m_metrics.horizontalAdvance(QChar(static_cast<char16_t>(ch)));
    return m_metrics.horizontalAdvance(CharacterString(ch));
}

QString QStringFromWide(std::wstring_view text)
{
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

void DrawTextRun(QPainter& painter, int x, int baseline, std::wstring_view text, const TextMeasure& measure)
{
    for (wchar_t ch : text) {
        painter.drawText(QPoint(x, baseline), CharacterString(ch));
        x += measure.Advance(ch);
    }
}

} // namespace platform::ui
