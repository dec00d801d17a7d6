// Moving the month calendar by keys and the wheel, and the month-count cycle of the Space key:
// plain date arithmetic on the calendar's selected date, without a window.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/clock.h"

namespace mirovane {

// The calendar's selected date. The time matters only where a key sets it (End: 23:59:59.999).
using CalendarDate = CivilDateTime;

// `date` moved by `n` months, keeping the day of the month but clipping it to the last day of
// the target month (31 January + 1 month = 29 February in a leap year).
CalendarDate ShiftCalendarMonths(CalendarDate date, int n) noexcept;
// `date` moved by `n` days.
CalendarDate ShiftCalendarDays(CalendarDate date, int n) noexcept;

// Virtual-key codes the calendar reacts to.
inline constexpr std::uint16_t kKeyPageUp = 33, kKeyPageDown = 34, kKeyEnd = 35, kKeyHome = 36,
                               kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;

// Where the calendar goes for `key` (Ctrl held or not) in a grid of `columns` x `rows` months;
// nothing for keys it does not react to. The wheel counts as Page Up (up) and Page Down (down).
std::optional<CalendarDate> NavigateCalendar(const CalendarDate& date, std::uint16_t key, bool ctrl,
                                             int columns, int rows) noexcept;

// One step of the month-count switch: hidden -> one month -> the configured grid (3 x 4 when
// one month is configured) -> hidden.
struct MonthCountStep {
  enum Kind {
    ShowOneMonth,  // grid 1 x 1, calendar shown
    ShowGrid,      // `grid` (packed columns << 4 | rows), laid out again
    HideCalendar,  // calendar hidden
  } kind;
  std::uint8_t grid = 0x11;
};
// `hideCalendar` is the current HideCalendar setting, `monthDelta` the calendar's month scroll
// step (1 while one month is shown), `showMonthCount` the configured grid.
MonthCountStep NextMonthCountStep(bool hideCalendar, int monthDelta,
                                  std::uint8_t showMonthCount) noexcept;

// The caption of the popup menu's user item for a PopupMenuItem reaction code (UTF-8), or null
// when that code has no user item (0, 1, 2 and anything above 7).
const char* UserMenuCaption(int popupMenuItem) noexcept;

}  // namespace mirovane
