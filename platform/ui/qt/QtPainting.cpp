#include "platform/ui/qt/QtPainting.h"

#include <cstdlib>
#include <functional>

#include <QPainter>

#include "platform/device/Device.h"
#include "platform/ui/qt/ImageView.h"
#include "platform/ui/qt/QtFonts.h"
#include "platform/ui/qt/RectConversion.h"
#include "platform/ui/qt/TextLayout.h"

namespace platform::ui::qt {

namespace {

void PaintOn(Image& target, const RECT& clip, const std::function<void(QPainter&)>& draw)
{
    QImage view = WritableView(target);
    QPainter painter(&view);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(QRectFromRect(clip));
    draw(painter);
}

QPen QPenOf(const PenSpec& pen)
{
    QPen qpen(QColorFromColorRef(pen.color));
    int width = pen.width > 0 ? pen.width : 1;
    qpen.setWidth(width);
    qpen.setStyle(pen.style == PS_DASH ? Qt::DashLine : Qt::SolidLine);
    // Wide pens are geometric with round ends and joins; one-pixel pens are cosmetic.
    qpen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
    qpen.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    qpen.setCosmetic(width == 1);
    return qpen;
}

// The pixels of a one-pixel line from `from` up to but not including `to`, stepping along the
// longer axis: the platform leaves a line's end point out, so that a polyline's segments meet
// without drawing their joints twice (which matters under the raster operations) and a chart's
// trace stops where its data does.
void AppendLinePixels(POINT from, POINT to, QPolygon& pixels)
{
    int dx = std::abs(to.x - from.x);
    int dy = std::abs(to.y - from.y);
    int stepX = to.x >= from.x ? 1 : -1;
    int stepY = to.y >= from.y ? 1 : -1;
    int x = from.x;
    int y = from.y;
    if (dx >= dy) {
        int error = dx / 2;
        for (int i = 0; i < dx; ++i) {
            pixels << QPoint(x, y);
            x += stepX;
            error -= dy;
            if (error < 0) {
                y += stepY;
                error += dx;
            }
        }
    } else {
        int error = dy / 2;
        for (int i = 0; i < dy; ++i) {
            pixels << QPoint(x, y);
            y += stepY;
            error -= dx;
            if (error < 0) {
                x += stepX;
                error += dy;
            }
        }
    }
}

} // namespace

void DrawRectangle(Image& target, const RECT& clip, const RECT& rect, const std::optional<PenSpec>& pen,
    std::optional<COLORREF> fill)
{
    int left = rect.left;
    int top = rect.top;
    int right = rect.right;
    int bottom = rect.bottom;
    PaintOn(target, clip, [&](QPainter& painter) {
        if (!pen) {
            if (fill)
                painter.fillRect(QRect(left, top, right - left - 1, bottom - top - 1), QColorFromColorRef(*fill));
            return;
        }
        if (fill)
            painter.fillRect(QRect(left, top, right - left, bottom - top), QColorFromColorRef(*fill));
        QPen qpen = QPenOf(*pen);
        painter.setPen(qpen);
        painter.setBrush(Qt::NoBrush);
        int inset = qpen.width() / 2;
        painter.drawRect(QRect(left + inset, top + inset, right - left - 1 - 2 * inset, bottom - top - 1 - 2 * inset));
    });
}

void DrawPolyline(Image& target, const RECT& clip, const POINT* points, int count, const PenSpec& pen)
{
    QPen qpen = QPenOf(pen);
    bool pixelLine = qpen.isCosmetic() && qpen.style() == Qt::SolidLine;
    QPolygon polygon;
    if (pixelLine) {
        for (int i = 0; i + 1 < count; ++i)
            AppendLinePixels(points[i], points[i + 1], polygon);
    } else {
        for (int i = 0; i < count; ++i)
            polygon << QPoint(points[i].x, points[i].y);
    }
    PaintOn(target, clip, [&](QPainter& painter) {
        painter.setPen(qpen);
        if (pixelLine)
            painter.drawPoints(polygon);
        else
            painter.drawPolyline(polygon);
    });
}

void DrawImage(Image& target, const RECT& clip, const RECT& rect, const Image& source, bool blend)
{
    PaintOn(target, clip, [&](QPainter& painter) {
        QImage view = ReadOnlyView(source);
        painter.drawImage(QRectFromRect(rect), blend ? view : view.convertToFormat(QImage::Format_RGB32));
    });
}

int DrawText(Image* target, const RECT& clip, const LOGFONTW& logFont, std::wstring_view content, RECT& rect, UINT format,
    const TextColors& colors)
{
    QFont font = QFontFromLogFont(logFont);
    QFontMetrics fm(font);
    TextLayout layout = LayoutText(content, format, rect.right - rect.left, fm);
    int height = layout.lineHeight * static_cast<int>(layout.lines.size());
    if ((format & DT_CALCRECT) != 0) {
        rect.right = rect.left + layout.widest;
        rect.bottom = rect.top + height;
        return height;
    }

    int top = rect.top;
    bool single = (format & DT_SINGLELINE) != 0;
    if (single && (format & DT_VCENTER) != 0)
        top = rect.top + (rect.bottom - rect.top - layout.lineHeight) / 2;
    else if (single && (format & DT_BOTTOM) != 0)
        top = rect.bottom - layout.lineHeight;

    if (target != nullptr) {
        PaintOn(*target, clip, [&](QPainter& painter) {
            if ((format & DT_NOCLIP) == 0)
                painter.setClipRect(QRectFromRect(rect), Qt::IntersectClip);
            painter.setFont(font);
            painter.setPen(QColorFromColorRef(colors.text));
            int y = top;
            for (const TextLine& line : layout.lines) {
                int x = rect.left;
                if ((format & DT_CENTER) != 0)
                    x = rect.left + (rect.right - rect.left - line.width) / 2;
                else if ((format & DT_RIGHT) != 0)
                    x = rect.right - line.width;
                if (colors.opaque)
                    painter.fillRect(QRect(x, y, line.width, layout.lineHeight), QColorFromColorRef(colors.background));
                DrawTextRun(painter, x, y + layout.ascent, line.text, fm);
                if (line.underline >= 0) {
                    int from = x + TextWidth(fm, line.text.left(line.underline));
                    int to = x + TextWidth(fm, line.text.left(line.underline + 1));
                    painter.drawLine(from, y + layout.ascent + 1, to - 1, y + layout.ascent + 1);
                }
                y += layout.lineHeight;
            }
        });
    }
    if (single && ((format & DT_VCENTER) != 0 || (format & DT_BOTTOM) != 0))
        return top + layout.lineHeight - rect.top;
    return height;
}

TEXTMETRICW TextMetrics(const LOGFONTW& logFont)
{
    QFont font = QFontFromLogFont(logFont);
    QFontMetrics fm(font);
    TEXTMETRICW metrics {};
    metrics.tmAscent = fm.ascent();
    metrics.tmDescent = fm.descent();
    metrics.tmHeight = fm.ascent() + fm.descent();
    metrics.tmInternalLeading = metrics.tmHeight - font.pixelSize();
    metrics.tmAveCharWidth = fm.horizontalAdvance(QLatin1Char('x'));
    metrics.tmMaxCharWidth = fm.maxWidth();
    metrics.tmWeight = font.bold() ? FW_BOLD : FW_NORMAL;
    metrics.tmDigitizedAspectX = metrics.tmDigitizedAspectY = CurrentDevice().dpi;
    metrics.tmFirstChar = 0x20;
    metrics.tmLastChar = 0xFFFC;
    metrics.tmDefaultChar = L'?';
    metrics.tmBreakChar = L' ';
    metrics.tmItalic = font.italic() ? 1 : 0;
    metrics.tmUnderlined = font.underline() ? 1 : 0;
    metrics.tmCharSet = 1;
    return metrics;
}

SIZE TextExtent(const LOGFONTW& logFont, std::wstring_view text, int* dx)
{
    QFontMetrics fm(QFontFromLogFont(logFont));
    QString qtext = QStringFromWide(text);
    if (dx != nullptr) {
        for (size_t i = 0; i < text.size(); ++i)
            dx[i] = TextWidth(fm, qtext.left(static_cast<qsizetype>(i + 1)));
    }
    return SIZE { TextWidth(fm, qtext), fm.ascent() + fm.descent() };
}

} // namespace platform::ui::qt
