// A one-line text label on a STATIC control: centred horizontally and vertically, '&' shown as
// is, clicks reported. Texts are cp932. Setting a label's text is costly (a repaint, and tens of
// microseconds under Wine), so SetText compares with the text it set last and does nothing when
// it is unchanged.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "ui/control.h"
#include "ui/gdi.h"

namespace mirovane::ui {

class Label : public Control {
 public:
  Label() = default;

  void Create(HWND parent, int id, std::string_view cp932Text = {});

  // Returns whether the text changed.
  bool SetText(std::string_view cp932Text);
  const std::string& Text() const noexcept { return text_; }

  // Background and text colours; until set, the label asks nothing and gets the system's.
  void SetColors(COLORREF back, COLORREF text);

  // The one-line extent of `cp932Text` in the label's font.
  SIZE MeasureText(std::string_view cp932Text) const;

  // A click: the left button pressed and released on the label, the mouse held by the label
  // in between. Anything that takes the mouse away meanwhile (a drag of the window) cancels it.
  std::function<void()> onClick;
  std::function<void()> onDblClick;

 protected:
  bool OnCommand(WORD code) override;
  HBRUSH OnCtlColor(HDC dc) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  bool pressed_ = false;
  std::string text_;
  BrushHandle backBrush_;
  COLORREF back_ = CLR_INVALID;
  COLORREF textColor_ = CLR_INVALID;
};

}  // namespace mirovane::ui
