#include <gtest/gtest.h>

#include "app/window_rules.h"

namespace mirovane {
namespace {

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
  EXPECT_EQ(PositionTick(s, {500, 400, 200, 100}, {1280, 1024}), (Point{1280 - 200 - 10, 30}));
  s.AlignRight = false;
  EXPECT_EQ(PositionTick(s, {500, 400, 200, 100}, {1280, 1024}), (Point{10, 30}));
}

TEST(PositionRules, InnerDesktopKeepsTheWindowOnTheScreen) {
  TCalendarSettings s;  // InnerDesktop on by default
  EXPECT_EQ(PositionTick(s, {100, -20, 200, 100}, {1280, 1024}), (Point{100, 0}));
  EXPECT_EQ(PositionTick(s, {1200, 1000, 200, 100}, {1280, 1024}), (Point{1080, 924}));
  EXPECT_EQ(PositionTick(s, {50, 50, 2000, 100}, {1280, 1024}), (Point{0, 50}));
  EXPECT_EQ(PositionTick(s, {0, 0, 200, 100}, {1280, 1024}), (Point{0, 0}));
  s.InnerDesktop = false;
  EXPECT_EQ(PositionTick(s, {-500, -20, 200, 100}, {1280, 1024}), std::nullopt);
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
