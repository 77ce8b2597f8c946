// Pens, fonts, bitmaps, text, shapes and block transfers.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include <QPainter>

#include "platform/core/LastError.h"
#include "platform/device/Device.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/gdi/GdiPainting.h"
#include "platform/ui/wm/PaintRecorder.h"
#include "platform/ui/qt/RectConversion.h"
#include "platform/ui/gdi/ResourceData.h"
#include "platform/ui/gdi/TextLayout.h"
#include "platform/ui/wm/WindowManager.h"

using namespace platform::ui;

namespace {

template <typename T>
int CopyOut(const T& value, int size, LPVOID buffer)
{
    if (buffer == nullptr)
        return static_cast<int>(sizeof(T));
    if (size < static_cast<int>(sizeof(T)))
        return 0;
    std::memcpy(buffer, &value, sizeof(T));
    return static_cast<int>(sizeof(T));
}

// The pen as Qt draws it, or none for the null pen.
std::optional<QPen> PenOf(HGDIOBJ handle)
{
    GdiObject* pen = LookupGdiObject(handle);
    if (pen == nullptr || pen->kind != GdiKind::Pen || pen->style == PS_NULL)
        return std::nullopt;
    QPen qpen(QColorFromColorRef(pen->color));
    int width = pen->width > 0 ? pen->width : 1;
    qpen.setWidth(width);
    qpen.setStyle(pen->style == PS_DASH ? Qt::DashLine : Qt::SolidLine);
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

int TextLength(LPCWSTR text, int count)
{
    return count < 0 ? static_cast<int>(std::wcslen(text)) : count;
}

uint32_t ApplyRop(DWORD rop, uint32_t source, uint32_t destination, uint32_t pattern)
{
    switch (rop) {
    case SRCCOPY:
        return source;
    case SRCPAINT:
        return source | destination;
    case SRCAND:
        return source & destination;
    case SRCINVERT:
        return source ^ destination;
    case MERGEPAINT:
        return ~source | destination;
    case NOTSRCCOPY:
        return ~source;
    case DSTINVERT:
        return ~destination;
    case PATCOPY:
        return pattern;
    case BLACKNESS:
        return 0;
    case WHITENESS:
        return 0xFFFFFF;
    default:
        return destination;
    }
}

bool RopUsesSource(DWORD rop)
{
    return rop != DSTINVERT && rop != PATCOPY && rop != BLACKNESS && rop != WHITENESS;
}

bool KnownRop(DWORD rop)
{
    switch (rop) {
    case SRCCOPY:
    case SRCPAINT:
    case SRCAND:
    case SRCINVERT:
    case MERGEPAINT:
    case NOTSRCCOPY:
    case DSTINVERT:
    case PATCOPY:
    case BLACKNESS:
    case WHITENESS:
        return true;
    default:
        return false;
    }
}

// The block transfer both BitBlt and StretchBlt come to: every destination pixel inside the
// clip takes the raster operation of the source pixel that maps onto it.
BOOL Transfer(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
    int sourceWidth, int sourceHeight, DWORD rop)
{
    DeviceContext* to = LookupDeviceContext(destination);
    if (to == nullptr)
        return FALSE;
    if (!KnownRop(rop) || width < 0 || height < 0 || sourceWidth <= 0 || sourceHeight <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    QImage* target = to->Target();
    if (target == nullptr)
        return FALSE;
    QImage sourceCopy;
    if (RopUsesSource(rop)) {
        DeviceContext* from = LookupDeviceContext(source);
        if (from == nullptr)
            return FALSE;
        QImage* sourceImage = from->Target();
        if (sourceImage == nullptr)
            return FALSE;
        // A copy: source and destination may be the same image.
        sourceCopy = sourceImage->convertToFormat(QImage::Format_RGB32);
    }
    uint32_t pattern = 0;
    if (auto brush = BrushColor(to->brush))
        pattern = brush->rgb() & 0xFFFFFF;
    QRect clip = to->ClipRect().intersected(QRect(x, y, width, height));
    for (int dy = clip.top(); dy <= clip.bottom(); ++dy) {
        auto* line = reinterpret_cast<uint32_t*>(target->scanLine(dy));
        int sy = sourceY + static_cast<int>(static_cast<int64_t>(dy - y) * sourceHeight / std::max(height, 1));
        for (int dx = clip.left(); dx <= clip.right(); ++dx) {
            uint32_t sourcePixel = 0;
            if (!sourceCopy.isNull()) {
                int sx = sourceX + static_cast<int>(static_cast<int64_t>(dx - x) * sourceWidth / std::max(width, 1));
                if (sx < 0 || sy < 0 || sx >= sourceCopy.width() || sy >= sourceCopy.height())
                    continue; // outside the source: the platform leaves those pixels
                sourcePixel = sourceCopy.pixel(sx, sy) & 0xFFFFFF;
            }
            uint32_t result = ApplyRop(rop, sourcePixel, line[dx] & 0xFFFFFF, pattern);
            line[dx] = 0xFF000000u | (result & 0xFFFFFF);
        }
    }
    return TRUE;
}

} // namespace

HPEN CreatePen(int style, int width, COLORREF color)
{
    if (style != PS_SOLID && style != PS_DASH && style != PS_NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_unique<GdiObject>();
    object->kind = GdiKind::Pen;
    object->style = style;
    object->width = width > 0 ? width : 1;
    object->color = color & 0x00FFFFFF;
    return RegisterGdiObject(std::move(object));
}

HFONT CreateFontIndirectW(const LOGFONTW* font)
{
    if (font == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    WindowManager::Get(); // fonts need Qt's application
    auto object = std::make_unique<GdiObject>();
    object->kind = GdiKind::Font;
    object->logFont = *font;
    return RegisterGdiObject(std::move(object));
}

int GetObjectW(HGDIOBJ handle, int size, LPVOID buffer)
{
    GdiObject* object = LookupGdiObject(handle);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (object->kind) {
    case GdiKind::Font:
        return CopyOut(LogFontOf(*object), size, buffer);
    case GdiKind::Bitmap: {
        BITMAP bitmap {};
        bitmap.bmWidth = object->image.width();
        bitmap.bmHeight = object->image.height();
        bitmap.bmBitsPixel = static_cast<WORD>(object->bitsPerPixel);
        bitmap.bmPlanes = 1;
        bitmap.bmWidthBytes = ((bitmap.bmWidth * bitmap.bmBitsPixel + 15) / 16) * 2;
        return CopyOut(bitmap, size, buffer);
    }
    case GdiKind::Pen:
        return CopyOut(LOGPEN { static_cast<UINT>(object->style), POINT { object->width, 0 }, object->color }, size, buffer);
    case GdiKind::Brush:
        return CopyOut(LOGBRUSH { static_cast<UINT>(object->style), object->color, 0 }, size, buffer);
    }
    return 0;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
    if (LookupDeviceContext(dc) == nullptr)
        return nullptr;
    if (width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_unique<GdiObject>();
    object->kind = GdiKind::Bitmap;
    object->image = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    object->image.fill(QColor(0, 0, 0));
    return RegisterGdiObject(std::move(object));
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr)
        return CLR_INVALID;
    COLORREF previous = context->textColor;
    context->textColor = color & 0x00FFFFFF;
    return previous;
}

COLORREF GetTextColor(HDC dc)
{
    DeviceContext* context = LookupDeviceContext(dc);
    return context != nullptr ? context->textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr)
        return CLR_INVALID;
    COLORREF previous = context->backgroundColor;
    context->backgroundColor = color & 0x00FFFFFF;
    return previous;
}

int SetBkMode(HDC dc, int mode)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int previous = context->backgroundMode;
    context->backgroundMode = mode;
    return previous;
}

int GetBkMode(HDC dc)
{
    DeviceContext* context = LookupDeviceContext(dc);
    return context != nullptr ? context->backgroundMode : 0;
}

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || metrics == nullptr)
        return FALSE;
    QFont font = ContextFont(context->font);
    QFontMetrics fm(font);
    *metrics = TEXTMETRICW {};
    metrics->tmAscent = fm.ascent();
    metrics->tmDescent = fm.descent();
    metrics->tmHeight = fm.ascent() + fm.descent();
    metrics->tmInternalLeading = metrics->tmHeight - font.pixelSize();
    metrics->tmAveCharWidth = fm.horizontalAdvance(QLatin1Char('x'));
    metrics->tmMaxCharWidth = fm.maxWidth();
    metrics->tmWeight = font.bold() ? FW_BOLD : FW_NORMAL;
    metrics->tmDigitizedAspectX = metrics->tmDigitizedAspectY = platform::CurrentDevice().dpi;
    metrics->tmFirstChar = 0x20;
    metrics->tmLastChar = 0xFFFC;
    metrics->tmDefaultChar = L'?';
    metrics->tmBreakChar = L' ';
    metrics->tmItalic = font.italic() ? 1 : 0;
    metrics->tmUnderlined = font.underline() ? 1 : 0;
    metrics->tmCharSet = 1;
    return TRUE;
}

BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || text == nullptr || count < 0 || size == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    QFontMetrics fm(ContextFont(context->font));
    QString qtext = QStringFromWide(std::wstring_view(text, static_cast<size_t>(count)));
    int fits = 0;
    for (int i = 0; i < count; ++i) {
        int extent = TextWidth(fm, qtext.left(i + 1));
        if (dx != nullptr)
            dx[i] = extent;
        if (extent <= maxExtent && fits == i)
            fits = i + 1;
    }
    if (fit != nullptr)
        *fit = fits;
    size->cx = TextWidth(fm, qtext);
    size->cy = fm.ascent() + fm.descent();
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size)
{
    return GetTextExtentExPointW(dc, text, count, 0, nullptr, nullptr, size);
}

int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || text == nullptr || rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int length = TextLength(text, count);
    std::wstring_view content(text, static_cast<size_t>(length));
    QFont font = ContextFont(context->font);
    QFontMetrics fm(font);
    TextLayout layout = LayoutText(content, format, rect->right - rect->left, fm);
    int height = layout.lineHeight * static_cast<int>(layout.lines.size());
    if ((format & DT_CALCRECT) != 0) {
        rect->right = rect->left + layout.widest;
        rect->bottom = rect->top + height;
        return height;
    }

    int top = rect->top;
    bool single = (format & DT_SINGLELINE) != 0;
    if (single && (format & DT_VCENTER) != 0)
        top = rect->top + (rect->bottom - rect->top - layout.lineHeight) / 2;
    else if (single && (format & DT_BOTTOM) != 0)
        top = rect->bottom - layout.lineHeight;

    RecordText(*context, platform::PaintedText { std::wstring(content), *rect, format, context->textColor });
    PaintOn(*context, [&](QPainter& painter) {
        if ((format & DT_NOCLIP) == 0)
            painter.setClipRect(QRectFromRect(*rect), Qt::IntersectClip);
        painter.setFont(font);
        painter.setPen(QColorFromColorRef(context->textColor));
        int y = top;
        for (const TextLine& line : layout.lines) {
            int x = rect->left;
            if ((format & DT_CENTER) != 0)
                x = rect->left + (rect->right - rect->left - line.width) / 2;
            else if ((format & DT_RIGHT) != 0)
                x = rect->right - line.width;
            if (context->backgroundMode == OPAQUE)
                painter.fillRect(QRect(x, y, line.width, layout.lineHeight), QColorFromColorRef(context->backgroundColor));
            DrawTextRun(painter, x, y + layout.ascent, line.text, fm);
            if (line.underline >= 0) {
                int from = x + TextWidth(fm, line.text.left(line.underline));
                int to = x + TextWidth(fm, line.text.left(line.underline + 1));
                painter.drawLine(from, y + layout.ascent + 1, to - 1, y + layout.ascent + 1);
            }
            y += layout.lineHeight;
        }
    });
    if (single && ((format & DT_VCENTER) != 0 || (format & DT_BOTTOM) != 0))
        return top + layout.lineHeight - rect->top;
    return height;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr)
        return FALSE;
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    std::optional<QPen> pen = PenOf(context->pen);
    std::optional<QColor> fill = BrushColor(context->brush);
    PaintOn(*context, [&](QPainter& painter) {
        if (!pen) {
            if (fill && fill->alpha() != 0)
                painter.fillRect(QRect(left, top, right - left - 1, bottom - top - 1), *fill);
            return;
        }
        if (fill && fill->alpha() != 0)
            painter.fillRect(QRect(left, top, right - left, bottom - top), *fill);
        painter.setPen(*pen);
        painter.setBrush(Qt::NoBrush);
        int inset = pen->width() / 2;
        painter.drawRect(QRect(left + inset, top + inset, right - left - 1 - 2 * inset, bottom - top - 1 - 2 * inset));
    });
    return TRUE;
}

