// Geometry of the main window: which parts are shown and where every panel and label goes.
// Sizes come in measured (pixels at the window's DPI); rectangles go out, relative to each
// rectangle's parent. No window handle is involved, so every placement rule is testable here.
#pragma once

#include <cstdint>

#include "settings/geometry.h"
#include "settings/settings.h"

namespace mirovane {

// What is shown and at which font sizes.
struct Visibility {
  bool dateTimeArea = true;
  bool calendar = true;
  bool dateLabel = true;
  bool timeLabel = true;
  bool clock = true;
  int dateTimeFontSize = 12;  // points, also the clock area's
  bool operator==(const Visibility&) const = default;
};

Visibility ComputeVisibility(const TCalendarSettings& s);

// Placement codes of CalendarPosition.
enum class CalendarPlacement { Bottom = 0, Top = 1, Middle = 2 };
enum class ClockPlacement { Right = 0, Left = 1, Top = 2, Bottom = 3 };
CalendarPlacement CalendarPlacementOf(std::uint8_t calendarPosition);
ClockPlacement ClockPlacementOf(std::uint8_t calendarPosition);

struct LayoutInput {
  Visibility visible;
  std::uint8_t calendarPosition = 0x01;
  int borderWidth = 1;  // BW, pixels
  int labelBorder = 2;  // LB, pixels
  int columns = 1;
  int rows = 1;
  Size calendarMonth;          // the calendar's minimum one-month size
  int calendarFontHeight = 0;  // pixels (sign ignored)
  Size dateText;               // one-line extent of the date sample text plus two blanks
  Size timeText;
  int clockFontHeight = 0;  // pixels (sign ignored), for the clock-only window
};

struct LayoutResult {
  Rect backPanel;   // in the window's client area; its size is the client size
  Rect mainPanel;   // in BackPanel
  Rect clockPanel;  // in BackPanel
  Rect clockFace;   // in ClockPanel
  Rect calendar;    // in MainPanel
  Rect dateLabel;   // in MainPanel
  Rect timeLabel;   // in MainPanel
};

// Hidden parts get empty rectangles.
LayoutResult ComputeLayout(const LayoutInput& in);

// The calendar grid's size for `columns` × `rows` months of `month` each.
Size CalendarGridSize(Size month, int columns, int rows, int fontHeight, int labelBorder);

}  // namespace mirovane
