#include <algorithm>

#include "platform/ui/WinDef.h"

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom)
{
    if (rect == nullptr)
        return FALSE;
    *rect = RECT { left, top, right, bottom };
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect)
{
    return SetRect(rect, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT destination, const RECT* source)
{
    if (destination == nullptr || source == nullptr)
        return FALSE;
    *destination = *source;
    return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy)
{
    if (rect == nullptr)
        return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy)
{
    if (rect == nullptr)
        return FALSE;
    rect->left -= dx;
    rect->right += dx;
    rect->top -= dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rect)
{
    return rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL EqualRect(const RECT* a, const RECT* b)
{
    if (a == nullptr || b == nullptr)
        return FALSE;
    return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* rect, POINT point)
{
    if (rect == nullptr)
        return FALSE;
    return point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom;
}

BOOL IntersectRect(LPRECT destination, const RECT* a, const RECT* b)
{
    if (destination == nullptr || a == nullptr || b == nullptr)
        return FALSE;
    RECT result { std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
        std::min(a->bottom, b->bottom) };
    if (IsRectEmpty(&result)) {
        SetRectEmpty(destination);
        return FALSE;
    }
    *destination = result;
    return TRUE;
}

BOOL UnionRect(LPRECT destination, const RECT* a, const RECT* b)
{
    if (destination == nullptr || a == nullptr || b == nullptr)
        return FALSE;
    bool aEmpty = IsRectEmpty(a);
    bool bEmpty = IsRectEmpty(b);
    if (aEmpty && bEmpty) {
        SetRectEmpty(destination);
        return FALSE;
    }
    if (aEmpty) {
        *destination = *b;
        return TRUE;
    }
    if (bEmpty) {
        *destination = *a;
        return TRUE;
    }
    *destination = RECT { std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
        std::max(a->bottom, b->bottom) };
    return TRUE;
}
