#include "controls/numeric_edit.h"

#include <imm.h>

#include <algorithm>

#include "platform/codec.h"
#include "ui/form.h"

namespace mirovane {

COLORREF ResolveEditColor(EditColor color) noexcept {
  if (color & kEditSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0x00FFFFFF);
}

// ---- TBaseEdit ---------------------------------------------------------------------------------

void TBaseEdit::Create(HWND parent, int id, bool tabStop) {
  CreateOn(parent, id, std::wstring(), tabStop ? ui::kNoFlags : ui::kNoTabStop);
}

void TBaseEdit::CreateOn(HWND parent, int id, const std::wstring& /*caption*/, unsigned flags) {
  // The caption of a table line is not the initial text: the control shows what it holds.
  // No WS_CLIPCHILDREN: the edit draws its text and selection over its whole client area
  // through a DC of its own all the same (focus, typing, selecting), and only an edit without it
  // has its children drawn again after it: a spin edit's arrows would vanish while it has the
  // focus.
  DWORD style = WS_VISIBLE | ES_RIGHT | ES_AUTOHSCROLL;
  if (!(flags & ui::kNoTabStop)) style |= WS_TABSTOP;
  if (flags & ui::kGroupStart) style |= WS_GROUP;
  if (!enabled_) style |= WS_DISABLED;
  if (readOnly_ || !editorEnabled_) style |= ES_READONLY;
  CreateHandle(WS_EX_CLIENTEDGE, L"EDIT", Cp932ToWide(text_).c_str(), style, parent, id);
  // Numbers are typed without conversion.
  ImmAssociateContext(Handle(), nullptr);
  if (maxLength_ > 0) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  if (colors_.SetEditable(IsEditable())) ColorChanged();
  AfterCreate();
}

void TBaseEdit::SetEnabled(bool enabled) {
  if (!Handle()) {
    enabled_ = enabled;
    colors_.SetEditable(IsEditable());
    return;
  }
  // EnableWindow sends WM_ENABLE, where the colours follow (also for callers of EnableWindow).
  ui::DialogControl::SetEnabled(enabled);
}

void TBaseEdit::EnabledChanged(bool enabled) {
  enabled_ = enabled;
  if (colors_.SetEditable(IsEditable())) ColorChanged();
}

void TBaseEdit::SetEditorEnabled(bool enabled) {
  if (enabled == editorEnabled_) return;
  editorEnabled_ = enabled;
  ApplyReadOnly();
  if (colors_.SetEditable(IsEditable())) ColorChanged();
}

void TBaseEdit::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  ApplyReadOnly();
}

void TBaseEdit::ApplyReadOnly() {
  if (!Handle()) return;
  const bool locked = readOnly_ || !editorEnabled_;
  SendMessageW(Handle(), EM_SETREADONLY, locked ? TRUE : FALSE, 0);
}

void TBaseEdit::SetEnableColor(EditColor color) {
  if (colors_.SetEnableColor(color)) ColorChanged();
}

void TBaseEdit::SetDisableColor(EditColor color) {
  if (colors_.SetDisableColor(color)) ColorChanged();
}

void TBaseEdit::SetColor(EditColor color) {
  if (colors_.SetColor(color)) ColorChanged();
}

