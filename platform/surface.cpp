// Pixel buffer operations: clipping, fills, block transfers, damage tracking.
#include "platform/surface.h"

#include <algorithm>

Surface::Surface(int width, int height, COLORREF fill)
    : m_nWidth(std::max(0, width)), m_nHeight(std::max(0, height)),
      m_pixels(static_cast<size_t>(m_nWidth) * m_nHeight, fill) {}

COLORREF Surface::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return CLR_INVALID;
    return Row(y)[x];
}

void Surface::SetPixel(int x, int y, COLORREF colour) {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
    Row(y)[x] = colour;
    MarkDamaged(CRect(x, y, x + 1, y + 1));
}

void Surface::Fill(const CRect &rc, COLORREF colour) {
    CRect r = rc.Intersect(Bounds());
    if (r.IsEmpty()) return;
    for (int y = r.top; y < r.bottom; ++y) std::fill(Row(y) + r.left, Row(y) + r.right, colour);
    MarkDamaged(r);
}

void Surface::Blit(int dx, int dy, int w, int h, const Surface &src, int sx, int sy, Op op) {
    // Clip against the source first, moving the destination with it, then
    // against the destination, moving the source with it.
    CRect s = CRect(sx, sy, sx + w, sy + h).Intersect(src.Bounds());
    if (s.IsEmpty()) return;
    dx += s.left - sx;
    dy += s.top - sy;
    CRect d = CRect(dx, dy, dx + s.Width(), dy + s.Height()).Intersect(Bounds());
    if (d.IsEmpty()) return;
    int srcX = s.left + (d.left - dx);
    int srcY = s.top + (d.top - dy);
    int width = d.Width();
    for (int y = 0; y < d.Height(); ++y) {
        const COLORREF *from = src.Row(srcY + y) + srcX;
        COLORREF *to = Row(d.top + y) + d.left;
        if (op == Op::Copy) {
            std::copy(from, from + width, to);
        } else {
            for (int x = 0; x < width; ++x) to[x] ^= from[x];
        }
    }
    MarkDamaged(d);
}

void Surface::MarkDamaged(const CRect &rc) {
    if (!m_bTrackDamage) return;
    CRect r = rc.Intersect(Bounds());
    if (r.IsEmpty()) return;
    // Join overlapping or touching rectangles; past a handful, keep one box.
    for (auto it = m_damage.begin(); it != m_damage.end(); ++it) {
        CRect grown(it->left - 1, it->top - 1, it->right + 1, it->bottom + 1);
        if (!grown.Intersect(r).IsEmpty()) {
            r = r.Union(*it);
            m_damage.erase(it);
            MarkDamaged(r);
            return;
        }
    }
    m_damage.push_back(r);
    if (m_damage.size() > 32) {
        CRect all;
        for (const CRect &d : m_damage) all = all.Union(d);
        m_damage.assign(1, all);
    }
}

std::vector<CRect> Surface::TakeDamage() {
    std::vector<CRect> out;
    out.swap(m_damage);
    return out;
}
