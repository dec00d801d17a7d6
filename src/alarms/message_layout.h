// Geometry of the message window: where its icon, text and buttons go, how large its client area
// is and where the window stands on the screen. The window measures its text and captions at its
// DPI and hands the sizes in; no window handle is involved, so every placement rule is testable
// here.
//
// The window always lies inside the work area of its monitor: the text is wrapped at a width that
// leaves room for the frame, and a text too tall for the work area gets a shorter, scrolling box.
#pragma once

#include <optional>

#include "settings/geometry.h"

namespace mirovane {

struct MessageLayoutInput {
  // Where the window is shown.
  int dpi = 96;
  Rect workArea;       // of the window's monitor, screen coordinates
  int frameWidth = 0;  // window size minus client size: frame and caption
  int frameHeight = 0;
  int scrollBarWidth = 0;  // a vertical scroll bar at this DPI
  bool icon = false;
  bool confirm = false;
  // Set when the DPI changed while shown: the window keeps the top-left corner of this rectangle.
  std::optional<Rect> suggested;

  // Measured in the window's font at this DPI.
  int textWidth = 0;  // extent of the whole text wrapped at MessageWrapWidth(...)
  int textHeight = 0;
  int lineHeight = 0;  // one line of text
  int okCaptionWidth = 0;
  int confirmCaptionWidth = 0;
};

struct MessageLayout {
  // Client coordinates. Empty rectangles for an absent icon or confirm button.
  Rect icon;
  Rect text;  // includes the scroll bar when the text scrolls
  Rect ok;
  Rect confirm;
  bool textScrolls = false;  // the text is taller than the room left for it
  int clientWidth = 0;
  int clientHeight = 0;
  Rect window;  // screen coordinates, frame included
};

// The width at which the text is wrapped (lines break at CR LF and wrap at this width). Reads only
// the "where the window is shown" part of `in`.
int MessageWrapWidth(const MessageLayoutInput& in);

MessageLayout ComputeMessageLayout(const MessageLayoutInput& in);

}  // namespace mirovane
