#include "controls/clock_canvas_win.h"

#include <cstring>
#include <string>

#include "platform/codec.h"
#include "settings/colors_win.h"
#include "ui/dpi.h"

namespace mirovane {

GdiClockCanvas::GdiClockCanvas(HDC dc, HFONT font)
    : dc_(dc),
      oldPen_(GetCurrentObject(dc, OBJ_PEN)),
      oldBrush_(GetCurrentObject(dc, OBJ_BRUSH)),
      oldFont_(font ? SelectObject(dc, font) : nullptr) {}

GdiClockCanvas::~GdiClockCanvas() {
  // Put the stock objects back before the owners delete ours.
  SelectObject(dc_, oldPen_);
  SelectObject(dc_, oldBrush_);
  if (oldFont_) SelectObject(dc_, oldFont_);
}

void GdiClockCanvas::SetPen(ColorValue color, int width) {
  if (pen_ && color == penColor_ && width == penWidth_) return;
  ui::PenHandle pen(CreatePen(PS_SOLID, width, ToColorRef(color)));
  if (!pen) return;
  SelectObject(dc_, pen.get());
  pen_ = std::move(pen);  // the previous pen is no longer selected and is deleted here
  penColor_ = color;
  penWidth_ = width;
}

void GdiClockCanvas::SetBrush(ColorValue color, bool solid) {
  if (!solid) {
    SelectObject(dc_, GetStockObject(NULL_BRUSH));
    brush_.reset();
    SetBkMode(dc_, TRANSPARENT);
    return;
  }
  ui::BrushHandle brush(CreateSolidBrush(ToColorRef(color)));
  if (!brush) return;
  SelectObject(dc_, brush.get());
  brush_ = std::move(brush);
  SetBkMode(dc_, OPAQUE);
}

void GdiClockCanvas::Ellipse(int left, int top, int right, int bottom) {
  ::Ellipse(dc_, left, top, right, bottom);
}

void GdiClockCanvas::Polygon(const Point (&points)[4]) {
  POINT p[4];
  for (int i = 0; i < 4; ++i) p[i] = {points[i].x, points[i].y};
  ::Polygon(dc_, p, 4);
}

void GdiClockCanvas::Line(Point from, Point to) {
  MoveToEx(dc_, from.x, from.y, nullptr);
  LineTo(dc_, to.x, to.y);
}

void GdiClockCanvas::Text(int x, int y, std::string_view cp932, ColorValue color) {
  const std::wstring text = Cp932ToWide(cp932);
  SetTextColor(dc_, ToColorRef(color));
  TextOutW(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
}

SIZE GdiClockCanvas::Extent(std::string_view cp932) {
  const std::wstring text = Cp932ToWide(cp932);
  SIZE size{};
  GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

int GdiClockCanvas::TextWidth(std::string_view cp932) { return Extent(cp932).cx; }
int GdiClockCanvas::TextHeight(std::string_view cp932) { return Extent(cp932).cy; }

void ClockFaceRenderer::Render(HWND target, int width, int height, int hour, int minute, int second,
                               const ClockColors& colors, HFONT fontHandle, UINT dpi) {
  if (width <= 0 || height <= 0) return;
  LOGFONTW font{};
  if (fontHandle) GetObjectW(fontHandle, sizeof font, &font);
  if (dpi == 0) dpi = ui::WindowDpi(target);
  const bool sameDial = dial_ && dial_.Width() == width && dial_.Height() == height &&
                        colors == colors_ && static_cast<int>(dpi) == dpi_ &&
                        std::memcmp(&font, &font_, sizeof font) == 0;
  const int secondOfDay = (hour * 60 + minute) * 60 + second;
  if (sameDial && secondOfDay == shownSecond_) return;

  ui::WindowDc screen(target);
  if (!screen) return;
  if (!sameDial) {
    if (!dial_.Create(screen.get(), width, height) || !frame_.Create(screen.get(), width, height)) {
      dial_.Reset();
      return;
    }
    // The face's corners outside the ring show the clock area's colour.
    ui::BrushHandle back(CreateSolidBrush(ToColorRef(colors.labelBack)));
    const RECT all{0, 0, width, height};
    FillRect(dial_.dc(), &all, back.get());
    GdiClockCanvas canvas(dial_.dc(), fontHandle);
    DrawClockDial(canvas, width, height, colors, static_cast<int>(dpi));
    colors_ = colors;
    dpi_ = static_cast<int>(dpi);
    font_ = font;
  }
  BitBlt(frame_.dc(), 0, 0, width, height, dial_.dc(), 0, 0, SRCCOPY);
  {
    GdiClockCanvas canvas(frame_.dc(), nullptr);
    DrawClockHands(canvas, height, hour, minute, second, colors, static_cast<int>(dpi));
  }
  shownSecond_ = secondOfDay;
  BitBlt(screen.get(), 0, 0, width, height, frame_.dc(), 0, 0, SRCCOPY);
}

void ClockFaceRenderer::Paint(HDC dc) const {
  if (!frame_) return;
  BitBlt(dc, 0, 0, frame_.Width(), frame_.Height(), frame_.dc(), 0, 0, SRCCOPY);
}

}  // namespace mirovane
