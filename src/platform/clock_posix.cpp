#include <time.h>

#include "format/datetime.h"
#include "platform/clock.h"

namespace mirovane {

double LocalNow() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  const std::int64_t day =
      DayNumberFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  const std::int64_t ms = ((local.tm_hour * 60LL + local.tm_min) * 60 + local.tm_sec) * 1000 +
                          ts.tv_nsec / 1'000'000;
  return JoinDateTime(day, ms);
}

}  // namespace mirovane
