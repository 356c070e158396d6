// A 32-bit pixel buffer: the window's picture and every loaded bitmap.
// All drawing is clipped to the buffer; nothing ever writes outside it. The
// buffer can remember which rectangles changed, so a host presents only those.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/types.h"

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, COLORREF fill = 0);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    CRect Bounds() const { return CRect(0, 0, m_nWidth, m_nHeight); }

    // CLR_INVALID outside the surface.
    COLORREF GetPixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF colour);

    // Fills the part of rc that lies on the surface.
    void Fill(const CRect &rc, COLORREF colour);

    enum class Op { Copy, Xor };
    // Copies the w x h block at (sx, sy) of src to (dx, dy), clipped to both
    // surfaces. Xor combines the stored values, so black leaves a pixel as it
    // was and the same block twice restores it exactly.
    void Blit(int dx, int dy, int w, int h, const Surface &src, int sx, int sy, Op op);

    const COLORREF *Row(int y) const { return &m_pixels[static_cast<size_t>(y) * m_nWidth]; }
    COLORREF *Row(int y) { return &m_pixels[static_cast<size_t>(y) * m_nWidth]; }
    const std::vector<COLORREF> &Pixels() const { return m_pixels; }

    // Changed-area bookkeeping, off by default.
    void TrackDamage(bool on) { m_bTrackDamage = on; m_damage.clear(); }
    void MarkDamaged(const CRect &rc);
    // The rectangles changed since the last call (merged, clipped), and forgets them.
    std::vector<CRect> TakeDamage();

private:
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<COLORREF> m_pixels;
    bool m_bTrackDamage = false;
    std::vector<CRect> m_damage;
};
