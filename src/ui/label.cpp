#include "ui/label.h"

#include "platform/codec.h"
#include "ui/dpi.h"

namespace mirovane::ui {

void Label::Create(HWND parent, int id, std::string_view cp932Text) {
  text_.assign(cp932Text);
  const std::wstring wide = Cp932ToWide(text_);
  CreateHandle(0, L"STATIC", wide.c_str(),
               WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | SS_NOTIFY, parent, id);
}

bool Label::SetText(std::string_view cp932Text) {
  if (cp932Text == text_) return false;
  text_.assign(cp932Text);
  if (Handle()) SetWindowTextW(Handle(), Cp932ToWide(text_).c_str());
  return true;
}

void Label::SetColors(COLORREF back, COLORREF text) {
  if (back == back_ && text == textColor_) return;
  if (back != back_) backBrush_.reset(CreateSolidBrush(back));
  back_ = back;
  textColor_ = text;
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

SIZE Label::MeasureText(std::string_view cp932Text) const {
  return ui::MeasureText(Handle(), Font(), Cp932ToWide(cp932Text));
}

bool Label::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  // The mouse handlers first: they may start a drag, which takes the capture (and the click).
  const bool handled = Control::OnMessage(msg, wp, lp, result);
  switch (msg) {
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(Handle());
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != Handle()) pressed_ = false;
      break;
    case WM_LBUTTONUP:
      if (pressed_) {
        pressed_ = false;
        RECT client{};
        GetClientRect(Handle(), &client);
        const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (GetCapture() == Handle()) ReleaseCapture();
        if (PtInRect(&client, at) && onClick) onClick();
      }
      break;
    default:
      break;
  }
  return handled;
}

bool Label::OnCommand(WORD code) {
  switch (code) {
    case STN_CLICKED:
      return true;  // a press; the click is the release (OnMessage)
    case STN_DBLCLK:
      if (onDblClick) onDblClick();
      return true;
    default:
      return false;
  }
}

HBRUSH Label::OnCtlColor(HDC dc) {
  if (!backBrush_) return nullptr;
  SetBkColor(dc, back_);
  SetTextColor(dc, textColor_);
  return backBrush_.get();
}

}  // namespace mirovane::ui
