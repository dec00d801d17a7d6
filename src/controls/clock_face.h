// The analog clock face: ring, hour marks and three hands, drawn through a small canvas so the
// geometry is the same whether it lands on a GDI surface or in a test's recorder.
#pragma once

#include <string_view>

#include "settings/colors.h"
#include "settings/layout.h"

namespace mirovane {

class ClockCanvas {
 public:
  virtual ~ClockCanvas() = default;
  virtual void SetPen(ColorValue color, int width) = 0;
  // A clear brush leaves the background of shapes and text untouched.
  virtual void SetBrush(ColorValue color, bool solid) = 0;
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  virtual void Polygon(const Point (&points)[4]) = 0;
  virtual void Line(Point from, Point to) = 0;
  virtual void Text(int x, int y, std::string_view cp932, ColorValue color) = 0;
  virtual int TextWidth(std::string_view cp932) = 0;
  virtual int TextHeight(std::string_view cp932) = 0;
};

struct ClockColors {
  ColorValue labelBack = 0;    // face
  ColorValue labelText = 0;    // numbers and the hour hand
  ColorValue borderColor = 0;  // second hand
  ColorValue titleBack = 0;    // outer ring
  ColorValue trailText = 0;    // inner ring
  friend bool operator==(const ClockColors&, const ClockColors&) = default;
};

// Draws the whole face of `width` × `height` pixels for the given time (hour 0..23): the dial,
// then the hands. Pen widths and the fixed distances (ring widths, the inner ring's offset, the
// marks' distance from the ring) are 96-DPI pixels, drawn at `dpi`.
void DrawClockFace(ClockCanvas& canvas, int width, int height, int hour, int minute, int second,
                   const ClockColors& colors, int dpi = 96);
// The parts that do not move: rings and hour marks. A renderer may keep this drawing and put only
// the hands on a copy of it each time.
void DrawClockDial(ClockCanvas& canvas, int width, int height, const ClockColors& colors,
                   int dpi = 96);
// The hour, minute and second hands, in that order (the second hand on top).
void DrawClockHands(ClockCanvas& canvas, int height, int hour, int minute, int second,
                    const ClockColors& colors, int dpi = 96);

// The degrees of the three hands, clockwise from 12 o'clock (the hour is not reduced to 12).
double HourHandDegrees(int hour, int minute, int second);
double MinuteHandDegrees(int minute, int second);
double SecondHandDegrees(int second);

}  // namespace mirovane
