// Fonts and text output: resolving face names through fontconfig, rendering
// the Latin-1 glyphs of a face with FreeType at a cell height and average
// width, CFont, and CDC::TextOut drawing those glyphs onto a surface.
#include "platform/font.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include "platform/gdi.h"

namespace {

// Legacy face names that no installed family carries, and the family that
// stands in for each. fontconfig knows the stand-ins' metric-compatible
// replacements, but not the legacy names themselves.
struct Substitution {
    const char *legacy;
    const char *family;
};
constexpr Substitution kSubstitutions[] = {
    {"TmsRmn", "Times New Roman"},
    {"Tms Rmn", "Times New Roman"},
    {"Helv", "Arial"},
};

// Generic family names: whatever fontconfig picks for them is right.
constexpr const char *kGenericFamilies[] = {"serif", "sans-serif", "sans", "monospace"};

// English letter frequencies per thousand for 'a'..'z'; the space weighs
// 166. The average character width of a face is the weighted average of
// these advances, the way desktop fonts have long defined it.
constexpr int kLetterWeights[26] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20,
                                    56, 56, 17, 4,  49, 56, 71, 31, 10, 18, 3,  18, 2};
constexpr int kSpaceWeight = 166;

// The cell height used when a font asks for none.
constexpr int kDefaultCellHeight = 16;

std::string Lower(std::string s) {
    for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool IsGeneric(const std::string &family) {
    std::string l = Lower(family);
    for (const char *g : kGenericFamilies)
        if (l == g) return true;
    return false;
}

std::string Substitute(const char *faceName) {
    std::string name = faceName ? faceName : "";
    std::string l = Lower(name);
    for (const Substitution &s : kSubstitutions)
        if (l == Lower(s.legacy)) return s.family;
    return name;
}

// A face file that fontconfig found.
struct Resolved {
    std::string file;
    int index = 0;
    std::string family;
};

std::string FirstFamily(FcPattern *font) {
    FcChar8 *family = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch && family)
        return reinterpret_cast<const char *>(family);
    return {};
}

std::optional<Resolved> ResolvedFrom(FcPattern *font) {
    FcChar8 *file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) return std::nullopt;
    Resolved r;
    r.file = reinterpret_cast<const char *>(file);
    int index = 0;
    if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) r.index = index;
    r.family = FirstFamily(font);
    return r;
}

} // namespace

// The process-wide font state: the FreeType library, open faces by file,
// prepared FontFaces by file and size, and the answers fontconfig gave. One
// lock guards it all; faces are made once and only read afterwards.
class FontRegistry {
public:
    static FontRegistry &Get() {
        // Never destroyed: fonts may still be released by static objects
        // during exit.
        static FontRegistry *registry = new FontRegistry;
        return *registry;
    }

    std::shared_ptr<const FontFace> Create(const char *faceName, int nHeight, int nWidth,
                                           int nWeight, bool bItalic);

private:
    FontRegistry() {
        m_bFreeType = FT_Init_FreeType(&m_library) == 0;
        m_bFontconfig = FcInit() == FcTrue;
        // fontconfig keeps its configuration until told otherwise; release
        // it at exit so leak checkers see a clean process. Nothing here holds
        // fontconfig objects between calls.
        if (m_bFontconfig) std::atexit([] { FcFini(); });
    }

    std::optional<Resolved> Resolve(const char *faceName, int nWeight, bool bItalic);
    std::optional<Resolved> Match(const std::string &family, bool strict, int nWeight,
                                  bool bItalic);
    std::optional<Resolved> AnyFace();
    FT_Face Open(const Resolved &r);
    std::shared_ptr<const FontFace> Build(FT_Face face, const Resolved &r, int nHeight,
                                          int nWidth);
    void ReportNoFont();

    std::mutex m_mutex;
    FT_Library m_library = nullptr;
    bool m_bFreeType = false;
    bool m_bFontconfig = false;
    bool m_bReported = false;
    std::map<std::tuple<std::string, int, bool>, std::optional<Resolved>> m_resolved;
    std::map<std::pair<std::string, int>, FT_Face> m_faces;
    std::map<std::tuple<std::string, int, int, int>, std::shared_ptr<const FontFace>> m_fonts;
};

