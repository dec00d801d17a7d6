// The local wall clock as the system reports it. The reading is plain civil fields, so the
// platform layer needs nothing of the date-time value; LocalNow (format/datetime.h) turns it into
// one.
#pragma once

namespace mirovane {

// A civil date and time of day as plain fields (month and day from 1): the clock's reading, and
// the month calendar's selected date.
struct CivilDateTime {
  int year = 1;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  friend bool operator==(const CivilDateTime&, const CivilDateTime&) = default;
};

CivilDateTime ReadLocalClock();

}  // namespace mirovane
