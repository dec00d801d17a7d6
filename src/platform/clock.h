// The local wall clock as the system reports it. The reading is plain civil fields, so the
// platform layer needs nothing of the date-time value; LocalNow (format/datetime.h) turns it into
// one.
#pragma once

namespace mirovane {

struct LocalClockReading {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

LocalClockReading ReadLocalClock();

}  // namespace mirovane
