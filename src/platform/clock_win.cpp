#include <windows.h>

#include "platform/clock.h"

namespace mirovane {

LocalClockReading ReadLocalClock() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace mirovane
