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

bool Label::OnCommand(WORD code) {
  switch (code) {
    case STN_CLICKED:
      if (onClick) onClick();
      return true;
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
