// Fonts and TextOut on a 600 x 450 surface through the window's kind of
// context: face resolution, cell metrics, opaque and transparent drawing,
// Latin-1 letters, the context's state and clipping.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/font.h"
#include "platform/gdi.h"

namespace {

constexpr COLORREF kMarker = RGB(10, 20, 30); // what the surface holds before drawing
constexpr COLORREF kBlueViolet = RGB(64, 0, 255);
constexpr COLORREF kYellow = RGB(220, 220, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The game's two fonts, created as it creates them.
BOOL CreateGameFont(CFont &font, int nHeight, int nWidth, const char *face = "TmsRmn") {
    return font.CreateFont(nHeight, nWidth, 0, 0, 400, 0, 0, 0, 0 /*ANSI*/, 0, 0, 2 /*proof*/, 0,
                           face);
}

class TextOutTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateGameFont(m_small, 22, 14));
        ASSERT_TRUE(CreateGameFont(m_big, 65, 0));
    }

    // Counts the pixels of rc that have colour c.
    int Count(const CRect &rc, COLORREF c) const {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) n += m_surface.GetPixel(x, y) == c;
        return n;
    }

    Surface m_surface{600, 450, kMarker};
    DCState m_state{&m_surface};
    CDC m_dc{&m_state};
    CFont m_small, m_big;
};

TEST(FontResolution, LegacyAndMetricNamesResolveToLiberationSerif) {
    for (const char *name : {"TmsRmn", "tmsrmn", "Tms Rmn", "Times New Roman"}) {
        SCOPED_TRACE(name);
        CFont font;
        ASSERT_TRUE(CreateGameFont(font, 22, 14, name));
        ASSERT_NE(font.GetFace(), nullptr);
        EXPECT_EQ(font.GetFace()->Family(), "Liberation Serif");
        EXPECT_NE(font.GetFace()->File().find("LiberationSerif-Regular"), std::string::npos)
            << font.GetFace()->File();
    }
}

TEST(FontResolution, UnknownOrMissingNamesFallBackToTheSerifFace) {
    auto serif = FontFace::Create("serif", 22, 14, 400, false);
    ASSERT_NE(serif, nullptr);
    for (const char *name : {"NoSuchFaceAnywhere", "", static_cast<const char *>(nullptr)}) {
        SCOPED_TRACE(name ? name : "(null)");
        CFont font;
        ASSERT_TRUE(CreateGameFont(font, 22, 14, name));
        ASSERT_NE(font.GetFace(), nullptr);
        EXPECT_EQ(font.GetFace()->File(), serif->File());
        EXPECT_EQ(font.GetFace()->CellHeight(), 22);
    }
}

TEST(FontMetrics, CellHeightAndAverageWidthAreTheRequestedOnes) {
    struct Case {
        int nHeight, nWidth;
    };
    for (Case c : {Case{22, 14}, Case{65, 0}, Case{16, 0}, Case{30, 9}}) {
        SCOPED_TRACE(testing::Message() << c.nHeight << "/" << c.nWidth);
        CFont font;
        ASSERT_TRUE(CreateGameFont(font, c.nHeight, c.nWidth));
        const FontFace *face = font.GetFace();
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->CellHeight(), c.nHeight);
        EXPECT_EQ(face->Ascent() + face->Descent(), c.nHeight);
        EXPECT_GT(face->Ascent(), face->Descent());
        EXPECT_GT(face->Descent(), 0);
        if (c.nWidth > 0) {
            EXPECT_NEAR(face->AverageCharWidth(), c.nWidth, 1);
        } else {
            EXPECT_EQ(face->HorizontalScale(), 1.0);
            // A serif face's own average is roughly 0.4 of its cell.
            EXPECT_NEAR(face->AverageCharWidth(), c.nHeight * 0.37, c.nHeight * 0.08);
        }
    }
}

TEST(FontMetrics, SmallFontIsStretchedAndKeepsItsHeight) {
    auto narrow = FontFace::Create("TmsRmn", 22, 0, 400, false);
    auto wide = FontFace::Create("TmsRmn", 22, 14, 400, false);
    ASSERT_NE(narrow, nullptr);
    ASSERT_NE(wide, nullptr);
    EXPECT_GT(wide->HorizontalScale(), 1.5);
    EXPECT_GT(wide->CharAdvance('m'), narrow->CharAdvance('m'));
    EXPECT_EQ(wide->Ascent(), narrow->Ascent());
}