std::shared_ptr<const FontFace> FontRegistry::Create(const char *faceName, int nHeight,
                                                     int nWidth, int nWeight, bool bItalic) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::optional<Resolved> r = Resolve(faceName, nWeight, bItalic);
    if (!r) {
        ReportNoFont();
        return nullptr;
    }
    if (nWidth < 0) nWidth = -nWidth;
    auto key = std::make_tuple(r->file, r->index, nHeight, nWidth);
    auto it = m_fonts.find(key);
    if (it != m_fonts.end()) return it->second;
    FT_Face face = Open(*r);
    std::shared_ptr<const FontFace> font = face ? Build(face, *r, nHeight, nWidth) : nullptr;
    if (!font) {
        ReportNoFont();
        return nullptr;
    }
    m_fonts.emplace(key, font);
    return font;
}

void FontRegistry::ReportNoFont() {
    if (m_bReported) return;
    m_bReported = true;
    std::fputs("quarzel: no usable font found; texts will not be drawn\n", stderr);
}

// The face for a name: the name itself (after the legacy substitutions) or
// one of its metric-compatible aliases; else the serif face; else the first
// outline face installed. Remembered per name, weight and slant.
std::optional<Resolved> FontRegistry::Resolve(const char *faceName, int nWeight, bool bItalic) {
    std::string family = Substitute(faceName);
    auto key = std::make_tuple(Lower(family), nWeight, bItalic);
    auto it = m_resolved.find(key);
    if (it != m_resolved.end()) return it->second;

    std::optional<Resolved> r;
    if (m_bFreeType && m_bFontconfig) {
        if (!family.empty()) r = Match(family, !IsGeneric(family), nWeight, bItalic);
        if (!r) r = Match("serif", false, nWeight, bItalic);
        if (!r) r = AnyFace();
    }
    m_resolved.emplace(key, r);
    return r;
}

// Asks fontconfig for `family`. When strict, the answer counts only if it is
// the family itself or an alias that fontconfig's configuration binds firmly
// to it (the metric-compatible replacements); the weak defaults it appends to
// every request would otherwise turn any unknown name into its sans face.
std::optional<Resolved> FontRegistry::Match(const std::string &family, bool strict, int nWeight,
                                            bool bItalic) {
    FcPattern *pattern = FcPatternCreate();
    if (!pattern) return std::nullopt;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(nWeight > 0 ? nWeight : 400));
    FcPatternAddInteger(pattern, FC_SLANT, bItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    std::set<std::string> accepted;
    if (strict) {
        FcPatternIter iter;
        FcPatternIterStart(pattern, &iter);
        if (FcPatternFindIter(pattern, &iter, FC_FAMILY)) {
            int n = FcPatternIterValueCount(pattern, &iter);
            for (int i = 0; i < n; ++i) {
                FcValue v;
                FcValueBinding binding = FcValueBindingWeak;
                if (FcPatternIterGetValue(pattern, &iter, i, &v, &binding) == FcResultMatch &&
                    v.type == FcTypeString && binding != FcValueBindingWeak)
                    accepted.insert(Lower(reinterpret_cast<const char *>(v.u.s)));
            }
        }
    }

    FcResult result = FcResultNoMatch;
    FcPattern *font = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!font) return std::nullopt;

    bool ok = true;
    if (strict) {
        ok = false;
        FcChar8 *name = nullptr;
        for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
            if (accepted.count(Lower(reinterpret_cast<const char *>(name)))) ok = true;
    }
    FcBool scalable = FcFalse;
    if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable)
        ok = false;
    std::optional<Resolved> r = ok ? ResolvedFrom(font) : std::nullopt;
    FcPatternDestroy(font);
    if (r && !Open(*r)) r.reset();
    return r;
}

// The last resort: of all outline faces installed, the first by file name
// that FreeType can use.
std::optional<Resolved> FontRegistry::AnyFace() {
    FcPattern *pattern = FcPatternBuild(nullptr, FC_OUTLINE, FcTypeBool, FcTrue, nullptr);
    FcObjectSet *objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, nullptr);
    FcFontSet *set = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
    if (pattern) FcPatternDestroy(pattern);
    if (objects) FcObjectSetDestroy(objects);
    if (!set) return std::nullopt;
    std::vector<Resolved> all;
    for (int i = 0; i < set->nfont; ++i)
        if (auto r = ResolvedFrom(set->fonts[i])) all.push_back(*r);
    FcFontSetDestroy(set);
    std::sort(all.begin(), all.end(), [](const Resolved &a, const Resolved &b) {
        return std::tie(a.file, a.index) < std::tie(b.file, b.index);
    });
    for (const Resolved &r : all)
        if (Open(r)) return r;
    return std::nullopt;
}

