#include <windows.h>

#include "format/datetime.h"
#include "platform/clock.h"

namespace mirovane {

double LocalNow() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  const std::int64_t day = DayNumberFromCivil(st.wYear, st.wMonth, st.wDay);
  const std::int64_t ms =
      ((st.wHour * 60LL + st.wMinute) * 60 + st.wSecond) * 1000 + st.wMilliseconds;
  return JoinDateTime(day, ms);
}

}  // namespace mirovane