// Opaque text fills exactly its cells, advance by cell height, with the
// background colour and draws its glyphs in the text colour on top.
TEST_F(TextOutTest, OpaqueTextFillsEveryCellWithTheBackground) {
    struct Case {
        const char *text;
        bool big;
        int x, y;
        COLORREF fg, bk;
    };
    const Case cases[] = {
        {"Score:", false, 455, 80, kBlueViolet, kWhite},
        {"-40", false, 455, 102, kBlueViolet, kWhite},
        {"Spielstand:", false, 300, 80, kBlueViolet, kWhite},
        {"Game Over", true, 190, 225, kYellow, kBlack},
        {"QUARZEL", true, 135, 175, kYellow, kBlack},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        m_surface.Fill(m_surface.Bounds(), kMarker);
        m_dc.SelectObject(c.big ? &m_big : &m_small);
        m_dc.SetTextColor(c.fg);
        m_dc.SetBkColor(c.bk);
        int n = static_cast<int>(std::string(c.text).size());
        ASSERT_TRUE(m_dc.TextOut(c.x, c.y, c.text, n));

        const FontFace *face = (c.big ? m_big : m_small).GetFace();
        int extent = face->TextExtent(c.text, n);
        CRect cell(c.x, c.y, c.x + extent, c.y + face->CellHeight());
        int area = cell.Width() * cell.Height();
        int bk = Count(cell, c.bk), fg = Count(cell, c.fg);
        EXPECT_EQ(bk + fg, area) << "only the two colours inside the cells";
        EXPECT_GT(fg, 0);
        EXPECT_GT(bk, area / 2);
        // Nothing above or below the cells; the fill stops at the extent.
        EXPECT_EQ(Count(CRect(0, cell.top - 1, 600, cell.top), kMarker), 600);
        EXPECT_EQ(Count(CRect(0, cell.bottom, 600, cell.bottom + 1), kMarker), 600);
        EXPECT_EQ(m_surface.GetPixel(cell.right - 1, cell.top), c.bk);
        EXPECT_EQ(m_surface.GetPixel(cell.right, cell.top), kMarker);
        EXPECT_EQ(m_surface.GetPixel(cell.left - 1, cell.top), kMarker);
    }
}

TEST_F(TextOutTest, TransparentTextDrawsOnlyGlyphPixels) {
    m_dc.SelectObject(&m_big);
    m_dc.SetTextColor(kYellow);
    m_dc.SetBkColor(kBlack);
    m_dc.SetBkMode(TRANSPARENT);
    ASSERT_TRUE(m_dc.TextOut(135, 175, "Game Over", 9));
    int fg = 0;
    for (COLORREF c : m_surface.Pixels()) {
        ASSERT_TRUE(c == kMarker || c == kYellow);
        fg += c == kYellow;
    }
    EXPECT_GT(fg, 100);
}

TEST_F(TextOutTest, UmlautDrawsItsDotsAboveTheA) {
    m_dc.SelectObject(&m_small);
    Surface plain(600, 450, kMarker);
    DCState plainState{&plain};
    CDC plainDC(&plainState);
    plainDC.SelectObject(&m_small);
    const int x = 455, y = 212;
    ASSERT_TRUE(plainDC.TextOut(x, y, "Balle:", 6));
    ASSERT_TRUE(m_dc.TextOut(x, y, "B\xE4lle:", 6));

    const FontFace *face = m_small.GetFace();
    ASSERT_EQ(face->TextExtent("B\xE4lle:", 6), face->TextExtent("Balle:", 6));
    int aLeft = x + face->CharAdvance('B');
    int aRight = aLeft + face->CharAdvance('a');
    // The highest row of the plain a.
    int aTop = y + face->CellHeight();
    for (int py = y; py < y + face->CellHeight(); ++py)
        for (int px = aLeft; px < aRight; ++px)
            if (plain.GetPixel(px, py) == plainState.textColour) aTop = std::min(aTop, py);

    int differing = 0;
    for (int py = 0; py < 450; ++py)
        for (int px = 0; px < 600; ++px) {
            if (plain.GetPixel(px, py) == m_surface.GetPixel(px, py)) continue;
            ++differing;
            EXPECT_GE(px, aLeft);
            EXPECT_LT(px, aRight);
            EXPECT_LT(py, aTop) << "at " << px << "," << py;
        }
    EXPECT_GT(differing, 2);
}

