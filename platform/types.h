// Basic value types of the platform layer: colours, rectangles and the small
// integer types the game code is written with.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using BOOL = int;
using COLORREF = std::uint32_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// A colour value keeps red in the lowest byte, then green, then blue.
constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>(static_cast<BYTE>(r)) |
           (static_cast<COLORREF>(static_cast<BYTE>(g)) << 8) |
           (static_cast<COLORREF>(static_cast<BYTE>(b)) << 16);
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

// What GetPixel answers for a point outside the surface.
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// A rectangle whose right and bottom edges are exclusive.
struct CRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(int x, int y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }

    constexpr CRect Intersect(const CRect &o) const {
        CRect r(left > o.left ? left : o.left, top > o.top ? top : o.top,
                right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom);
        return r.IsEmpty() ? CRect() : r;
    }
    constexpr CRect Union(const CRect &o) const {
        if (IsEmpty()) return o;
        if (o.IsEmpty()) return *this;
        return CRect(left < o.left ? left : o.left, top < o.top ? top : o.top,
                     right > o.right ? right : o.right, bottom > o.bottom ? bottom : o.bottom);
    }
    constexpr bool operator==(const CRect &) const = default;
};
