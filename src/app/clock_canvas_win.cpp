#include "app/clock_canvas_win.h"

#include <string>

#include "platform/codec.h"

namespace mirovane {

COLORREF ToColorRef(ColorValue value) {
  if (value & kSystemColorFlag) return GetSysColor(static_cast<int>(value & 0xFF));
  return static_cast<COLORREF>(value & 0x00FFFFFF);
}

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

void ClockFaceRenderer::Render(HWND target, int width, int height, int hour, int minute,
                               int second, const ClockColors& colors, HFONT font) {
  if (width <= 0 || height <= 0) return;
  ui::WindowDc screen(target);
  if (!screen) return;
  if (!bitmap_ || width != width_ || height != height_) {
    bitmap_.reset(CreateCompatibleBitmap(screen.get(), width, height));
    if (!bitmap_) return;
    width_ = width;
    height_ = height;
  }
  HDC memory = CreateCompatibleDC(screen.get());
  if (!memory) return;
  {
    ui::SelectedObject selected(memory, bitmap_.get());
    // The face's corners outside the ring show the clock area's colour.
    ui::BrushHandle back(CreateSolidBrush(ToColorRef(colors.labelBack)));
    const RECT all{0, 0, width, height};
    FillRect(memory, &all, back.get());
    {
      GdiClockCanvas canvas(memory, font);
      DrawClockFace(canvas, width, height, hour, minute, second, colors);
    }
    BitBlt(screen.get(), 0, 0, width, height, memory, 0, 0, SRCCOPY);
  }
  DeleteDC(memory);
}

void ClockFaceRenderer::Paint(HDC dc) const {
  if (!bitmap_) return;
  HDC memory = CreateCompatibleDC(dc);
  if (!memory) return;
  {
    ui::SelectedObject selected(memory, bitmap_.get());
    BitBlt(dc, 0, 0, width_, height_, memory, 0, 0, SRCCOPY);
  }
  DeleteDC(memory);
}

}  // namespace mirovane
