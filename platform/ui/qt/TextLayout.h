// Line layout for DrawTextW: prefix characters, line breaks, word breaking and extents, by the
// platform's rules, measured with the font's metrics.
#pragma once

#include <string_view>
#include <vector>

#include <QFontMetrics>
#include <QString>

class QPainter;

#include "platform/ui/WinGdi.h"

namespace platform::ui {

struct TextLine {
    QString text;
    int width = 0;
    int underline = -1; // index of the character a prefix "&" underlines
};

struct TextLayout {
    std::vector<TextLine> lines;
    int lineHeight = 0;
    int ascent = 0;
    int widest = 0;
};

// Text advances by whole pixels per character, as the platform's text does: the width of a
// text is the sum of its characters' rounded advances, and each character is drawn at its own
// whole-pixel position.
int TextWidth(const QFontMetrics& metrics, const QString& text);
void DrawTextRun(QPainter& painter, int x, int baseline, const QString& text, const QFontMetrics& metrics);

TextLayout LayoutText(std::wstring_view text, UINT format, int width, const QFontMetrics& metrics);
QString QStringFromWide(std::wstring_view text);

} // namespace platform::ui
