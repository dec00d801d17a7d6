#include "format/calendar.h"

#include <cmath>

#include "format/datetime.h"

namespace mirovane {

int EraIndexOf(double value) noexcept {
  for (int i = 4; i >= 1; --i) {
    if (kEras[i].firstDay <= value) return i;
  }
  return 0;
}

std::int32_t JulianDayNumber(int y, int m, int d) noexcept {
  // Integer formula with truncating division; all terms are positive for years 1..9999.
  std::int32_t t;
  if (m < 3) {
    t = (m + 10) * 367 / 12 + (y + 4799) * 1461 / 4 - (y + 4899) / 100 * 3 / 4;
  } else {
    t = (m - 2) * 367 / 12 + (y + 4800) * 1461 / 4 - (y + 4900) / 100 * 3 / 4;
  }
  return d + t - 32075;
}

double MoonAge(const DateTimeRecord& dt) noexcept {
  constexpr double kEpoch = 2451550.9727;
  constexpr double kSynodic = 29.530589;
  constexpr double kWrap = 29.535;
  constexpr double kLowest = -0.004411;
  constexpr double kDegree = 0.017453292519943295;

  // A value that is not a finite number decodes as its clamped day at midnight.
  const double fraction = std::isfinite(dt.Value) ? dt.Value - std::trunc(dt.Value) : 0.0;
  const double t = fraction + (static_cast<double>(dt.JulianDay) - kEpoch);
  double k = t / kSynodic;
  if (k - std::trunc(k) < 0) k -= 1;
  k = std::trunc(k);
  double age = (t - kSynodic * k) + 0.407 * std::sin((385.82 * k + 201.56) * kDegree) -
               0.172 * std::sin((29.11 * k + 2.55) * kDegree);
  if (age > kWrap) {
    age -= kWrap;
  } else if (age < kLowest) {
    age += kWrap;
  }
  return age;
}

}  // namespace mirovane