// Opens a face file once; null unless it is a scalable face with a character
// map.
FT_Face FontRegistry::Open(const Resolved &r) {
    auto key = std::make_pair(r.file, r.index);
    auto it = m_faces.find(key);
    if (it != m_faces.end()) return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(m_library, r.file.c_str(), r.index, &face) != 0) face = nullptr;
    if (face && (!FT_IS_SCALABLE(face) || face->units_per_EM == 0 ||
                 (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 && face->num_charmaps == 0))) {
        FT_Done_Face(face);
        face = nullptr;
    }
    m_faces.emplace(key, face);
    return face;
}

namespace {

// The weighted average advance of 'a'..'z' and the space at the face's
// current size, in 26.6 pixels: the hinted advances, or the exact scaled
// ones when `linear`.
double AverageAdvance(FT_Face face, bool linear) {
    double sum = 0;
    for (int i = 0; i <= 26; ++i) {
        FT_ULong code = i < 26 ? 'a' + i : ' ';
        int weight = i < 26 ? kLetterWeights[i] : kSpaceWeight;
        if (FT_Load_Char(face, code, FT_LOAD_TARGET_MONO) != 0) continue;
        double advance = linear ? face->glyph->linearHoriAdvance / 65536.0 * 64.0
                                : static_cast<double>(face->glyph->advance.x);
        sum += weight * advance;
    }
    return sum / 1000.0;
}

} // namespace

std::shared_ptr<const FontFace> FontRegistry::Build(FT_Face face, const Resolved &r, int nHeight,
                                                    int nWidth) {
    // The cell spans the face's Windows ascent and descent; faces without
    // those use their horizontal header's.
    double ascender = face->ascender, descender = -face->descender;
    auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascender = os2->usWinAscent;
        descender = os2->usWinDescent;
    }
    if (ascender + descender <= 0) {
        ascender = face->units_per_EM * 0.8;
        descender = face->units_per_EM * 0.2;
    }
    double unitsPerEm = face->units_per_EM;

    int cell = nHeight;
    double em;
    if (nHeight < 0) {
        em = -static_cast<double>(nHeight);
        cell = static_cast<int>(std::lround(em * (ascender + descender) / unitsPerEm));
    } else {
        if (cell == 0) cell = kDefaultCellHeight;
        em = cell * unitsPerEm / (ascender + descender);
    }
    FT_F26Dot6 ySize = std::max<FT_F26Dot6>(64, std::lround(em * 64));
    if (FT_Set_Char_Size(face, ySize, ySize, 72, 72) != 0) return nullptr;

    // Stretch horizontally so that the weighted average width comes out at
    // nWidth; the exact advances give the ratio, the hinted ones the result.
    double scaleX = 1.0;
    if (nWidth > 0) {
        double natural = AverageAdvance(face, true) / 64.0;
        if (natural > 0) scaleX = nWidth / natural;
    }
    FT_F26Dot6 xSize = std::max<FT_F26Dot6>(64, std::lround(em * scaleX * 64));
    if (FT_Set_Char_Size(face, xSize, ySize, 72, 72) != 0) return nullptr;

    std::shared_ptr<FontFace> font(new FontFace);
    font->m_strFamily = r.family;
    font->m_strFile = r.file;
    font->m_dScaleX = static_cast<double>(xSize) / static_cast<double>(ySize);
    font->m_nAvgWidth = static_cast<int>(std::lround(AverageAdvance(face, false) / 64.0));

    // Split the cell where the scaled ascent ends, with the scale FreeType
    // really uses (it may round the size to whole pixels).
    FT_Long ascent26 = FT_MulFix(static_cast<FT_Long>(ascender), face->size->metrics.y_scale);
    font->m_nAscent = std::clamp(static_cast<int>((ascent26 + 32) >> 6), 0, cell);
    font->m_nDescent = cell - font->m_nAscent;

    // Render every Latin-1 code point once, as one-bit shapes stored as
    // row runs.
    for (int c = 0; c < 256; ++c) {
        FontFace::Glyph &g = font->m_glyphs[c];
        g.firstSpan = static_cast<std::uint32_t>(font->m_spans.size());
        FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(c));
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
        FT_GlyphSlot slot = face->glyph;
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        const FT_Bitmap &bm = slot->bitmap;
        for (unsigned row = 0; row < bm.rows; ++row) {
            const unsigned char *bits = bm.buffer + static_cast<std::ptrdiff_t>(row) * bm.pitch;
            auto on = [&](unsigned col) {
                if (bm.pixel_mode == FT_PIXEL_MODE_MONO) return (bits[col >> 3] >> (7 - (col & 7))) & 1;
                if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) return bits[col] >= 128 ? 1 : 0;
                return 0;
            };
            unsigned col = 0;
            while (col < bm.width) {
                if (!on(col)) {
                    ++col;
                    continue;
                }
                unsigned start = col;
                while (col < bm.width && on(col)) ++col;
                font->m_spans.push_back(
                    {static_cast<std::int16_t>(static_cast<int>(row) - slot->bitmap_top),
                     static_cast<std::int16_t>(slot->bitmap_left + static_cast<int>(start)),
                     static_cast<std::int16_t>(slot->bitmap_left + static_cast<int>(col))});
            }
        }
        g.spanCount = static_cast<std::uint32_t>(font->m_spans.size()) - g.firstSpan;
    }
    return font;
}

