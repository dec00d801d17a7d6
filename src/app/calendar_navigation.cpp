#include "app/calendar_navigation.h"

#include <algorithm>

#include "format/datetime.h"

namespace mirovane {

namespace {

// The calendar stays within the years a date-time value can hold.
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

CalendarDate WithDay(CalendarDate date, int year, int month, int day) noexcept {
  date.year = year;
  date.month = month;
  date.day = day;
  return date;
}

}  // namespace

CalendarDate ShiftCalendarMonths(CalendarDate date, int n) noexcept {
  // Months counted from January of year 1, in 64 bits so that no n overflows.
  const long long index = static_cast<long long>(date.year) * 12 + (date.month - 1) + n;
  const long long first = static_cast<long long>(kFirstYear) * 12;
  const long long last = static_cast<long long>(kLastYear) * 12 + 11;
  const long long clamped = std::clamp(index, first, last);
  const int year = static_cast<int>(clamped / 12);
  const int month = static_cast<int>(clamped % 12) + 1;
  return WithDay(date, year, month, std::min(date.day, DaysInMonth(year, month)));
}

CalendarDate ShiftCalendarDays(CalendarDate date, int n) noexcept {
  const std::int64_t day = std::clamp<std::int64_t>(
      DayNumberFromCivil(date.year, date.month, date.day) + n, kMinDayNumber, kMaxDayNumber);
  const CivilDate civil = CivilFromDayNumber(day);
  return WithDay(date, civil.year, civil.month, civil.day);
}

std::optional<CalendarDate> NavigateCalendar(const CalendarDate& date, std::uint16_t key, bool ctrl,
                                             int columns, int rows) noexcept {
  const int y = date.year;
  const int m = date.month;
  // A page of twelve months turns by calendar years: to January before, to December after.
  const bool twelve = columns * rows == 12;
  switch (key) {
    case kKeyPageUp:
      if (!ctrl) return ShiftCalendarMonths(date, -1);
      return ShiftCalendarMonths(date, twelve ? -(m + 11) : -12);
    case kKeyPageDown:
      if (!ctrl) return ShiftCalendarMonths(date, 1);
      return ShiftCalendarMonths(date, twelve ? 24 - m : 12);
    case kKeyEnd: {
      const int month = ctrl ? 12 : m;
      CalendarDate end = WithDay(date, y, month, DaysInMonth(y, month));
      end.hour = 23;
      end.minute = 59;
      end.second = 59;
      end.millisecond = 999;
      return end;
    }
    case kKeyHome:
      return WithDay(date, y, ctrl ? 1 : m, 1);
    case kKeyLeft:
      return ctrl ? ShiftCalendarMonths(date, -1) : ShiftCalendarDays(date, -1);
    case kKeyRight:
      return ctrl ? ShiftCalendarMonths(date, 1) : ShiftCalendarDays(date, 1);
    case kKeyUp:
      return ctrl ? ShiftCalendarMonths(date, -columns) : ShiftCalendarDays(date, -7);
    case kKeyDown:
      return ctrl ? ShiftCalendarMonths(date, columns) : ShiftCalendarDays(date, 7);
    default:
      return std::nullopt;
  }
}

MonthCountStep NextMonthCountStep(bool hideCalendar, int monthDelta,
                                  std::uint8_t showMonthCount) noexcept {
  if (hideCalendar) return {MonthCountStep::ShowOneMonth, 0x11};
  if (monthDelta == 1) {
    // One month configured: the "several months" step shows a whole year.
    return {MonthCountStep::ShowGrid, showMonthCount == 0x11 ? std::uint8_t{0x34} : showMonthCount};
  }
  return {MonthCountStep::HideCalendar, 0};
}

const char* UserMenuCaption(int popupMenuItem) noexcept {
  switch (popupMenuItem) {
    case 3:
      return "タスクトレイ収納(&U)";
    case 4:
      return "ウィンドウ一時隠蔽(&U)";
    case 5:
      return "カレンダー可視切替(&U)";
    case 6:
      return "表示月数変更(&U)";
    case 7:
      return "背景透明化切替(&U)";
    default:
      return nullptr;
  }
}

}  // namespace mirovane