TEST_F(TextOutTest, TextOutLeavesColoursModeAndFontAsTheyWere) {
    m_dc.SelectObject(&m_small);
    m_dc.SetTextColor(kBlueViolet);
    m_dc.SetBkColor(kWhite);
    for (int mode : {OPAQUE, TRANSPARENT}) {
        m_dc.SetBkMode(mode);
        ASSERT_TRUE(m_dc.TextOut(455, 80, "Score:", 6));
        EXPECT_EQ(m_dc.GetTextColor(), kBlueViolet);
        EXPECT_EQ(m_dc.GetBkColor(), kWhite);
        EXPECT_EQ(m_dc.GetBkMode(), mode);
        EXPECT_EQ(m_dc.GetCurrentFont(), &m_small);
    }
}

// The panel wipes a number with ten spaces before drawing the new one; the
// old digits must leave no trace.
TEST_F(TextOutTest, BlankWipesALongerNumber) {
    m_dc.SelectObject(&m_small);
    m_dc.SetTextColor(kBlueViolet);
    m_dc.TextOut(455, 102, "1000", 4);
    m_dc.TextOut(455, 102, "          ", 10);
    m_dc.TextOut(455, 102, "990", 3);

    Surface fresh(600, 450, kMarker);
    DCState freshState{&fresh};
    freshState.textColour = kBlueViolet;
    CDC freshDC(&freshState);
    freshDC.SelectObject(&m_small);
    freshDC.TextOut(455, 102, "          ", 10);
    freshDC.TextOut(455, 102, "990", 3);
    EXPECT_EQ(m_surface.Pixels(), fresh.Pixels());
}

TEST_F(TextOutTest, TextAtTheEdgesIsClippedToTheSurface) {
    struct Case {
        int x, y;
        bool visible;
    };
    for (Case c : {Case{590, 80, true}, Case{-30, -5, true}, Case{560, 440, true},
                   Case{-100000, 80, false}, Case{600, 80, false}, Case{455, 450, false},
                   Case{2147483000, -2147483000, false}}) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        m_surface.Fill(m_surface.Bounds(), kMarker);
        for (bool big : {false, true}) {
            m_dc.SelectObject(big ? &m_big : &m_small);
            EXPECT_TRUE(m_dc.TextOut(c.x, c.y, "Spielstand:", 11));
        }
        EXPECT_EQ(m_surface.Width(), 600);
        EXPECT_EQ(m_surface.Height(), 450);
        EXPECT_EQ(Count(m_surface.Bounds(), kMarker) < 600 * 450, c.visible);
    }
}

TEST_F(TextOutTest, WithoutASelectedFontTheDefaultFaceDraws) {
    // Never selected, and selected but deleted.
    for (bool deleted : {false, true}) {
        SCOPED_TRACE(deleted ? "deleted font" : "no font");
        m_surface.Fill(m_surface.Bounds(), kMarker);
        if (deleted) {
            EXPECT_TRUE(m_small.DeleteObject());
            EXPECT_EQ(m_small.GetFace(), nullptr);
            m_dc.SelectObject(&m_small);
        }
        ASSERT_TRUE(m_dc.TextOut(10, 10, "Score:", 6));
        auto face = FontFace::Default();
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->CellHeight(), 16);
        CRect cell(10, 10, 10 + face->TextExtent("Score:", 6), 26);
        EXPECT_EQ(Count(cell, kMarker), 0);
        EXPECT_EQ(Count(m_surface.Bounds(), kMarker), 600 * 450 - cell.Width() * cell.Height());
    }
}

TEST_F(TextOutTest, EmptyOrInvalidTextDrawsNothing) {
    m_dc.SelectObject(&m_small);
    EXPECT_TRUE(m_dc.TextOut(455, 80, "Score:", 0));
    EXPECT_FALSE(m_dc.TextOut(455, 80, nullptr, 5));
    EXPECT_FALSE(m_dc.TextOut(455, 80, "Score:", -1));
    EXPECT_EQ(Count(m_surface.Bounds(), kMarker), 600 * 450);
}

TEST_F(TextOutTest, DrawingMarksTheTextAsChanged) {
    m_surface.TrackDamage(true);
    m_dc.SelectObject(&m_small);
    m_dc.SetBkMode(TRANSPARENT);
    m_dc.TextOut(455, 80, "Score:", 6);
    std::vector<CRect> damage = m_surface.TakeDamage();
    ASSERT_FALSE(damage.empty());
    for (int y = 0; y < 450; ++y)
        for (int x = 0; x < 600; ++x) {
            if (m_surface.GetPixel(x, y) == kMarker) continue;
            bool covered = false;
            for (const CRect &r : damage)
                covered |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            ASSERT_TRUE(covered) << x << "," << y;
        }
}

} // namespace
