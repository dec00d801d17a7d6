// A plain child window filled with one colour: the container of the forms' layouts. It reports
// its own mouse input and lets an owner paint on it (the clock face).
#pragma once

#include <windows.h>

#include <functional>

#include "ui/gdi.h"
#include "ui/window.h"

namespace mirovane::ui {

class Panel : public Window {
 public:
  Panel() = default;
  ~Panel() override = default;

  void Create(HWND parent, int id, COLORREF color);

  COLORREF Color() const noexcept { return color_; }
  void SetColor(COLORREF color);

  std::function<void(const MouseEvent&)> onMouseDown;
  std::function<void(const MouseEvent&)> onMouseMove;
  std::function<void(const MouseEvent&)> onMouseUp;
  std::function<void()> onDblClick;
  // Paints over the background; `client` is the panel's client rectangle.
  std::function<void(HDC dc, const RECT& client)> onPaint;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  COLORREF color_ = 0;
  BrushHandle brush_;
};

}  // namespace mirovane::ui
