#include "platform/ui/qt/QtPainting.h"

#include <cstdlib>
#include <functional>

#include <QPainter>

#include "platform/ui/qt/ImageView.h"
#include "platform/ui/qt/QtFonts.h"
#include "platform/ui/qt/QtTextMeasure.h"
#include "platform/ui/qt/RectConversion.h"

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
    QtTextMeasure measure(font);
    TextLayout layout = LayoutText(content, format, rect.right - rect.left, measure);
    std::vector<PlacedLine> placed;
    int result = PlaceText(layout, measure, rect, format, target != nullptr ? &placed : nullptr);
    if (target == nullptr || (format & DT_CALCRECT) != 0)
        return result;
    PaintOn(*target, clip, [&](QPainter& painter) {
        if ((format & DT_NOCLIP) == 0)
            painter.setClipRect(QRectFromRect(rect), Qt::IntersectClip);
        painter.setFont(font);
        painter.setPen(QColorFromColorRef(colors.text));
        for (const PlacedLine& at : placed) {
            if (colors.opaque)
                painter.fillRect(QRect(at.x, at.y, at.line->width, layout.lineHeight), QColorFromColorRef(colors.background));
            DrawTextRun(painter, at.x, at.y + layout.ascent, at.line->text, measure);
            if (at.line->underline >= 0)
                painter.drawLine(at.underlineFrom, at.y + layout.ascent + 1, at.underlineTo - 1, at.y + layout.ascent + 1);
        }
    });
    return result;
}

TEXTMETRICW TextMetrics(const LOGFONTW& logFont)
{
    QtTextMeasure measure(QFontFromLogFont(logFont));
    return TextMetricsOf(measure, logFont, measure.Metrics().maxWidth());
}

SIZE TextExtent(const LOGFONTW& logFont, std::wstring_view text, int* dx)
{
    return TextExtentOf(QtTextMeasure(QFontFromLogFont(logFont)), text, dx);
}

} // namespace platform::ui::qt
