// Date-time values and the program-wide current date-time record.
//
// A date-time value is a double: the whole part counts days from 1899-12-30 (negative before it),
// the fraction is the time of day. For negative values the day is the value truncated toward zero
// and the time of day is the absolute fraction (-1.25 is 1899-12-29 06:00). Every decode works on
// the value rounded to the whole millisecond.
#pragma once

#include <cstdint>

namespace mirovane {

inline constexpr std::int64_t kMsPerDay = 86'400'000;

// Values are decoded within the years 1..9999; anything outside (or NaN) is clamped to that range
// so that a stray value can never index outside the calendar.
inline constexpr std::int64_t kMinDayNumber = -693'593;   // 0001-01-01
inline constexpr std::int64_t kMaxDayNumber = 2'958'465;  // 9999-12-31

struct CivilDate {
  int year = 1899;
  int month = 12;
  int day = 30;
};

// A value split into whole days (from 1899-12-30) and milliseconds of the day (0..86399999).
struct DayAndTime {
  std::int64_t day = 0;
  std::int32_t msOfDay = 0;
};

// Rounds to the millisecond (half away from zero) and splits into day and time of day.
DayAndTime SplitDateTime(double value) noexcept;
// The double nearest the moment `day` + `msOfDay` (the inverse of SplitDateTime).
double JoinDateTime(std::int64_t day, std::int64_t msOfDay) noexcept;

// The local wall clock (platform/clock.h) as a date-time value, milliseconds included.
double LocalNow();

CivilDate CivilFromDayNumber(std::int64_t day) noexcept;
std::int64_t DayNumberFromCivil(int year, int month, int day) noexcept;
// 1 = Sunday .. 7 = Saturday.
int DayOfWeekFromDayNumber(std::int64_t day) noexcept;
bool IsGregorianLeapYear(int year) noexcept;
int DaysInMonth(int year, int month) noexcept;

// The current date-time as the formatter and its readers see it.
struct DateTimeRecord {
  double Value = 0.0;
  std::uint16_t Year = 1899;
  std::uint16_t Month = 12;
  std::uint16_t Day = 30;
  std::uint16_t DayOfWeek = 7;  // 1 = Sunday .. 7 = Saturday
  bool IsLeapYear = false;
  std::uint8_t EraIndex = 1;   // 0 = before the first era, 1..4
  std::int32_t JulianDay = 0;  // computed at the first change of day
  std::uint16_t Hour = 0;
  std::uint16_t Minute = 0;
  std::uint16_t Second = 0;
  std::uint16_t MilliSecond = 0;

  // Makes `value` current. Decodes the date when the whole-day part changed and the time of day
  // when the fraction moved by at least one millisecond; returns whether either happened.
  bool Set(double value) noexcept;
};

}  // namespace mirovane
