// The clock face on GDI. The dial (rings and marks) is drawn once per size, colours and font into
// a bitmap of its own; each new second copies it into a frame bitmap, puts the hands on and copies
// the frame to the window in one step (no flicker). The frame is kept, so a face that was covered
// and uncovered is painted again from the last drawing.
#pragma once

#include <windows.h>

#include "controls/clock_face.h"
#include "ui/gdi.h"

namespace mirovane {

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
  // Draws the face for the time and copies it onto `target`, at `dpi` (0: the target's). Does
  // nothing when the size, colours, font, DPI and the shown second are those of the last drawing.
  void Render(HWND target, int width, int height, int hour, int minute, int second,
              const ClockColors& colors, HFONT font, UINT dpi = 0);
  // Paints the last drawing (from WM_PAINT).
  void Paint(HDC dc) const;
  // The next Render draws everything anew (system colours changed).
  void Invalidate() noexcept { dial_.Reset(); }

 private:
  ui::MemorySurface dial_;
  ui::MemorySurface frame_;
  ClockColors colors_;
  LOGFONTW font_{};
  int dpi_ = 96;
  int shownSecond_ = -1;  // second of the day on the frame
};

}  // namespace mirovane
