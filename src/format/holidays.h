// Japan's national holidays, by the rules of the national holidays law and its amendments from
// 1948-07-20 on: the fixed days and the Monday days as they moved over the years, the two
// equinox days, substitute holidays (from 1973-04-12; from 2007 the next day that is no holiday),
// the rest day between two holidays (from 1985-12-27), the one-time days of the special laws and
// the moved days of 2020 and 2021. Plain date arithmetic: no table of years to keep up to date
// beyond the one-time days.
//
// The equinox days follow the usual astronomical formula for 1900-2150, the years it holds for;
// the day of a later year is fixed by the government the year before, so no equinox day is given
// after 2150.
#pragma once

#include <string_view>
#include <vector>

namespace mirovane {

inline constexpr int kFirstHolidayYear = 1948;  // the law took effect on 1948-07-20
inline constexpr int kLastHolidayYear = 9999;

struct Holiday {
  int year = 0;
  int month = 0;
  int day = 0;
  std::string_view name;  // UTF-8, as the Cabinet Office lists it; substitute and rest days "休日"
  friend bool operator==(const Holiday&, const Holiday&) = default;
};

// The holidays of `year` in date order; none outside kFirstHolidayYear..kLastHolidayYear.
std::vector<Holiday> HolidaysOfYear(int year);

// The day of March (Vernal) or September (Autumnal) of the equinox in `year`, 0 outside 1900-2150.
int VernalEquinoxDay(int year) noexcept;
int AutumnalEquinoxDay(int year) noexcept;

}  // namespace mirovane
