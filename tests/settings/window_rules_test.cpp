#include <gtest/gtest.h>

#include "settings/window_rules.h"

namespace mirovane {
namespace {

// The primary screen alone, 1280 x 1024.
constexpr Rect kOneScreen[] = {{0, 0, 1280, 1024}};

// Runs ticks until something happens; returns the number of ticks (100 ms each) it took.
int TicksUntil(HideAction wanted, bool visible, std::uint8_t hideTime, std::uint8_t& countdown) {
  for (int i = 1; i <= 1000; ++i) {
    if (HideTick(false, visible, hideTime, countdown) == wanted) return i;
  }
  return -1;
}

TEST(HideCountdown, RightButtonHoldThenReturn) {
  std::uint8_t countdown = 5;  // HideWait: right button pressed
  EXPECT_EQ(TicksUntil(HideAction::Hide, true, 20, countdown), 5);
  EXPECT_EQ(countdown, 20);
  EXPECT_EQ(TicksUntil(HideAction::Show, false, 20, countdown), 20);
  EXPECT_EQ(countdown, 0);
  // Idle: nothing happens.
  EXPECT_EQ(HideTick(false, true, 20, countdown), HideAction::None);
  EXPECT_EQ(countdown, 0);
}

TEST(HideCountdown, FrozenWhileBusyAndStuckHiddenWithZeroHideTime) {
  std::uint8_t countdown = 1;
  EXPECT_EQ(HideTick(true, true, 20, countdown), HideAction::None);
  EXPECT_EQ(countdown, 1);
  EXPECT_EQ(HideTick(false, true, 0, countdown), HideAction::Hide);
  EXPECT_EQ(countdown, 0);  // stays hidden until shown from the tray or the menu
  EXPECT_EQ(HideTick(false, false, 0, countdown), HideAction::None);
}

TEST(PositionRules, MemoryPositionPinsToTheRememberedPlace) {
  TCalendarSettings s;
  s.MemoryPosition = true;
  s.LeftPosition = 10;
  s.TopPosition = 30;
  EXPECT_EQ(PositionTick(s, {500, 400, 200, 100}, kOneScreen), (Point{1280 - 200 - 10, 30}));
  s.AlignRight = false;
  EXPECT_EQ(PositionTick(s, {500, 400, 200, 100}, kOneScreen), (Point{10, 30}));
}

TEST(PositionRules, InnerDesktopKeepsTheWindowOnTheScreen) {
  TCalendarSettings s;  // InnerDesktop on by default
  EXPECT_EQ(PositionTick(s, {100, -20, 200, 100}, kOneScreen), (Point{100, 0}));
  EXPECT_EQ(PositionTick(s, {1200, 1000, 200, 100}, kOneScreen), (Point{1080, 924}));
  EXPECT_EQ(PositionTick(s, {50, 50, 2000, 100}, kOneScreen), (Point{0, 50}));
  EXPECT_EQ(PositionTick(s, {0, 0, 200, 100}, kOneScreen), (Point{0, 0}));
  s.InnerDesktop = false;
  EXPECT_EQ(PositionTick(s, {-500, -20, 200, 100}, kOneScreen), std::nullopt);
}

TEST(PositionRules, SeveralMonitors) {
  // The primary 1280 x 1024 at 0,0; a 1920 x 1080 one right of it; a 1024 x 768 one left of it,
  // lower down.
  const Rect monitors[] = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}, {-1024, 200, 1024, 768}};
  TCalendarSettings s;  // InnerDesktop on, AlignRight on

