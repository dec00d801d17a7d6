#include <gtest/gtest.h>

#include "alarms/message_layout.h"

namespace mirovane {
namespace {

// A window with icon and confirm button on a 1280 x 1024 screen, sizes measured at 96 DPI.
MessageLayoutInput At96() {
  MessageLayoutInput in;
  in.workArea = {0, 0, 1280, 1024};
  in.frameWidth = 6;
  in.frameHeight = 29;
  in.scrollBarWidth = 17;
  in.icon = true;
  in.confirm = true;
  in.textWidth = 100;
  in.textHeight = 26;  // two lines
  in.lineHeight = 13;
  in.okCaptionWidth = 14;
  in.confirmCaptionWidth = 52;
  return in;
}

bool Inside(const Rect& inner, const Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

TEST(MessageLayout, IconTextAndButtonsRightAlignedWithOkFirst) {
  MessageLayoutInput in = At96();
  MessageLayout l = ComputeMessageLayout(in);
  EXPECT_FALSE(l.textScrolls);
  EXPECT_EQ(l.icon, (Rect{12, 12, 32, 32}));
  // The text beside the icon, centred on the icon's height.
  EXPECT_EQ(l.text, (Rect{56, 15, 100, 26}));
  // The buttons are wider than icon and text together: they set the width.
  EXPECT_EQ(l.ok, (Rect{12, 60, 75, 23}));
  EXPECT_EQ(l.confirm, (Rect{95, 60, 75, 23}));
  EXPECT_EQ(l.clientWidth, 182);
  EXPECT_EQ(l.clientHeight, 95);
  EXPECT_EQ(l.window, (Rect{546, 450, 188, 124}));

  // A wide text: the buttons stay at the right edge, a long caption widens its button.
  in.textWidth = 400;
  in.confirmCaptionWidth = 90;
  l = ComputeMessageLayout(in);
  EXPECT_EQ(l.clientWidth, 56 + 400 + 12);
  EXPECT_EQ(l.confirm, (Rect{l.clientWidth - 12 - 106, 60, 106, 23}));
  EXPECT_EQ(l.ok.Right() + 8, l.confirm.x);

  // Without icon and confirm button: the text starts at the margin, "OK" alone at the right.
  in = At96();
  in.icon = in.confirm = false;
  in.textHeight = 13;
  l = ComputeMessageLayout(in);
  EXPECT_EQ(l.icon, Rect{});
  EXPECT_EQ(l.confirm, Rect{});
  EXPECT_EQ(l.text, (Rect{12, 12, 100, 13}));
  EXPECT_EQ(l.clientWidth, 160);  // the minimum width
  EXPECT_EQ(l.ok, (Rect{160 - 12 - 75, 41, 75, 23}));
  // An empty text still takes one line.
  in.textWidth = in.textHeight = 0;
  EXPECT_EQ(ComputeMessageLayout(in).text, (Rect{12, 12, 0, 13}));
}

TEST(MessageLayout, EverythingScalesWithTheDpi) {
  MessageLayoutInput in = At96();
  EXPECT_EQ(MessageWrapWidth(in), 480);
  in.dpi = 144;
  in.textWidth = 150;
  in.textHeight = 39;
  in.lineHeight = 20;
  in.okCaptionWidth = 21;
  in.confirmCaptionWidth = 78;
  EXPECT_EQ(MessageWrapWidth(in), 720);
  const MessageLayout l = ComputeMessageLayout(in);
  EXPECT_EQ(l.icon, (Rect{18, 18, 48, 48}));
  EXPECT_EQ(l.text, (Rect{84, 22, 150, 39}));
  EXPECT_EQ(l.ok, (Rect{18, 90, 113, 35}));
  EXPECT_EQ(l.confirm, (Rect{143, 90, 113, 35}));
  EXPECT_EQ(l.clientWidth, 274);
  EXPECT_EQ(l.clientHeight, 143);
}

TEST(MessageLayout, CentredInAWorkAreaAwayFromTheOriginAndKeptInside) {
  MessageLayoutInput in = At96();
  // A monitor left of the primary one, its taskbar at the top.
  in.workArea = {-1280, 200, 1280, 824};
  MessageLayout l = ComputeMessageLayout(in);
  EXPECT_EQ(l.window, (Rect{-1280 + (1280 - 188) / 2, 200 + (824 - 124) / 2, 188, 124}));

  // After a DPI change the suggested corner is kept, but not beyond the work area.
  in.suggested = Rect{-1000, 300, 200, 130};
  EXPECT_EQ(ComputeMessageLayout(in).window, (Rect{-1000, 300, 188, 124}));
  in.suggested = Rect{10, 990, 200, 130};
  EXPECT_EQ(ComputeMessageLayout(in).window, (Rect{-188, 900, 188, 124}));
  in.suggested = Rect{-2000, 0, 200, 130};
  EXPECT_EQ(ComputeMessageLayout(in).window, (Rect{-1280, 200, 188, 124}));
}

TEST(MessageLayout, TallOrWideTextKeepsTheWindowInsideTheWorkArea) {
  MessageLayoutInput in = At96();
  // Exactly as tall as the room left beside the frame, margins and buttons: no scrolling yet.
  const int room = 1024 - 29 - 12 - 16 - 23 - 12;
  in.textHeight = room;
  MessageLayout l = ComputeMessageLayout(in);
  EXPECT_FALSE(l.textScrolls);
  EXPECT_EQ(l.window.h, 1024);

  // 300 lines: the text box shrinks to whole lines and gets a scroll bar beside the text.
  in.textHeight = 300 * 13;
  l = ComputeMessageLayout(in);
  EXPECT_TRUE(l.textScrolls);
  EXPECT_EQ(l.text.h, room / 13 * 13);
  EXPECT_EQ(l.text.w, 100 + 17);
  EXPECT_TRUE(Inside(l.window, in.workArea));
  const Rect client{0, 0, l.clientWidth, l.clientHeight};
  EXPECT_TRUE(Inside(l.text, client) && Inside(l.ok, client) && Inside(l.confirm, client));
  EXPECT_LE(l.text.Bottom(), l.ok.y);
  EXPECT_EQ(l.clientWidth + in.frameWidth, l.window.w);
  EXPECT_EQ(l.clientHeight + in.frameHeight, l.window.h);

  // A narrow screen: the wrap width leaves room for frame, icon, margins and a scroll bar, and a
  // text measured wider than that is cut to it.
  in.workArea = {100, 0, 300, 1024};
  const int wrap = MessageWrapWidth(in);
  EXPECT_EQ(wrap, 300 - 6 - 56 - 12 - 17);
  in.textWidth = 1000;
  l = ComputeMessageLayout(in);
  EXPECT_EQ(l.text.w, wrap + 17);
  EXPECT_TRUE(Inside(l.window, in.workArea));
  EXPECT_EQ(l.confirm.Right(), l.clientWidth - 12);
}

}  // namespace
}  // namespace mirovane
