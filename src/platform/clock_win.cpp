#include <windows.h>

#include "platform/clock.h"

namespace mirovane {

CivilDateTime ReadLocalClock() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace mirovane
