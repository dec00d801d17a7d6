// The clock face on GDI: DrawClockFace renders into an off-screen bitmap the size of the face,
// which is then copied to the window in one step (no flicker) and kept, so that a face that was
// covered and uncovered is painted again from the last drawing.
#pragma once

#include <windows.h>

#include "app/clock_face.h"
#include "ui/gdi.h"

namespace mirovane {

COLORREF ToColorRef(ColorValue value);

// ClockCanvas on a device context. Pens and brushes are created as they are asked for and every
// one of them is deleted by the time the canvas is gone.
class GdiClockCanvas final : public ClockCanvas {
 public:
  GdiClockCanvas(HDC dc, HFONT font);
  ~GdiClockCanvas() override;
  GdiClockCanvas(const GdiClockCanvas&) = delete;
  GdiClockCanvas& operator=(const GdiClockCanvas&) = delete;

  void SetPen(ColorValue color, int width) override;
  void SetBrush(ColorValue color, bool solid) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Polygon(const Point (&points)[4]) override;
  void Line(Point from, Point to) override;
  void Text(int x, int y, std::string_view cp932, ColorValue color) override;
  int TextWidth(std::string_view cp932) override;
  int TextHeight(std::string_view cp932) override;

 private:
  SIZE Extent(std::string_view cp932);

  HDC dc_;
  HGDIOBJ oldPen_;
  HGDIOBJ oldBrush_;
  HGDIOBJ oldFont_;
  ui::PenHandle pen_;
  ui::BrushHandle brush_;
  ColorValue penColor_ = 0;
  int penWidth_ = 1;
};

class ClockFaceRenderer {
 public:
  // Draws the face for the time into the cached bitmap and copies it onto `target`.
  void Render(HWND target, int width, int height, int hour, int minute, int second,
              const ClockColors& colors, HFONT font);
  // Paints the last drawing (from WM_PAINT).
  void Paint(HDC dc) const;

 private:
  ui::BitmapHandle bitmap_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace mirovane
