#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "format/calendar.h"
#include "format/datetime.h"

namespace mirovane {
namespace {

TEST(DateTimeSplit, RoundsToTheMillisecondBeforeSplitting) {
  // Date and time both come from the rounded count.
  DayAndTime s = SplitDateTime(46364.99999999999);
  EXPECT_EQ(s.day, 46365);
  EXPECT_EQ(s.msOfDay, 0);
  s = SplitDateTime(46364.71191114583);
  EXPECT_EQ(s.day, 46364);
  EXPECT_EQ(s.msOfDay, ((17 * 60 + 5) * 60 + 9) * 1000 + 123);
}

TEST(DateTimeSplit, NegativeValuesCountTheTimeBackwards) {
  DayAndTime s = SplitDateTime(-1.25);
  EXPECT_EQ(s.day, -1);
  EXPECT_EQ(s.msOfDay, 6 * 3'600'000);
  s = SplitDateTime(-0.25);
  EXPECT_EQ(s.day, 0);
  EXPECT_EQ(s.msOfDay, 6 * 3'600'000);
  EXPECT_EQ(JoinDateTime(-1, 6 * 3'600'000), -1.25);
  EXPECT_EQ(JoinDateTime(46364, 12 * 3'600'000), 46364.5);
}

TEST(DateTimeSplit, OutOfRangeValuesAreClampedNotUndefined) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(SplitDateTime(nan).day, 0);
  EXPECT_EQ(SplitDateTime(inf).day, kMaxDayNumber);
  EXPECT_EQ(SplitDateTime(-inf).day, kMinDayNumber);
  EXPECT_EQ(SplitDateTime(1e300).msOfDay, kMsPerDay - 1);
  const CivilDate last = CivilFromDayNumber(kMaxDayNumber + 5);
  EXPECT_EQ(last.year, 9999);
  EXPECT_EQ(last.month, 12);
  EXPECT_EQ(last.day, 31);
}

TEST(CivilDates, KnownDays) {
  const CivilDate epoch = CivilFromDayNumber(0);
  EXPECT_EQ(epoch.year, 1899);
  EXPECT_EQ(epoch.month, 12);
  EXPECT_EQ(epoch.day, 30);
  EXPECT_EQ(DayOfWeekFromDayNumber(0), 7);      // Saturday
  EXPECT_EQ(DayOfWeekFromDayNumber(46364), 3);  // 2026-12-08, Tuesday
  EXPECT_EQ(DayOfWeekFromDayNumber(8334), 4);   // 1922-10-25, Wednesday
  EXPECT_EQ(DayOfWeekFromDayNumber(-1), 6);
  EXPECT_EQ(DayNumberFromCivil(2026, 12, 8), 46364);
  EXPECT_EQ(DayNumberFromCivil(1868, 9, 8), -11435);
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
}

TEST(DateTimeRecord, StartsAsValueZero) {
  DateTimeRecord r;
  EXPECT_EQ(r.Year, 1899);
  EXPECT_EQ(r.DayOfWeek, 7);
  EXPECT_EQ(r.EraIndex, 1);
  EXPECT_EQ(r.JulianDay, 0);
  // A first value within the same whole day keeps the initial era and Julian day.
  EXPECT_TRUE(r.Set(-0.25));
  EXPECT_EQ(r.JulianDay, 0);
  EXPECT_EQ(r.EraIndex, 1);
  EXPECT_EQ(r.Hour, 6);
}

TEST(DateTimeRecord, ReportsOnlyVisibleChanges) {
  DateTimeRecord r;
  const double v = 46364.71191114583;
  EXPECT_TRUE(r.Set(v));
  EXPECT_FALSE(r.Set(v));
  const double halfMs = 0.5 / 86'400'000.0;
  EXPECT_FALSE(r.Set(v + halfMs));
  EXPECT_EQ(r.MilliSecond, 123);
  EXPECT_TRUE(r.Set(v + 4 * halfMs));
  EXPECT_EQ(r.MilliSecond, 125);
  // The same time of day on the next day changes the date fields only.
  const double next = v + 4 * halfMs + 1;
  EXPECT_TRUE(r.Set(next));
  EXPECT_EQ(r.Day, 9);
  EXPECT_EQ(r.DayOfWeek, 4);
  EXPECT_EQ(r.Hour, 17);
  EXPECT_EQ(r.MilliSecond, 125);
  EXPECT_EQ(r.JulianDay, 2461384);
}

TEST(DateTimeRecord, ChangeOfDayUsesUnroundedWholeParts) {
  DateTimeRecord r;
  r.Set(46364.5);
  // Same whole part: the date is not decoded again although the time rounds to midnight.
  EXPECT_TRUE(r.Set(46364.99999999999));
  EXPECT_EQ(r.Day, 8);
  EXPECT_EQ(r.Hour, 0);
}

TEST(Calendar, EraBoundaries) {
  EXPECT_EQ(EraIndexOf(static_cast<double>(DayNumberFromCivil(1868, 9, 7))), 0);
  EXPECT_EQ(EraIndexOf(-11435.0), 1);
  EXPECT_EQ(EraIndexOf(-11435.25), 0);  // 06:00 on the first day reads as an earlier number
  EXPECT_EQ(EraIndexOf(static_cast<double>(DayNumberFromCivil(1912, 7, 29))), 1);
  EXPECT_EQ(EraIndexOf(static_cast<double>(DayNumberFromCivil(1912, 7, 30))), 2);
  EXPECT_EQ(EraIndexOf(static_cast<double>(DayNumberFromCivil(1926, 12, 24))), 2);
  EXPECT_EQ(EraIndexOf(static_cast<double>(DayNumberFromCivil(1926, 12, 25))), 3);
  EXPECT_EQ(EraIndexOf(static_cast<double>(DayNumberFromCivil(1989, 1, 7)) + 0.99), 3);
  EXPECT_EQ(EraIndexOf(static_cast<double>(DayNumberFromCivil(1989, 1, 8))), 4);
  EXPECT_EQ(EraIndexOf(static_cast<double>(DayNumberFromCivil(2019, 5, 1))), 4);
}

TEST(Calendar, JulianDayNumbers) {
  EXPECT_EQ(JulianDayNumber(2000, 1, 1), 2451545);
  EXPECT_EQ(JulianDayNumber(1899, 12, 30), 2415019);
  EXPECT_EQ(JulianDayNumber(2026, 12, 8), 2461383);
  EXPECT_EQ(JulianDayNumber(2024, 2, 29) + 1, JulianDayNumber(2024, 3, 1));
  EXPECT_EQ(JulianDayNumber(1, 1, 1), 1721426);
}

TEST(Calendar, MoonAgeWorkedValues) {
  DateTimeRecord r;
  r.Set(36532.5);
  EXPECT_NEAR(MoonAge(r), 0.370085, 1e-6);
  r.Set(46364.0);
  EXPECT_NEAR(MoonAge(r), 28.302747, 1e-6);
}

TEST(Calendar, MoonAgeStaysInItsWrappedRange) {
  DateTimeRecord r;
  for (double v : {std::numeric_limits<double>::quiet_NaN(),
                   std::numeric_limits<double>::infinity(), -1e300, 1e300}) {
    r.Set(v);
    const double age = MoonAge(r);
    EXPECT_TRUE(age >= -0.004411 && age <= 29.535) << v;
  }
  for (double v = 30000; v < 32000; v += 0.37) {
    r.Set(v);
    const double age = MoonAge(r);
    ASSERT_GE(age, -0.004411) << v;
    ASSERT_LE(age, 29.535) << v;
  }
}

TEST(Calendar, TraditionalHoursAndCycle) {
  EXPECT_EQ(HourBranchIndex(23), 0);
  EXPECT_EQ(HourBranchIndex(0), 0);
  EXPECT_EQ(HourBranchIndex(11), 6);
  EXPECT_EQ(HourBranchIndex(12), 6);
  EXPECT_EQ(HourBranchIndex(13), 7);
  EXPECT_EQ(BellCountIndex(12), 0);
  EXPECT_EQ(BellCountIndex(11), 5);
  EXPECT_EQ(YearStemIndex(1984), 0);
  EXPECT_EQ(YearBranchIndex(1984), 0);
  EXPECT_EQ(YearStemIndex(2026), 2);
  EXPECT_EQ(YearBranchIndex(2026), 6);
}

}  // namespace
}  // namespace mirovane
