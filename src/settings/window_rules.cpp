#include "settings/window_rules.h"

#include <algorithm>

namespace mirovane {

HideAction HideTick(bool busy, bool visible, std::uint8_t hideTime, std::uint8_t& countdown) {
  if (busy || countdown == 0) return HideAction::None;
  if (--countdown != 0) return HideAction::None;
  if (visible) {
    countdown = hideTime;
    return HideAction::Hide;
  }
  return HideAction::Show;
}

int LeftFromSetting(const TCalendarSettings& s, int windowWidth, int screenWidth) {
  return s.AlignRight ? screenWidth - windowWidth - s.LeftPosition : s.LeftPosition;
}

int LeftToSetting(const TCalendarSettings& s, int left, int windowWidth, int screenWidth) {
  return s.AlignRight ? screenWidth - left - windowWidth : left;
}

namespace {

// The length two spans share; 0 when they do not overlap. In 64 bits: the file may hold any
// 32-bit position.
long long Overlap(long long aStart, long long aLength, long long bStart, long long bLength) {
  return std::max(0LL, std::min(aStart + aLength, bStart + bLength) - std::max(aStart, bStart));
}

// The area two rectangles share; 0 when they do not overlap.
long long OverlapArea(const Rect& a, const Rect& b) {
  return Overlap(a.x, a.w, b.x, b.w) * Overlap(a.y, a.h, b.y, b.h);
}

// The monitor the window overlaps most (the first of equals), or nullptr when it overlaps none.
const Rect* MonitorOf(const Rect& window, std::span<const Rect> monitors) {
  const Rect* best = nullptr;
  long long bestArea = 0;
  for (const Rect& m : monitors) {
    const long long area = OverlapArea(window, m);
    if (area > bestArea) {
      best = &m;
      bestArea = area;
    }
  }
  return best;
}

// The window's place inside `monitor`, one axis after the other: a window before the monitor's
// start, or larger than the monitor, goes to its start; one past its end comes back to touch it.
Point ClampInto(const Rect& window, const Rect& monitor) {
  const auto clamp = [](int pos, int size, int start, int length) {
    const int room = length - size;
    if (pos <= start || room < 0) return start;
    return static_cast<long long>(pos) - start > room ? start + room : pos;
  };
  return Point{clamp(window.x, window.w, monitor.x, monitor.w),
               clamp(window.y, window.h, monitor.y, monitor.h)};
}

}  // namespace

std::optional<Point> OntoAMonitor(Rect window, std::span<const Rect> monitors) {
  if (monitors.empty() || MonitorOf(window, monitors) != nullptr) return std::nullopt;
  return ClampInto(window, monitors.front());
}

std::optional<Point> PositionTick(const TCalendarSettings& s, Rect window,
                                  std::span<const Rect> monitors) {
  if (monitors.empty()) return std::nullopt;
  if (s.MemoryPosition) {
    const Rect pinned{LeftFromSetting(s, window.w, monitors.front().w), s.TopPosition, window.w,
                      window.h};
    return OntoAMonitor(pinned, monitors).value_or(Point{pinned.x, pinned.y});
  }
  if (!s.InnerDesktop) return std::nullopt;
  const Rect* monitor = MonitorOf(window, monitors);
  return ClampInto(window, monitor != nullptr ? *monitor : monitors.front());
}

}  // namespace mirovane
