// Japan's holidays: every rule at its boundaries (the year before and after each amendment), the
// substitute and rest days of each period, the one-time days and the moved days of 2020 and 2021.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "format/holidays.h"

namespace mirovane {
namespace {

// "MM-DD name" of every holiday of a year.
std::vector<std::string> Days(int year) {
  std::vector<std::string> out;
  char date[8];
  for (const Holiday& h : HolidaysOfYear(year)) {
    EXPECT_EQ(h.year, year);
    std::snprintf(date, sizeof date, "%02d-%02d ", h.month, h.day);
    out.push_back(date + std::string(h.name));
  }
  return out;
}

bool Has(int year, const std::string& day) {
  const std::vector<std::string> days = Days(year);
  return std::find(days.begin(), days.end(), day) != days.end();
}

// Whether any holiday of the year falls on MM-DD.
bool OnDay(int year, const std::string& monthDay) {
  for (const std::string& d : Days(year)) {
    if (d.compare(0, 5, monthDay) == 0) return true;
  }
  return false;
}

TEST(Holidays, WholeYearsAsPublished) {
  // The law's first year starts on 1948-07-20.
  EXPECT_EQ(Days(1948),
            (std::vector<std::string>{"09-23 秋分の日", "11-03 文化の日", "11-23 勤労感謝の日"}));
  EXPECT_EQ(Days(1949),
            (std::vector<std::string>{"01-01 元日", "01-15 成人の日", "03-21 春分の日",
                                      "04-29 天皇誕生日", "05-03 憲法記念日", "05-05 こどもの日",
                                      "09-23 秋分の日", "11-03 文化の日", "11-23 勤労感謝の日"}));
  EXPECT_EQ(Days(2019), (std::vector<std::string>{"01-01 元日",
                                                  "01-14 成人の日",
                                                  "02-11 建国記念の日",
                                                  "03-21 春分の日",
                                                  "04-29 昭和の日",
                                                  "04-30 休日",
                                                  "05-01 休日（祝日扱い）",
                                                  "05-02 休日",
                                                  "05-03 憲法記念日",
                                                  "05-04 みどりの日",
                                                  "05-05 こどもの日",
                                                  "05-06 休日",
                                                  "07-15 海の日",
                                                  "08-11 山の日",
                                                  "08-12 休日",
                                                  "09-16 敬老の日",
                                                  "09-23 秋分の日",
                                                  "10-14 体育の日",
                                                  "10-22 休日（祝日扱い）",
                                                  "11-03 文化の日",
                                                  "11-04 休日",
                                                  "11-23 勤労感謝の日"}));
  EXPECT_EQ(Days(2026),
            (std::vector<std::string>{
                "01-01 元日", "01-12 成人の日", "02-11 建国記念の日", "02-23 天皇誕生日",
                "03-20 春分の日", "04-29 昭和の日", "05-03 憲法記念日", "05-04 みどりの日",
                "05-05 こどもの日", "05-06 休日", "07-20 海の日", "08-11 山の日", "09-21 敬老の日",
                "09-22 休日", "09-23 秋分の日", "10-12 スポーツの日", "11-03 文化の日",
                "11-23 勤労感謝の日"}));
  EXPECT_TRUE(HolidaysOfYear(1947).empty());
  EXPECT_TRUE(HolidaysOfYear(10000).empty());
}

TEST(Holidays, EachAmendmentAtItsBoundary) {
  // 敬老の日 and 体育の日 from 1966, 建国記念の日 from 1967.
  EXPECT_FALSE(OnDay(1965, "09-15"));
  EXPECT_TRUE(Has(1966, "09-15 敬老の日"));
  EXPECT_TRUE(Has(1966, "10-10 体育の日"));
  EXPECT_FALSE(OnDay(1966, "02-11"));
  EXPECT_TRUE(Has(1967, "02-11 建国記念の日"));
  // The emperor's birthday and みどりの日.
  EXPECT_TRUE(Has(1988, "04-29 天皇誕生日"));
  EXPECT_TRUE(Has(1989, "04-29 みどりの日"));
  EXPECT_TRUE(Has(1989, "12-23 天皇誕生日"));
  EXPECT_TRUE(Has(2018, "12-23 天皇誕生日"));
  EXPECT_FALSE(OnDay(2019, "12-23"));
  EXPECT_FALSE(OnDay(2019, "02-23"));
  EXPECT_TRUE(Has(2020, "02-23 天皇誕生日"));
  EXPECT_TRUE(Has(2006, "04-29 みどりの日"));
  EXPECT_TRUE(Has(2007, "04-29 昭和の日"));
  EXPECT_TRUE(Has(2007, "05-04 みどりの日"));
  // 海の日: none, 20 July, then the third Monday.
  EXPECT_FALSE(OnDay(1995, "07-20"));
  EXPECT_TRUE(Has(1996, "07-20 海の日"));
  EXPECT_TRUE(Has(2002, "07-20 海の日"));
  EXPECT_TRUE(Has(2003, "07-21 海の日"));
  // The Happy Mondays of 2000 and 2003.
  EXPECT_TRUE(Has(1999, "01-15 成人の日"));
  EXPECT_TRUE(Has(2000, "01-10 成人の日"));
  EXPECT_TRUE(Has(1999, "10-10 体育の日"));
  EXPECT_TRUE(Has(2000, "10-09 体育の日"));
  EXPECT_TRUE(Has(2002, "09-15 敬老の日"));
  EXPECT_TRUE(Has(2003, "09-15 敬老の日"));
  EXPECT_TRUE(Has(2004, "09-20 敬老の日"));
  // 山の日 from 2016; 体育の日 becomes スポーツの日 in 2020.
  EXPECT_FALSE(OnDay(2015, "08-11"));
  EXPECT_TRUE(Has(2016, "08-11 山の日"));
  EXPECT_TRUE(Has(2022, "10-10 スポーツの日"));
  // The Olympic years moved three days.
  EXPECT_TRUE(Has(2020, "07-23 海の日"));
  EXPECT_TRUE(Has(2020, "07-24 スポーツの日"));
  EXPECT_TRUE(Has(2020, "08-10 山の日"));
  EXPECT_FALSE(OnDay(2020, "10-12"));
  EXPECT_TRUE(Has(2021, "07-22 海の日"));
  EXPECT_TRUE(Has(2021, "07-23 スポーツの日"));
  EXPECT_TRUE(Has(2021, "08-08 山の日"));
  EXPECT_TRUE(Has(2021, "08-09 休日"));
  EXPECT_FALSE(OnDay(2021, "10-11"));
  // The one-time days.
  EXPECT_TRUE(Has(1959, "04-10 結婚の儀"));
  EXPECT_TRUE(Has(1989, "02-24 大喪の礼"));
  EXPECT_TRUE(Has(1990, "11-12 即位礼正殿の儀"));
  EXPECT_TRUE(Has(1993, "06-09 結婚の儀"));
}

TEST(Holidays, SubstituteAndRestDaysByPeriod) {
  // Substitute holidays from 1973-04-12: 1973-02-11 fell on a Sunday before, 04-29 after.
  EXPECT_FALSE(OnDay(1973, "02-12"));
  EXPECT_TRUE(Has(1973, "04-30 休日"));
  // Until 2006 the Monday after: 1999's 体育の日 on a Sunday, 1998's 憲法記念日 on a Sunday.
  EXPECT_TRUE(Has(1999, "10-11 休日"));
  EXPECT_TRUE(Has(1998, "05-04 休日"));
  EXPECT_FALSE(OnDay(1998, "05-06"));
  // From 2007 the next day that is no holiday: 05-04 on a Sunday in 2008 gives 05-06.
  EXPECT_TRUE(Has(2008, "05-06 休日"));
  // The rest day between two holidays from 1985-12-27: first on 1988-05-04; 1986's 05-04 was a
  // Sunday and 1987's a substitute holiday.
  EXPECT_FALSE(OnDay(1986, "05-04"));
  EXPECT_TRUE(Has(1987, "05-04 休日"));
  EXPECT_TRUE(Has(1988, "05-04 休日"));
  EXPECT_TRUE(Has(2009, "09-22 休日"));
  EXPECT_TRUE(Has(2015, "09-22 休日"));
  // Never two entries for one day.
  for (int year = kFirstHolidayYear; year <= 2200; ++year) {
    const std::vector<Holiday> days = HolidaysOfYear(year);
    for (std::size_t i = 1; i < days.size(); ++i) {
      ASSERT_TRUE(days[i - 1].month * 100 + days[i - 1].day < days[i].month * 100 + days[i].day)
          << year;
    }
  }
}

TEST(Holidays, EquinoxDaysByTheFormulaWhereItHolds) {
  EXPECT_EQ(VernalEquinoxDay(1960), 20);
  EXPECT_EQ(VernalEquinoxDay(1979), 21);
  EXPECT_EQ(VernalEquinoxDay(2024), 20);
  EXPECT_EQ(AutumnalEquinoxDay(1948), 23);
  EXPECT_EQ(AutumnalEquinoxDay(2012), 22);
  EXPECT_EQ(AutumnalEquinoxDay(2024), 22);
  EXPECT_EQ(AutumnalEquinoxDay(2025), 23);
  EXPECT_EQ(VernalEquinoxDay(2150), 21);
  EXPECT_EQ(VernalEquinoxDay(2151), 0);
  EXPECT_FALSE(OnDay(2151, "03-2"));
  EXPECT_FALSE(Days(2151).empty());
}

}  // namespace
}  // namespace mirovane
