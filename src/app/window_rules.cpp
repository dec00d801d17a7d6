#include "app/window_rules.h"

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

std::optional<Point> PositionTick(const TCalendarSettings& s, Rect window, Size screen) {
  if (s.MemoryPosition) {
    return Point{LeftFromSetting(s, window.w, screen.w), s.TopPosition};
  }
  if (!s.InnerDesktop) return std::nullopt;
  // Keeps one axis inside [0, room]; a window larger than the screen goes to 0.
  const auto clamp = [](int pos, int size, int screenSize) {
    const int room = screenSize - size;
    if (pos <= 0 || room < 0) return 0;
    return pos > room ? room : pos;
  };
  return Point{clamp(window.x, window.w, screen.w), clamp(window.y, window.h, screen.h)};
}

}  // namespace mirovane
