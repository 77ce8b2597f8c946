#include "platform/ui/qt/QtFonts.h"

#include <cmath>

#include <QColor>

#include "platform/ui/gdi/GdiObject.h"

namespace platform::ui {

QFont QFontFromLogFont(const LOGFONTW& logFont)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStretch(QFont::Unstretched);
    // DejaVu Sans: ascent 0.928 and descent 0.236 of the em, so a cell height h has an em of
    // h / 1.164.
    int height = logFont.lfHeight;
    int pixels = height < 0 ? -height : height > 0 ? static_cast<int>(std::lround(height / 1.164)) : -SystemLogFont().lfHeight;
    font.setPixelSize(pixels > 0 ? pixels : 1);
    font.setWeight(logFont.lfWeight >= 600 ? QFont::Bold : QFont::Normal);
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    QFont::StyleStrategy strategy = QFont::NoFontMerging;
    strategy = static_cast<QFont::StyleStrategy>(
        strategy | (logFont.lfQuality == NONANTIALIASED_QUALITY ? QFont::NoAntialias : QFont::PreferAntialias));
    font.setStyleStrategy(strategy);
    return font;
}

QFont ContextFont(HGDIOBJ handle)
{
    return QFontFromLogFont(LogFontOfHandle(handle));
}

QColor QColorFromColorRef(COLORREF color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

} // namespace platform::ui