BOOL Polyline(HDC dc, const POINT* points, int count)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || points == nullptr || count < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::optional<QPen> pen = PenOf(context->pen);
    if (!pen)
        return TRUE;
    QPolygon polygon;
    if (pen->isCosmetic() && pen->style() == Qt::SolidLine) {
        for (int i = 0; i + 1 < count; ++i)
            AppendLinePixels(points[i], points[i + 1], polygon);
    } else {
        for (int i = 0; i < count; ++i)
            polygon << QPoint(points[i].x, points[i].y);
    }
    PaintOn(*context, [&](QPainter& painter) {
        painter.setPen(*pen);
        if (pen->isCosmetic() && pen->style() == Qt::SolidLine)
            painter.drawPoints(polygon);
        else
            painter.drawPolyline(polygon);
    });
    return TRUE;
}

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop)
{
    return Transfer(destination, x, y, width, height, source, sourceX, sourceY, std::max(width, 1), std::max(height, 1), rop);
}

BOOL StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
    int sourceWidth, int sourceHeight, DWORD rop)
{
    return Transfer(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, rop);
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH, UINT flags)
{
    DeviceContext* context = LookupDeviceContext(dc);
    Icon* found = LookupIcon(icon);
    if (context == nullptr || found == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (width == 0)
        width = found->image.width();
    if (height == 0)
        height = found->image.height();
    RecordIcon(*context, platform::PaintedIcon { found->resourceId, x, y, width, height });
    if ((flags & DI_IMAGE) == 0)
        return TRUE;
    PaintOn(*context, [&](QPainter& painter) {
        QRect target(x, y, width, height);
        if ((flags & DI_MASK) != 0)
            painter.drawImage(target, found->image); // the mask's transparency blends the image
        else
            painter.drawImage(target, found->image.convertToFormat(QImage::Format_RGB32));
    });
    return TRUE;
}
