#include <gtest/gtest.h>

#include <cstring>

#include "app/calendar_navigation.h"

namespace mirovane {
namespace {

CalendarDate D(int y, int m, int d) { return {y, m, d}; }

// Navigation with one month shown unless told otherwise.
CalendarDate Go(CalendarDate from, std::uint16_t key, bool ctrl = false, int columns = 1,
                int rows = 1) {
  const auto to = NavigateCalendar(from, key, ctrl, columns, rows);
  EXPECT_TRUE(to.has_value());
  return to.value_or(from);
}

TEST(CalendarNavigation, MonthStepsClipTheDay) {
  EXPECT_EQ(Go(D(2024, 1, 31), kKeyPageDown), D(2024, 2, 29));
  EXPECT_EQ(Go(D(2023, 1, 31), kKeyPageDown), D(2023, 2, 28));
  EXPECT_EQ(Go(D(2024, 3, 31), kKeyPageUp), D(2024, 2, 29));
  EXPECT_EQ(Go(D(2024, 12, 15), kKeyPageDown), D(2025, 1, 15));
  EXPECT_EQ(Go(D(2024, 1, 15), kKeyPageUp), D(2023, 12, 15));
  // The day is kept, not carried over from the clipped month.
  EXPECT_EQ(ShiftCalendarMonths(ShiftCalendarMonths(D(2024, 1, 31), 1), 1), D(2024, 3, 29));
  EXPECT_EQ(ShiftCalendarMonths(D(2024, 2, 29), 12), D(2025, 2, 28));
  EXPECT_EQ(ShiftCalendarMonths(D(2024, 5, 31), -15), D(2023, 2, 28));
}

TEST(CalendarNavigation, CtrlPageTurnsAYearOrToTheNeighbouringYearsEnds) {
  // One month shown: a whole year either way.
  EXPECT_EQ(Go(D(2024, 1, 31), kKeyPageDown, true), D(2025, 1, 31));
  EXPECT_EQ(Go(D(2024, 2, 29), kKeyPageUp, true), D(2023, 2, 28));
  // Twelve months shown, whatever the shape: December of the next year, January of the previous.
  EXPECT_EQ(Go(D(2024, 3, 15), kKeyPageDown, true, 3, 4), D(2025, 12, 15));
  EXPECT_EQ(Go(D(2024, 3, 15), kKeyPageUp, true, 3, 4), D(2023, 1, 15));
  EXPECT_EQ(Go(D(2024, 12, 31), kKeyPageDown, true, 4, 3), D(2025, 12, 31));
  EXPECT_EQ(Go(D(2024, 1, 31), kKeyPageUp, true, 6, 2), D(2023, 1, 31));
  EXPECT_EQ(Go(D(2024, 3, 31), kKeyPageDown, true, 2, 6), D(2025, 12, 31));
  // Eleven or thirteen months are not a year page.
  EXPECT_EQ(Go(D(2024, 3, 15), kKeyPageDown, true, 1, 11), D(2025, 3, 15));
}

TEST(CalendarNavigation, HomeEndAndArrows) {
  const CalendarDate monthEnd = Go(D(2024, 2, 10), kKeyEnd);
  EXPECT_EQ(monthEnd, (CalendarDate{2024, 2, 29, 23, 59, 59, 999}));
  EXPECT_EQ(Go(D(2024, 2, 10), kKeyEnd, true), (CalendarDate{2024, 12, 31, 23, 59, 59, 999}));
  EXPECT_EQ(Go(D(2024, 2, 10), kKeyHome), D(2024, 2, 1));
  EXPECT_EQ(Go(D(2024, 2, 10), kKeyHome, true), D(2024, 1, 1));

  EXPECT_EQ(Go(D(2024, 3, 1), kKeyLeft), D(2024, 2, 29));
  EXPECT_EQ(Go(D(2024, 12, 31), kKeyRight), D(2025, 1, 1));
  EXPECT_EQ(Go(D(2024, 1, 3), kKeyUp), D(2023, 12, 27));
  EXPECT_EQ(Go(D(2024, 2, 25), kKeyDown), D(2024, 3, 3));
  EXPECT_EQ(Go(D(2024, 3, 31), kKeyLeft, true), D(2024, 2, 29));
  EXPECT_EQ(Go(D(2024, 1, 31), kKeyRight, true), D(2024, 2, 29));
  // Ctrl with Up/Down moves by one row of the grid.
  EXPECT_EQ(Go(D(2024, 5, 15), kKeyUp, true, 3, 4), D(2024, 2, 15));
  EXPECT_EQ(Go(D(2024, 11, 30), kKeyDown, true, 3, 4), D(2025, 2, 28));
  EXPECT_EQ(Go(D(2024, 5, 15), kKeyDown, true), D(2024, 6, 15));

  EXPECT_FALSE(NavigateCalendar(D(2024, 5, 15), 65, false, 1, 1).has_value());
  EXPECT_FALSE(NavigateCalendar(D(2024, 5, 15), 46, true, 1, 1).has_value());
}

TEST(CalendarNavigation, StaysWithinTheCalendarsYears) {
  EXPECT_EQ(Go(D(9999, 12, 31), kKeyRight), D(9999, 12, 31));
  EXPECT_EQ(Go(D(9999, 11, 30), kKeyPageDown, true), D(9999, 12, 30));
  EXPECT_EQ(Go(D(1, 1, 1), kKeyUp), D(1, 1, 1));
  EXPECT_EQ(ShiftCalendarMonths(D(2024, 5, 15), -2'000'000'000), D(1, 1, 15));
  EXPECT_EQ(ShiftCalendarDays(D(2024, 5, 15), 2'000'000'000), D(9999, 12, 31));
}

// Space steps from the state the window is in; the grid it shows feeds the next step.
struct CycleState {
  bool hidden;
  std::uint8_t grid;
};

CycleState Step(CycleState s, std::uint8_t configured) {
  const MonthCountStep step =
      NextMonthCountStep(s.hidden, (s.grid >> 4) * (s.grid & 15), configured);
  switch (step.kind) {
    case MonthCountStep::ShowOneMonth:
      return {false, 0x11};
    case MonthCountStep::ShowGrid:
      return {false, step.grid};
    case MonthCountStep::HideCalendar:
      return {true, s.grid};
  }
  return s;
}

TEST(MonthCountSwitch, OneMonthConfiguredCyclesThroughAYear) {
  CycleState s{false, 0x11};
  s = Step(s, 0x11);
  EXPECT_FALSE(s.hidden);
  EXPECT_EQ(s.grid, 0x34);
  s = Step(s, 0x11);
  EXPECT_TRUE(s.hidden);
  s = Step(s, 0x11);
  EXPECT_FALSE(s.hidden);
  EXPECT_EQ(s.grid, 0x11);
}

TEST(MonthCountSwitch, TwoByTwoConfiguredCycles) {
  CycleState s{false, 0x22};
  s = Step(s, 0x22);
  EXPECT_TRUE(s.hidden);
  s = Step(s, 0x22);
  EXPECT_FALSE(s.hidden);
  EXPECT_EQ(s.grid, 0x11);
  s = Step(s, 0x22);
  EXPECT_FALSE(s.hidden);
  EXPECT_EQ(s.grid, 0x22);
}

TEST(UserMenu, CaptionsOnlyForTheReactionsWithoutTheirOwnItem) {
  for (int code : {0, 1, 2, 8, 255, -1}) EXPECT_EQ(UserMenuCaption(code), nullptr) << code;
  EXPECT_STREQ(UserMenuCaption(3), "タスクトレイ収納(&U)");
  EXPECT_STREQ(UserMenuCaption(7), "背景透明化切替(&U)");
}

}  // namespace
}  // namespace mirovane
