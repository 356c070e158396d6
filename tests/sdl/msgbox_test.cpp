// The host's message box: its layout, the exclamation icon by style, and
// what dismisses it.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_msgbox.h"

namespace {
Point Centre(const CRect &r) {
    return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
bool Inside(const CRect &outer, const CRect &inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
} // namespace

TEST(MessageBoxView, IconOnlyWhenStyleAsksForIt) {
    EXPECT_TRUE(MessageBoxView(nullptr, nullptr, "x", "c", 0x30).HasIcon());
    EXPECT_FALSE(MessageBoxView(nullptr, nullptr, "x", "c", 0x00).HasIcon());
    EXPECT_FALSE(MessageBoxView(nullptr, nullptr, "x", "c", 0x40).HasIcon());
}

TEST(MessageBoxView, TextLinesAndButtonLieInsideTheCentredBox) {
    MessageBoxView box(nullptr, nullptr, "      Quarzel v1.3\n\nline\r\n\tend", "Info", 0);
    ASSERT_EQ(box.Lines().size(), 4u);
    EXPECT_EQ(box.Lines()[2], "line");
    EXPECT_EQ(box.Lines()[3], "    end");
    CRect r = box.Rect();
    EXPECT_TRUE(Inside(CRect(0, 0, LOGICAL_WIDTH, LOGICAL_HEIGHT), r));
    EXPECT_NEAR(r.left, LOGICAL_WIDTH - r.right, 1);
    EXPECT_TRUE(Inside(r, box.ButtonRect()));
    EXPECT_EQ(box.GetOverlay().pixels.Width(), r.Width());
}

TEST(MessageBoxView, KeysDismiss) {
    for (auto key :
         {MessageBoxView::Key::Enter, MessageBoxView::Key::Escape, MessageBoxView::Key::Space}) {
        MessageBoxView box(nullptr, nullptr, "t", "c", 0x30);
        box.OnKey(key);
        EXPECT_TRUE(box.Done());
    }
}

TEST(MessageBoxView, ClickDismissesOnlyWhenReleasedOnTheButton) {
    MessageBoxView box(nullptr, nullptr, "t", "c", 0);
    Point ok = Centre(box.ButtonRect());
    EXPECT_FALSE(box.OnMouseDown(Point{box.Rect().left + 2, box.Rect().top + 2}));
    EXPECT_FALSE(box.Done());
    // Pressed on the button, released beside it: not chosen.
    EXPECT_TRUE(box.OnMouseDown(ok));
    EXPECT_TRUE(box.OnMouseMove(Point{0, 0}));
    box.OnMouseUp(Point{0, 0});
    EXPECT_FALSE(box.Done());
    box.OnMouseDown(ok);
    box.OnMouseUp(ok);
    EXPECT_TRUE(box.Done());
}