  // InnerDesktop keeps the window inside the monitor it is on, not the primary.
  EXPECT_EQ(PositionTick(s, {2000, 500, 200, 100}, monitors), (Point{2000, 500}));
  EXPECT_EQ(PositionTick(s, {3100, 1000, 200, 100}, monitors), (Point{3000, 980}));
  EXPECT_EQ(PositionTick(s, {1300, -30, 200, 100}, monitors), (Point{1300, 0}));
  EXPECT_EQ(PositionTick(s, {-1100, 150, 200, 100}, monitors), (Point{-1024, 200}));
  EXPECT_EQ(PositionTick(s, {-300, 900, 200, 100}, monitors), (Point{-300, 868}));
  // Across two monitors it goes into the one it overlaps most.
  EXPECT_EQ(PositionTick(s, {1200, 10, 200, 100}, monitors), (Point{1280, 10}));
  EXPECT_EQ(PositionTick(s, {1100, 10, 200, 100}, monitors), (Point{1080, 10}));
  // On no monitor at all (below the right one, right of everything): onto the primary.
  EXPECT_EQ(PositionTick(s, {2000, 1500, 200, 100}, monitors), (Point{1080, 924}));
  EXPECT_EQ(PositionTick(s, {5000, 300, 200, 100}, monitors), (Point{1080, 300}));
  EXPECT_EQ(PositionTick(s, {-1100, 50, 200, 100}, monitors), (Point{0, 50}));
  // Nothing moves a window that is on a monitor with both rules off, or with no monitor known.
  s.InnerDesktop = false;
  EXPECT_EQ(PositionTick(s, {-1100, 150, 200, 100}, monitors), std::nullopt);
  s.InnerDesktop = true;
  EXPECT_EQ(PositionTick(s, {5000, 300, 200, 100}, {}), std::nullopt);

  // MemoryPosition: LeftPosition counts from the primary's right edge, so a place on the right
  // monitor is a negative distance and one on the left monitor a larger one; both stay pinned.
  s.MemoryPosition = true;
  s.TopPosition = 500;
  s.LeftPosition = -1500;
  EXPECT_EQ(PositionTick(s, {0, 0, 200, 100}, monitors), (Point{2580, 500}));
  s.LeftPosition = 1800;
  EXPECT_EQ(PositionTick(s, {0, 0, 200, 100}, monitors), (Point{-720, 500}));
  s.AlignRight = false;
  s.LeftPosition = 2500;
  EXPECT_EQ(PositionTick(s, {0, 0, 200, 100}, monitors), (Point{2500, 500}));
  // A remembered place on a monitor that has gone (right of the right one, or above all of
  // them) comes onto the primary, as near to it as the primary allows.
  s.LeftPosition = 3500;
  EXPECT_EQ(PositionTick(s, {0, 0, 200, 100}, monitors), (Point{1080, 500}));
  s.LeftPosition = 100;
  s.TopPosition = -400;
  EXPECT_EQ(PositionTick(s, {0, 0, 200, 100}, monitors), (Point{100, 0}));
  // The same with the primary alone: a place on it stays as it was; one off it comes back.
  s.TopPosition = 500;
  EXPECT_EQ(PositionTick(s, {0, 0, 200, 100}, kOneScreen), (Point{100, 500}));
  s.LeftPosition = 2500;
  EXPECT_EQ(PositionTick(s, {0, 0, 200, 100}, kOneScreen), (Point{1080, 500}));
  s.LeftPosition = -150;  // partly on the screen: the user's choice, kept
  EXPECT_EQ(PositionTick(s, {0, 0, 200, 100}, kOneScreen), (Point{-150, 500}));

  // Start and the tray icon: a window on some monitor, even in part, stays; one on none comes onto
  // the primary.
  EXPECT_EQ(OntoAMonitor({2500, 900, 200, 100}, monitors), std::nullopt);
  EXPECT_EQ(OntoAMonitor({-1100, 150, 200, 100}, monitors), std::nullopt);
  EXPECT_EQ(OntoAMonitor({-2000, 300, 200, 100}, monitors), (Point{0, 300}));
  EXPECT_EQ(OntoAMonitor({2500, 1200, 200, 100}, monitors), (Point{1080, 924}));
  EXPECT_EQ(OntoAMonitor({1100, 2000, 2000, 100}, kOneScreen), (Point{0, 924}));
  EXPECT_EQ(OntoAMonitor({1100, 900, 200, 100}, kOneScreen), std::nullopt);
}

TEST(PositionRules, LeftSettingRoundTrip) {
  TCalendarSettings s;
  EXPECT_EQ(LeftFromSetting(s, 200, 1280), 1080);
  EXPECT_EQ(LeftToSetting(s, 1080, 200, 1280), 0);
  s.AlignRight = false;
  s.LeftPosition = 40;
  EXPECT_EQ(LeftFromSetting(s, 200, 1280), 40);
  EXPECT_EQ(LeftToSetting(s, 40, 200, 1280), 40);
}

}  // namespace
}  // namespace mirovane
