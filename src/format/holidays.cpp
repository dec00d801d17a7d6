#include "format/holidays.h"

#include <algorithm>
#include <cstdint>

#include "format/datetime.h"

namespace mirovane {

namespace {

constexpr int kMonday = 2;
constexpr int kSunday = 1;

// The day of the `n`-th Monday of a month.
int NthMonday(int year, int month, int n) noexcept {
  const int first = DayOfWeekFromDayNumber(DayNumberFromCivil(year, month, 1));
  return 1 + (kMonday - first + 7) % 7 + 7 * (n - 1);
}

// Days of the special laws: weddings, the funeral of the Showa emperor, the enthronements.
struct OneTimeDay {
  int year, month, day;
  std::string_view name;
};
constexpr OneTimeDay kOneTimeDays[] = {
    {1959, 4, 10, "結婚の儀"}, {1989, 2, 24, "大喪の礼"},        {1990, 11, 12, "即位礼正殿の儀"},
    {1993, 6, 9, "結婚の儀"},  {2019, 5, 1, "休日（祝日扱い）"}, {2019, 10, 22, "休日（祝日扱い）"},
};

constexpr std::string_view kRestDay = "休日";

// A date as one number that orders like the date.
constexpr int Key(int year, int month, int day) noexcept {
  return year * 10000 + month * 100 + day;
}

// The holidays the law names for `year` (the national holidays), before substitute and rest days.
std::vector<Holiday> NamedHolidays(int year) {
  std::vector<Holiday> days;
  const auto add = [&](int month, int day, std::string_view name) {
    if (day > 0 && Key(year, month, day) >= Key(1948, 7, 20))
      days.push_back({year, month, day, name});
  };
  const bool y1949 = year >= 1949;
  if (y1949) add(1, 1, "元日");
  if (year >= 2000) {
    add(1, NthMonday(year, 1, 2), "成人の日");
  } else if (y1949) {
    add(1, 15, "成人の日");
  }
  if (year >= 1967) add(2, 11, "建国記念の日");
  if (year >= 2020) add(2, 23, "天皇誕生日");
  if (y1949) add(3, VernalEquinoxDay(year), "春分の日");
  if (year >= 2007) {
    add(4, 29, "昭和の日");
  } else if (year >= 1989) {
    add(4, 29, "みどりの日");
  } else if (y1949) {
    add(4, 29, "天皇誕生日");
  }
  if (y1949) add(5, 3, "憲法記念日");
  if (year >= 2007) add(5, 4, "みどりの日");
  if (y1949) add(5, 5, "こどもの日");
  if (year == 2020) {
    add(7, 23, "海の日");
    add(7, 24, "スポーツの日");
    add(8, 10, "山の日");
  } else if (year == 2021) {
    add(7, 22, "海の日");
    add(7, 23, "スポーツの日");
    add(8, 8, "山の日");
  } else {
    if (year >= 2003) {
      add(7, NthMonday(year, 7, 3), "海の日");
    } else if (year >= 1996) {
      add(7, 20, "海の日");
    }
    if (year >= 2016) add(8, 11, "山の日");
  }
  if (year >= 2003) {
    add(9, NthMonday(year, 9, 3), "敬老の日");
  } else if (year >= 1966) {
    add(9, 15, "敬老の日");
  }
  add(9, AutumnalEquinoxDay(year), "秋分の日");
  if (year >= 2022) {
    add(10, NthMonday(year, 10, 2), "スポーツの日");
  } else if (year >= 2000 && year <= 2019) {
    add(10, NthMonday(year, 10, 2), "体育の日");
  } else if (year >= 1966 && year <= 1999) {
    add(10, 10, "体育の日");
  }
  add(11, 3, "文化の日");
  add(11, 23, "勤労感謝の日");
  if (year >= 1989 && year <= 2018) add(12, 23, "天皇誕生日");
  for (const OneTimeDay& d : kOneTimeDays) {
    if (d.year == year) add(d.month, d.day, d.name);
  }
  std::sort(days.begin(), days.end(), [](const Holiday& a, const Holiday& b) {
    return Key(a.year, a.month, a.day) < Key(b.year, b.month, b.day);
  });
  return days;
}

// The usual formula: the equinox day of `year` from the 1980 base, valid 1900-2150.
int EquinoxDay(int year, double base1900, double base1980, double base2100) noexcept {
  if (year < 1900 || year > 2150) return 0;
  const double base = year < 1980 ? base1900 : year < 2100 ? base1980 : base2100;
  const int leapShift = year < 1980 ? (year - 1983) / 4 : (year - 1980) / 4;
  // (year - 1983) / 4 truncates toward zero, as the formula's int() does.
  return static_cast<int>(base + 0.242194 * (year - 1980) - leapShift);
}

}  // namespace

int VernalEquinoxDay(int year) noexcept { return EquinoxDay(year, 20.8357, 20.8431, 21.8510); }

int AutumnalEquinoxDay(int year) noexcept { return EquinoxDay(year, 23.2588, 23.2488, 24.2488); }

std::vector<Holiday> HolidaysOfYear(int year) {
  if (year < kFirstHolidayYear || year > kLastHolidayYear) return {};
  const std::vector<Holiday> named = NamedHolidays(year);

  // Day numbers of the named holidays, and of every holiday once the extra days are in.
  std::vector<std::int64_t> namedDays;
  for (const Holiday& h : named) namedDays.push_back(DayNumberFromCivil(h.year, h.month, h.day));
  const auto isNamed = [&](std::int64_t d) {
    return std::find(namedDays.begin(), namedDays.end(), d) != namedDays.end();
  };
  std::vector<std::int64_t> substitutes;

  // A named holiday on a Sunday gives a substitute holiday: until 2006 the Monday after, when it
  // is no named holiday itself; from 2007 the next day that is none.
  for (std::int64_t d : namedDays) {
    if (DayOfWeekFromDayNumber(d) != kSunday) continue;
    const CivilDate c = CivilFromDayNumber(d);
    if (Key(c.year, c.month, c.day) < Key(1973, 4, 12)) continue;
    std::int64_t next = d + 1;
    if (year >= 2007) {
      while (isNamed(next)) ++next;
    } else if (isNamed(next)) {
      continue;
    }
    substitutes.push_back(next);
  }
  const auto isSubstitute = [&](std::int64_t d) {
    return std::find(substitutes.begin(), substitutes.end(), d) != substitutes.end();
  };

  std::vector<Holiday> all = named;
  for (std::int64_t d : substitutes) {
    const CivilDate c = CivilFromDayNumber(d);
    if (c.year == year) all.push_back({c.year, c.month, c.day, kRestDay});
  }
  // A day between two named holidays that is none itself is a rest day (until 2006 not on a
  // Sunday nor on a substitute holiday).
  for (std::int64_t d : namedDays) {
    const std::int64_t between = d + 1;
    if (!isNamed(between + 1) || isNamed(between) || isSubstitute(between)) continue;
    const CivilDate c = CivilFromDayNumber(between);
    if (Key(c.year, c.month, c.day) < Key(1985, 12, 27)) continue;
    if (year < 2007 && DayOfWeekFromDayNumber(between) == kSunday) continue;
    all.push_back({c.year, c.month, c.day, kRestDay});
  }
  std::sort(all.begin(), all.end(), [](const Holiday& a, const Holiday& b) {
    return Key(a.year, a.month, a.day) < Key(b.year, b.month, b.day);
  });
  return all;
}

}  // namespace mirovane
