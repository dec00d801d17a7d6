#include "settings/layout.h"

#include <algorithm>
#include <cstdlib>

namespace mirovane {

Visibility ComputeVisibility(const TCalendarSettings& s) {
  Visibility v;
  v.dateTimeFontSize = s.DateTimeFont.Size + (s.HideCalendar ? s.FontSizeChange : 0);
  const bool allTextHidden = s.HideCalendar && s.HideNowDate && s.HideNowTime;
  if (allTextHidden && s.ShowClock) {
    // Nothing at all would be left: show the date and the time anyway.
    v.dateTimeArea = v.dateLabel = v.timeLabel = true;
    v.calendar = v.clock = false;
    return v;
  }
  v.dateTimeArea = !allTextHidden;
  v.calendar = !s.HideCalendar;
  v.dateLabel = !s.HideNowDate;
  v.timeLabel = !s.HideNowTime;
  v.clock = !s.ShowClock;
  return v;
}

CalendarPlacement CalendarPlacementOf(std::uint8_t calendarPosition) {
  switch (calendarPosition & 15) {
    case 0:
      return CalendarPlacement::Bottom;
    case 2:
      return CalendarPlacement::Middle;
    default:
      return CalendarPlacement::Top;
  }
}

ClockPlacement ClockPlacementOf(std::uint8_t calendarPosition) {
  switch (calendarPosition >> 4) {
    case 0:
      return ClockPlacement::Right;
    case 1:
      return ClockPlacement::Left;
    case 2:
      return ClockPlacement::Top;
    default:
      return ClockPlacement::Bottom;
  }
}

Size CalendarGridSize(Size month, int columns, int rows, int fontHeight, int labelBorder) {
  Size s = month;
  if (rows > 1) s.h = std::abs(fontHeight) + rows * (month.h + 6) + labelBorder - 2;
  if (columns > 1) s.w = columns * (month.w + 6) + labelBorder - 6;
  return s;
}

LayoutResult ComputeLayout(const LayoutInput& in) {
  LayoutResult r;
  const int bw = in.borderWidth;
  const int lb = in.labelBorder;
  const Visibility& v = in.visible;

  if (!v.dateTimeArea) {
    // Only the clock: a square eight clock-font lines high.
    const int side = 8 * std::abs(in.clockFontHeight);
    r.backPanel = {0, 0, side + 2 * bw, side + 2 * bw};
    r.clockPanel = {bw, bw, side, side};
    r.clockFace = {lb, lb, side - 2 * lb, side - 2 * lb};
    return r;
  }

  int w = 0;
  int h = 0;
  int calendarHeight = 0;
  int dateHeight = 0;
  int timeHeight = 0;
  if (v.calendar) {
    const Size grid =
        CalendarGridSize(in.calendarMonth, in.columns, in.rows, in.calendarFontHeight, lb);
    w = grid.w;
    h = calendarHeight = grid.h;
  }
  if (v.dateLabel) {
    dateHeight = in.dateText.h + lb + 2;
    h += dateHeight;
    w = std::max(w, in.dateText.w + lb);
  }
  if (v.timeLabel) {
    timeHeight = in.timeText.h + lb + 2;
    h += timeHeight;
    w = std::max(w, in.timeText.w + lb);
  }

  if (v.clock) {
    switch (ClockPlacementOf(in.calendarPosition)) {
      case ClockPlacement::Right:
        r.backPanel = {0, 0, w + h + 2 * bw, h + 2 * bw};
        r.mainPanel = {bw, bw, w, h};
        r.clockPanel = {bw + w, bw, h, h};
        break;
      case ClockPlacement::Left:
        r.backPanel = {0, 0, w + h + 2 * bw, h + 2 * bw};
        r.mainPanel = {bw + h, bw, w, h};
        r.clockPanel = {bw, bw, h, h};
        break;
      case ClockPlacement::Top:
        r.backPanel = {0, 0, w + 2 * bw, h + w + 2 * bw};
        r.mainPanel = {bw, bw + w, w, h};
        r.clockPanel = {bw, bw, w, w};
        break;
      case ClockPlacement::Bottom:
        r.backPanel = {0, 0, w + 2 * bw, h + w + 2 * bw};
        r.mainPanel = {bw, bw, w, h};
        r.clockPanel = {bw, bw + h, w, w};
        break;
    }
    const int side = r.clockPanel.w;
    r.clockFace = {lb, lb, side - 2 * lb, side - 2 * lb};
  } else {
    r.backPanel = {0, 0, w + 2 * bw, h + 2 * bw};
    r.mainPanel = {bw, bw, w, h};
  }

  // Stack the visible parts inside MainPanel, each the full width; hidden ones take no space.
  Rect* order[3];
  int heights[3];
  switch (CalendarPlacementOf(in.calendarPosition)) {
    case CalendarPlacement::Bottom:
      order[0] = &r.dateLabel, heights[0] = dateHeight;
      order[1] = &r.timeLabel, heights[1] = timeHeight;
      order[2] = &r.calendar, heights[2] = calendarHeight;
      break;
    case CalendarPlacement::Top:
      order[0] = &r.calendar, heights[0] = calendarHeight;
      order[1] = &r.dateLabel, heights[1] = dateHeight;
      order[2] = &r.timeLabel, heights[2] = timeHeight;
      break;
    case CalendarPlacement::Middle:
      order[0] = &r.dateLabel, heights[0] = dateHeight;
      order[1] = &r.calendar, heights[1] = calendarHeight;
      order[2] = &r.timeLabel, heights[2] = timeHeight;
      break;
  }
  int y = 0;
  for (int i = 0; i < 3; ++i) {
    if (heights[i] == 0) continue;
    *order[i] = {0, y, w, heights[i]};
    y += heights[i];
  }
  return r;
}

}  // namespace mirovane
