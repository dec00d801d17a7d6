// Calendar arithmetic behind the era, Julian day, moon, sexagenary and traditional-hour tokens.
#pragma once

#include <cstdint>

namespace mirovane {

struct DateTimeRecord;

struct Era {
  double firstDay;  // date-time value of the era's first day (midnight)
  int yearOffset;   // era year = Gregorian year - offset
};
// Index 1..4 are the four eras every date is shown in by default, so the fourth has no end;
// index 0 (before the first era) has no entry. Index 5, the era from 2019-05-01, is shown only
// when a formatter's new-eras option is on.
inline constexpr int kNewEraIndex = 5;
inline constexpr Era kEras[6] = {{0, 0},       {-11435, 1867}, {4595, 1911},
                                 {9856, 1925}, {32516, 1988},  {43586, 2018}};

// The last era whose first day is not after `value`; 0 when none is. The raw value is compared,
// time of day included, so before 1899-12-30 the order is that of the numbers.
int EraIndexOf(double value) noexcept;

// The era a token shows for the record's EraIndex (found among the four eras) and Value: with the
// new eras on, the fourth era gives way to index 5 from that era's first day on, the raw value
// compared as EraIndexOf compares it.
inline int ShownEraIndex(int eraIndex, double value, bool newEras) noexcept {
  return newEras && eraIndex == 4 && value >= kEras[kNewEraIndex].firstDay ? kNewEraIndex
                                                                           : eraIndex;
}

// Julian day number of a civil date (the day that begins at noon of that date).
std::int32_t JulianDayNumber(int year, int month, int day) noexcept;

// Age of the moon in days for the record's Value and JulianDay.
double MoonAge(const DateTimeRecord& dt) noexcept;

inline int YearStemIndex(int year) noexcept { return ((year + 6) % 10 + 10) % 10; }
inline int YearBranchIndex(int year) noexcept { return ((year + 8) % 12 + 12) % 12; }
// Traditional two-hour period: 23:00-00:59 is 0 (子), 11:00-12:59 is 6 (午).
inline int HourBranchIndex(int hour) noexcept { return (hour + 1) / 2 % 12; }
// Bell count: 0 (九) at 0-1 and 12-13 o'clock .. 5 (四) at 10-11 and 22-23.
inline int BellCountIndex(int hour) noexcept { return hour % 12 / 2; }

}  // namespace mirovane
