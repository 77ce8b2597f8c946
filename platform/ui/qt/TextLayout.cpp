#include "platform/ui/qt/TextLayout.h"

#include <QPainter>
#include <QStringList>

namespace platform::ui {

int TextWidth(const QFontMetrics& metrics, const QString& text)
{
    int width = 0;
    for (QChar ch : text)
        width += metrics.horizontalAdvance(ch);
    return width;
}

void DrawTextRun(QPainter& painter, int x, int baseline, const QString& text, const QFontMetrics& metrics)
{
    for (QChar ch : text) {
        painter.drawText(QPoint(x, baseline), QString(ch));
        x += metrics.horizontalAdvance(ch);
    }
}

namespace {

// Removes prefix characters: "&&" is a literal "&", "&x" marks x.
TextLine StripPrefix(const QString& text, bool prefixes)
{
    TextLine line;
    if (!prefixes) {
        line.text = text;
        return line;
    }
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
            if (text[i] != QLatin1Char('&') && line.underline < 0)
                line.underline = static_cast<int>(line.text.size());
        }
        line.text.append(text[i]);
    }
    return line;
}

// Breaks one line at spaces so that each piece fits the width; a word wider than the width
// stays whole on its own line.
std::vector<QString> BreakWords(const QString& text, int width, const QFontMetrics& metrics)
{
    std::vector<QString> pieces;
    QString current;
    int i = 0;
    while (i < text.size()) {
        int start = i;
        while (i < text.size() && text[i] == QLatin1Char(' '))
            ++i;
        while (i < text.size() && text[i] != QLatin1Char(' '))
            ++i;
        QString word = text.mid(start, i - start);
        QString candidate = current + word;
        if (current.isEmpty() || TextWidth(metrics, candidate.trimmed()) <= width) {
            current = candidate;
            continue;
        }
        pieces.push_back(current);
        current = word.trimmed();
    }
    pieces.push_back(current);
    for (QString& piece : pieces) {
        while (piece.endsWith(QLatin1Char(' ')))
            piece.chop(1);
    }
    return pieces;
}

} // namespace

QString QStringFromWide(std::wstring_view text)
{
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

TextLayout LayoutText(std::wstring_view text, UINT format, int width, const QFontMetrics& metrics)
{
    TextLayout layout;
    layout.ascent = metrics.ascent();
    layout.lineHeight = metrics.ascent() + metrics.descent();
    QString all = QStringFromWide(text);
    if ((format & DT_EXPANDTABS) != 0)
        all.replace(QLatin1Char('\t'), QString(8, QLatin1Char(' ')));
    std::vector<QString> rawLines;
    if ((format & DT_SINGLELINE) != 0) {
        all.remove(QLatin1Char('\r'));
        all.remove(QLatin1Char('\n'));
        rawLines.push_back(all);
    } else {
        all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        all.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        for (const QString& piece : all.split(QLatin1Char('\n')))
            rawLines.push_back(piece);
    }
    bool prefixes = (format & DT_NOPREFIX) == 0;
    for (const QString& raw : rawLines) {
        TextLine stripped = StripPrefix(raw, prefixes);
        if ((format & DT_WORDBREAK) != 0 && (format & DT_SINGLELINE) == 0) {
            int consumed = 0;
            for (const QString& piece : BreakWords(stripped.text, width, metrics)) {
                TextLine line;
                line.text = piece;
                int at = static_cast<int>(stripped.text.indexOf(piece, consumed));
                if (stripped.underline >= at && stripped.underline < at + piece.size())
                    line.underline = stripped.underline - at;
                consumed = at + static_cast<int>(piece.size());
                layout.lines.push_back(line);
            }
        } else {
            layout.lines.push_back(stripped);
        }
    }
    for (TextLine& line : layout.lines) {
        line.width = TextWidth(metrics, line.text);
        layout.widest = std::max(layout.widest, line.width);
    }
    return layout;
}

} // namespace platform::ui
