#include "platform/ui/qt/QtFonts.h"

#include <QColor>

#include "platform/ui/backend/TextLayout.h"
#include "platform/ui/gdi/GdiObject.h"

namespace platform::ui {

QFont QFontFromLogFont(const LOGFONTW& logFont)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStretch(QFont::Unstretched);
    font.setPixelSize(FontPixelSize(logFont));
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
