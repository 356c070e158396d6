// Text output when no font is installed at all: fonts cannot be created,
// text draws nothing, and the lack is reported once on standard error.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "platform/font.h"
#include "platform/gdi.h"

TEST(TextWithoutFonts, FontsFailTextDrawsNothingAndTheLackIsReportedOnce) {
    // Must happen before anything in this process asks fontconfig.
    ASSERT_EQ(setenv("FONTCONFIG_FILE", QZ_NO_FONTS_CONF, 1), 0);

    const COLORREF marker = RGB(1, 2, 3);
    Surface surface(600, 450, marker);
    DCState state{&surface};
    CDC dc(&state);

    testing::internal::CaptureStderr();
    CFont small, big;
    BOOL smallOk = small.CreateFont(22, 14, 0, 0, 400, 0, 0, 0, 0, 0, 0, 2, 0, "TmsRmn");
    BOOL bigOk = big.CreateFont(65, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 2, 0, "TmsRmn");
    dc.SelectObject(&small);
    BOOL drawn = dc.TextOut(455, 80, "Spielstand:", 11);
    dc.SelectObject(static_cast<CFont *>(nullptr));
    BOOL drawnDefault = dc.TextOut(10, 10, "Score:", 6);
    std::string err = testing::internal::GetCapturedStderr();

    EXPECT_FALSE(smallOk);
    EXPECT_FALSE(bigOk);
    EXPECT_EQ(small.GetFace(), nullptr);
    EXPECT_EQ(FontFace::Default(), nullptr);
    EXPECT_FALSE(drawn);
    EXPECT_FALSE(drawnDefault);
    for (COLORREF c : surface.Pixels()) ASSERT_EQ(c, marker);
    EXPECT_EQ(err, "quarzel: no usable font found; texts will not be drawn\n");
}
