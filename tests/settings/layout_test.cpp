#include <gtest/gtest.h>

#include "settings/layout.h"

namespace mirovane {
namespace {

// Measured sizes typical of the default fonts at 96 DPI.
LayoutInput Defaults() {
  LayoutInput in;
  in.calendarMonth = {178, 156};
  in.calendarFontHeight = -15;
  in.dateText = {110, 16};
  in.timeText = {70, 16};
  in.clockFontHeight = -16;
  return in;
}

TEST(Visibility, FollowsTheHideFlags) {
  TCalendarSettings s;
  Visibility v = ComputeVisibility(s);
  EXPECT_TRUE(v.dateTimeArea && v.calendar && v.dateLabel && v.timeLabel && v.clock);
  EXPECT_EQ(v.dateTimeFontSize, 12);

  s.ShowClock = true;  // true hides the clock
  s.HideNowDate = true;
  s.FontSizeChange = -3;
  v = ComputeVisibility(s);
  EXPECT_FALSE(v.clock);
  EXPECT_FALSE(v.dateLabel);
  EXPECT_EQ(v.dateTimeFontSize, 12);  // the change applies only without the calendar

  // Everything hidden: date and time come back.
  s.HideCalendar = s.HideNowTime = true;
  v = ComputeVisibility(s);
  EXPECT_TRUE(v.dateTimeArea && v.dateLabel && v.timeLabel);
  EXPECT_FALSE(v.calendar || v.clock);
  EXPECT_EQ(v.dateTimeFontSize, 9);

  // Only the clock.
  s.ShowClock = false;
  v = ComputeVisibility(s);
  EXPECT_FALSE(v.dateTimeArea);
  EXPECT_TRUE(v.clock);
}

TEST(Layout, DefaultWindowIsTextWidthPlusASquareClock) {
  const LayoutInput in = Defaults();
  const LayoutResult r = ComputeLayout(in);
  const int w = 178;                        // the calendar is the widest part
  const int h = 156 + (16 + 4) + (16 + 4);  // calendar + two labels of th + LB + 2
  EXPECT_EQ(r.backPanel, (Rect{0, 0, w + h + 2, h + 2}));
  EXPECT_EQ(r.mainPanel, (Rect{1, 1, w, h}));
  EXPECT_EQ(r.clockPanel, (Rect{1 + w, 1, h, h}));
  EXPECT_EQ(r.clockFace, (Rect{2, 2, h - 4, h - 4}));
  // Calendar on top, then date, then time, each the full width.
  EXPECT_EQ(r.calendar, (Rect{0, 0, w, 156}));
  EXPECT_EQ(r.dateLabel, (Rect{0, 156, w, 20}));
  EXPECT_EQ(r.timeLabel, (Rect{0, 176, w, 20}));
}

TEST(Layout, CalendarGridFormula) {
  EXPECT_EQ(CalendarGridSize({178, 156}, 1, 1, -15, 2), (Size{178, 156}));
  EXPECT_EQ(CalendarGridSize({178, 156}, 3, 4, -15, 2),
            (Size{3 * (178 + 6) + 2 - 6, 15 + 4 * (156 + 6) + 2 - 2}));
  EXPECT_EQ(CalendarGridSize({178, 156}, 2, 1, 15, 0), (Size{2 * 184 - 6, 156}));
  LayoutInput in = Defaults();
  in.columns = 3;
  in.rows = 4;
  EXPECT_EQ(ComputeLayout(in).calendar, (Rect{0, 0, 548, 663}));
}

TEST(Layout, ClockPlacements) {
  LayoutInput in = Defaults();
  in.visible.calendar = false;
  const int w = 110 + 2, h = 40, bw = 3;
  in.borderWidth = bw;
  in.calendarPosition = 0x11;  // clock left
  LayoutResult r = ComputeLayout(in);
  EXPECT_EQ(r.backPanel, (Rect{0, 0, w + h + 2 * bw, h + 2 * bw}));
  EXPECT_EQ(r.mainPanel, (Rect{bw + h, bw, w, h}));
  EXPECT_EQ(r.clockPanel, (Rect{bw, bw, h, h}));
  in.calendarPosition = 0x21;  // clock on top: a W × W square
  r = ComputeLayout(in);
  EXPECT_EQ(r.backPanel, (Rect{0, 0, w + 2 * bw, h + w + 2 * bw}));
  EXPECT_EQ(r.mainPanel, (Rect{bw, bw + w, w, h}));
  EXPECT_EQ(r.clockPanel, (Rect{bw, bw, w, w}));
  in.calendarPosition = 0x31;  // bottom
  r = ComputeLayout(in);
  EXPECT_EQ(r.mainPanel, (Rect{bw, bw, w, h}));
  EXPECT_EQ(r.clockPanel, (Rect{bw, bw + h, w, w}));
  in.calendarPosition = 0xF1;  // any other value acts as bottom
  EXPECT_EQ(ComputeLayout(in).clockPanel, r.clockPanel);
  in.visible.clock = false;
  r = ComputeLayout(in);
  EXPECT_EQ(r.backPanel, (Rect{0, 0, w + 2 * bw, h + 2 * bw}));
  EXPECT_EQ(r.clockPanel, Rect{});
}

TEST(Layout, CalendarPlacementsStackTheParts) {
  LayoutInput in = Defaults();
  in.calendarPosition = 0x30;  // calendar at the bottom
  LayoutResult r = ComputeLayout(in);
  EXPECT_EQ(r.dateLabel.y, 0);
  EXPECT_EQ(r.timeLabel.y, 20);
  EXPECT_EQ(r.calendar.y, 40);
  in.calendarPosition = 0x22;  // clock on top, calendar in the middle
  r = ComputeLayout(in);
  EXPECT_EQ(r.dateLabel.y, 0);
  EXPECT_EQ(r.calendar.y, 20);
  EXPECT_EQ(r.timeLabel.y, 176);
  EXPECT_EQ(ClockPlacementOf(0x22), ClockPlacement::Top);
  in.calendarPosition = 0x07;  // unknown calendar placement acts as top
  r = ComputeLayout(in);
  EXPECT_EQ(r.calendar.y, 0);
  // A hidden label takes no space.
  in.visible.dateLabel = false;
  r = ComputeLayout(in);
  EXPECT_EQ(r.dateLabel, Rect{});
  EXPECT_EQ(r.timeLabel.y, 156);
  EXPECT_EQ(r.mainPanel.h, 176);
}

TEST(Layout, ClockOnlyWindowIsEightFontLinesSquare) {
  LayoutInput in = Defaults();
  in.visible = {false, false, false, false, true, 9};
  in.clockFontHeight = -12;
  in.borderWidth = 2;
  in.labelBorder = 3;
  const LayoutResult r = ComputeLayout(in);
  EXPECT_EQ(r.backPanel, (Rect{0, 0, 96 + 4, 96 + 4}));
  EXPECT_EQ(r.clockPanel, (Rect{2, 2, 96, 96}));
  EXPECT_EQ(r.clockFace, (Rect{3, 3, 90, 90}));
  EXPECT_EQ(r.mainPanel, Rect{});
}

}  // namespace
}  // namespace mirovane