std::shared_ptr<const FontFace> FontFace::Create(const char *faceName, int nHeight, int nWidth,
                                                 int nWeight, bool bItalic) {
    return FontRegistry::Get().Create(faceName, nHeight, nWidth, nWeight, bItalic);
}

std::shared_ptr<const FontFace> FontFace::Default() {
    static const std::shared_ptr<const FontFace> face =
        Create("serif", kDefaultCellHeight, 0, 400, false);
    return face;
}

int FontFace::TextExtent(const char *s, int n) const {
    if (!s) return 0;
    int extent = 0;
    for (int i = 0; i < n; ++i) extent += m_glyphs[static_cast<unsigned char>(s[i])].advance;
    return extent;
}

int FontFace::Draw(Surface &surface, int x, int y, const char *s, int n, COLORREF fg,
                   COLORREF bk, bool opaque) const {
    if (!s || n <= 0) return 0;
    int extent = TextExtent(s, n);
    // Positions far off the surface are worked in 64 bits and clamped, so
    // no sum can overflow.
    auto clampX = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
    };
    std::int64_t top = y, bottom = static_cast<std::int64_t>(y) + CellHeight();
    if (opaque)
        surface.Fill(CRect(clampX(x), clampX(top), clampX(static_cast<std::int64_t>(x) + extent),
                           clampX(bottom)),
                     bk);

    // Glyph pixels stay inside the cell rows and on the surface.
    int clipTop = static_cast<int>(std::max<std::int64_t>(top, 0));
    int clipBottom = static_cast<int>(std::min<std::int64_t>(bottom, surface.Height()));
    if (clipTop >= clipBottom) return extent;
    const std::int64_t width = surface.Width();
    const std::int64_t baseline = static_cast<std::int64_t>(y) + m_nAscent;
    std::int64_t pen = x;
    std::int64_t minX = width, maxX = 0;
    for (int i = 0; i < n; ++i) {
        const Glyph &g = m_glyphs[static_cast<unsigned char>(s[i])];
        const Span *span = m_spans.data() + g.firstSpan;
        for (std::uint32_t k = 0; k < g.spanCount; ++k, ++span) {
            std::int64_t py = baseline + span->dy;
            if (py < clipTop || py >= clipBottom) continue;
            std::int64_t x0 = std::max<std::int64_t>(pen + span->x0, 0);
            std::int64_t x1 = std::min<std::int64_t>(pen + span->x1, width);
            if (x0 >= x1) continue;
            COLORREF *row = surface.Row(static_cast<int>(py));
            std::fill(row + x0, row + x1, fg);
            minX = std::min(minX, x0);
            maxX = std::max(maxX, x1);
        }
        pen += g.advance;
    }
    if (minX < maxX)
        surface.MarkDamaged(
            CRect(static_cast<int>(minX), clipTop, static_cast<int>(maxX), clipBottom));
    return extent;
}

CFont::CFont() = default;

CFont::~CFont() = default;

BOOL CFont::CreateFont(int nHeight, int nWidth, int, int, int nWeight, BYTE bItalic, BYTE, BYTE,
                       BYTE, BYTE, BYTE, BYTE, BYTE, const char *lpszFacename) {
    m_face = FontFace::Create(lpszFacename, nHeight, nWidth, nWeight, bItalic != 0);
    return m_face ? TRUE : FALSE;
}

BOOL CFont::DeleteObject() {
    bool had = m_face != nullptr;
    m_face.reset();
    return had ? TRUE : FALSE;
}

BOOL CDC::TextOut(int x, int y, const char *lpszString, int nCount) {
    if (!m_pState || !lpszString || nCount < 0) return FALSE;
    std::shared_ptr<const FontFace> fallback;
    const FontFace *face = m_pState->pFont ? m_pState->pFont->GetFace() : nullptr;
    if (!face) {
        fallback = FontFace::Default();
        face = fallback.get();
    }
    Surface *target = m_pState->pTarget;
    if (!face || !target) return FALSE;
    face->Draw(*target, x, y, lpszString, nCount, m_pState->textColour, m_pState->bkColour,
               m_pState->bkMode == OPAQUE);
    return TRUE;
}
