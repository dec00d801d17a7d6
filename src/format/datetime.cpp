#include "format/datetime.h"

#include <chrono>
#include <cmath>

#include "format/calendar.h"
#include "platform/clock.h"

namespace mirovane {

namespace {

constexpr std::chrono::sys_days kEpoch = std::chrono::sys_days{std::chrono::year{1899} / 12 / 30};

// Milliseconds since 1899-12-30 00:00, where a negative value counts its time of day backwards
// from its (truncated) day: -1.25 days is day -1 at 06:00.
constexpr double kMinMs = static_cast<double>(kMinDayNumber) * kMsPerDay - (kMsPerDay - 1);
constexpr double kMaxMs = static_cast<double>(kMaxDayNumber) * kMsPerDay + (kMsPerDay - 1);

std::int64_t RoundedMilliseconds(double value) noexcept {
  double ms = value * static_cast<double>(kMsPerDay);
  if (std::isnan(ms)) return 0;
  ms = std::round(ms);  // half away from zero
  if (ms < kMinMs) ms = kMinMs;
  if (ms > kMaxMs) ms = kMaxMs;
  return static_cast<std::int64_t>(ms);
}

}  // namespace

DayAndTime SplitDateTime(double value) noexcept {
  const std::int64_t ms = RoundedMilliseconds(value);
  const std::int64_t day = ms / kMsPerDay;  // truncates toward zero
  std::int64_t rest = ms % kMsPerDay;
  if (rest < 0) rest = -rest;
  return {day, static_cast<std::int32_t>(rest)};
}

double JoinDateTime(std::int64_t day, std::int64_t msOfDay) noexcept {
  // Before day 0 the time of day counts away from zero, as SplitDateTime reads it.
  const std::int64_t total = day < 0 ? day * kMsPerDay - msOfDay : day * kMsPerDay + msOfDay;
  return static_cast<double>(total) / static_cast<double>(kMsPerDay);
}

double LocalNow() {
  const CivilDateTime t = ReadLocalClock();
  const std::int64_t msOfDay = ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.millisecond;
  return JoinDateTime(DayNumberFromCivil(t.year, t.month, t.day), msOfDay);
}

CivilDate CivilFromDayNumber(std::int64_t day) noexcept {
  if (day < kMinDayNumber) day = kMinDayNumber;
  if (day > kMaxDayNumber) day = kMaxDayNumber;
  const std::chrono::year_month_day ymd{kEpoch + std::chrono::days{day}};
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

std::int64_t DayNumberFromCivil(int year, int month, int day) noexcept {
  const std::chrono::sys_days d{std::chrono::year{year} / static_cast<unsigned>(month) /
                                static_cast<unsigned>(day)};
  return (d - kEpoch).count();
}

int DayOfWeekFromDayNumber(std::int64_t day) noexcept {
  // Day 0 (1899-12-30) was a Saturday.
  std::int64_t r = (day + 6) % 7;
  if (r < 0) r += 7;
  return static_cast<int>(r) + 1;
}

bool IsGregorianLeapYear(int year) noexcept {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) noexcept {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsGregorianLeapYear(year) ? 29 : kDays[month - 1];
}

bool DateTimeRecord::Set(double value) noexcept {
  // The display refresh mostly hands in a moment already shown.
  if (value == Value) return false;
  bool changed = false;
  const double newWhole = std::trunc(value);
  // NaN never compares equal, so it counts as a change and decodes as the clamped value 0.
  if (!(newWhole == std::trunc(Value))) {
    const DayAndTime split = SplitDateTime(value);
    const CivilDate date = CivilFromDayNumber(split.day);
    Year = static_cast<std::uint16_t>(date.year);
    Month = static_cast<std::uint16_t>(date.month);
    Day = static_cast<std::uint16_t>(date.day);
    DayOfWeek = static_cast<std::uint16_t>(DayOfWeekFromDayNumber(split.day));
    IsLeapYear = IsGregorianLeapYear(date.year);
    EraIndex = static_cast<std::uint8_t>(EraIndexOf(value));
    JulianDay = JulianDayNumber(date.year, date.month, date.day);
    changed = true;
  }
  const double newFrac = value - std::trunc(value);
  const double oldFrac = Value - std::trunc(Value);
  if (!(std::fabs(newFrac - oldFrac) < 1.0 / static_cast<double>(kMsPerDay))) {
    const std::int32_t ms = SplitDateTime(value).msOfDay;
    Hour = static_cast<std::uint16_t>(ms / 3'600'000);
    Minute = static_cast<std::uint16_t>(ms / 60'000 % 60);
    Second = static_cast<std::uint16_t>(ms / 1000 % 60);
    MilliSecond = static_cast<std::uint16_t>(ms % 1000);
    changed = true;
  }
  Value = value;
  return changed;
}

}  // namespace mirovane