void TBaseEdit::ColorChanged() {
  brush_.reset();
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

HBRUSH TBaseEdit::OnCtlColor(HDC dc) {
  // Both messages come here: an enabled edit asks with WM_CTLCOLOREDIT, a read-only or disabled
  // one with WM_CTLCOLORSTATIC. A system colour is resolved each time (the user may change it).
  const COLORREF back = ResolveEditColor(colors_.Color());
  if (!brush_ || brushColor_ != back) {
    brush_.reset(CreateSolidBrush(back));
    brushColor_ = back;
  }
  SetBkColor(dc, back);
  SetTextColor(dc, GetSysColor(Enabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  return brush_.get();
}

void TBaseEdit::SetMaxLength(int length) {
  maxLength_ = std::max(length, 0);
  if (Handle()) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

std::string TBaseEdit::WindowText() const {
  const int length = GetWindowTextLengthW(Handle());
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int n = GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(n, 0)));
  return WideToCp932(text);
}

std::string TBaseEdit::Text() const { return Handle() ? WindowText() : text_; }

void TBaseEdit::SetText(std::string_view cp932) { ReplaceText(cp932); }

void TBaseEdit::ReplaceText(std::string_view cp932) {
  if (Handle() && WindowText() != cp932) {
    // The EN_CHANGE this may send is not reported on its own: the comparison below does it once.
    DeferChanges defer(*this);
    SetWindowTextW(Handle(), Cp932ToWide(cp932).c_str());
  }
  if (cp932 == text_) return;
  text_.assign(cp932);
  if (onChange) onChange();
}

void TBaseEdit::SyncText() {
  if (!Handle() || deferred_ > 0) return;
  std::string now = WindowText();
  if (now == text_) return;
  text_ = std::move(now);
  if (onChange) onChange();
}

bool TBaseEdit::OnCommand(WORD code) {
  if (code != EN_CHANGE) return false;
  SyncText();
  return true;
}

bool TBaseEdit::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_ENABLE:
      EnabledChanged(wp != FALSE);
      break;
    case WM_KEYDOWN:
      KeyDown(wp);
      if (onKeyDown) onKeyDown(wp);
      // The key goes on to the edit (Delete changes the text).
      result = CallOriginal(msg, wp, lp);
      SyncText();
      return true;
    case WM_CHAR:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
      // Changes made by the edit itself are reported here as well as by EN_CHANGE, which only
      // reaches the control through a parent that routes notifications.
      result = CallOriginal(msg, wp, lp);
      SyncText();
      return true;
    default:
      break;
  }
  return ui::Control::OnMessage(msg, wp, lp, result);
}

// ---- TIntegerEdit ------------------------------------------------------------------------------

TIntegerEdit::TIntegerEdit() { SetValue(0); }

std::int32_t TIntegerEdit::Value() { return Rules().ReadValue(Text()); }

void TIntegerEdit::SetValue(std::int32_t value) { ReplaceText(Rules().WriteValue(value)); }

void TIntegerEdit::RefreshText() { ReplaceText(Rules().RefreshText(Text())); }

void TIntegerEdit::SetShowPlus(bool show) {
  if (show == rules_.ShowPlus) return;
  rules_.ShowPlus = show;
  RefreshText();
}

void TIntegerEdit::SetZeroFill(bool fill) {
  if (fill == rules_.ZeroFill) return;
  rules_.ZeroFill = fill;
  RefreshText();
}

void TIntegerEdit::SetZeroToBlank(bool blank) {
  if (blank == rules_.ZeroToBlank) return;
  rules_.ZeroToBlank = blank;
  RefreshText();
}

CharVerdict TIntegerEdit::CharAllowed(char32_t c) {
  return Rules().CharAllowed(c, Text(), EditorEnabled(), ReadOnly());
}

bool TIntegerEdit::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_CHAR: {
      const CharVerdict verdict = CharAllowed(static_cast<char32_t>(wp));
      if (verdict.beep) Beep();
      if (verdict.newText) ReplaceText(*verdict.newText);
      if (!verdict.insert) {
        result = 0;
        return true;
      }
      break;  // the edit inserts it
    }
    case WM_CUT:
    case WM_PASTE:
      result = 0;
      if (!EditorEnabled() || ReadOnly()) return true;
      {
        DeferChanges defer(*this);
        result = CallOriginal(msg, wp, lp);
      }
      // One change at most: from the text before to the number the pasted text makes.
      RefreshText();
      return true;
    case WM_KILLFOCUS:
      result = CallOriginal(msg, wp, lp);
      RefreshText();
      return true;
    case WM_LBUTTONDOWN:
      // The edit takes the focus inside its handling of the press.
      clickFocus_ = GetFocus() != Handle();
      ui::Control::OnMessage(msg, wp, lp, result);
      result = CallOriginal(msg, wp, lp);
      clickFocus_ = false;
      return true;
    case WM_SETFOCUS:
      result = CallOriginal(msg, wp, lp);
      if (autoSelect && !clickFocus_) SendMessageW(Handle(), EM_SETSEL, 0, -1);
      return true;
    case WM_GETDLGCODE:
      // A dialog keeps Enter for its default button; the number is normalised all the same.
      if (const auto* m = reinterpret_cast<const MSG*>(lp);
          m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) {
        RefreshText();
      }
      break;
    default:
      break;
  }
  return TBaseEdit::OnMessage(msg, wp, lp, result);
}

}  // namespace mirovane
