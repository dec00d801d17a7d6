#include "controls/spin_edit.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "ui/dpi.h"

namespace mirovane {

// ---- TUpDownLimited ----------------------------------------------------------------------------

void TUpDownLimited::Create(HWND parent) {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_UPDOWN_CLASS;
  InitCommonControlsEx(&icc);
  // No buddy: the up-down's position is its own and never shows anywhere.
  CreateHandle(0, UPDOWN_CLASSW, L"", WS_VISIBLE | UDS_ARROWKEYS | UDS_NOTHOUSANDS, parent, 1);
  const HWND hwnd = Handle();
  SendMessageW(hwnd, UDM_SETRANGE32, 0, 2);
  SendMessageW(hwnd, UDM_SETPOS32, 0, 1);
  // One acceleration entry of 1: a held arrow repeats single steps, never bigger ones.
  UDACCEL accel[8] = {};
  const auto count =
      static_cast<int>(SendMessageW(hwnd, UDM_GETACCEL, 8, reinterpret_cast<LPARAM>(accel)));
  UDACCEL single{count > 0 ? accel[0].nSec : 0u, 1};
  SendMessageW(hwnd, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&single));
}

void TUpDownLimited::HandleArrow(int position) {
  const bool up = reading_.HandleArrow(position);
  const std::function<void()>& handler = up ? onUpClick : onDownClick;
  if (handler) handler();
}

bool TUpDownLimited::HandleScroll(WPARAM wp, LPARAM lp) {
  if (!Handle() || reinterpret_cast<HWND>(lp) != Handle()) return false;
  // The up-down sends its position after every click and auto-repeat, also at an end of its
  // range; the end of a press (SB_ENDSCROLL) is no click.
  if (LOWORD(wp) == SB_THUMBPOSITION) HandleArrow(static_cast<short>(HIWORD(wp)));
  return true;
}

void TUpDownLimited::SetEnabled(bool enabled) noexcept {
  if (Handle()) EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

void TUpDownLimited::StartRepeat(LPARAM point) {
  // The press itself has stepped once (the up-down reported it); the repeat follows while the
  // up-down holds the mouse.
  if (GetCapture() != Handle()) return;
  heldUp_ = reading_.LastWasUp;
  pointerY_ = GET_Y_LPARAM(point);
  repeating_ = true;
  int delay = 1;
  SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
  SetTimer(Handle(), kRepeatTimer, ArrowFirstRepeatMs(delay), nullptr);
}

void TUpDownLimited::Repeat() {
  if (!repeating_ || GetCapture() != Handle()) {
    StopRepeat();
    return;
  }
  SetTimer(Handle(), kRepeatTimer, kArrowRepeatMs, nullptr);
  // Only while the pointer is on the arrow that was pressed (the upper half is "up").
  RECT client{};
  GetClientRect(Handle(), &client);
  const bool overUp = pointerY_ < (client.bottom - client.top) / 2;
  if (pointerY_ < 0 || pointerY_ >= client.bottom || overUp != heldUp_) return;
  const std::function<void()>& handler = heldUp_ ? onUpClick : onDownClick;
  if (handler) handler();
}

void TUpDownLimited::StopRepeat() {
  if (!repeating_) return;
  repeating_ = false;
  KillTimer(Handle(), kRepeatTimer);
}

bool TUpDownLimited::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      ui::Control::OnMessage(msg, wp, lp, result);
      result = CallOriginal(msg, wp, lp);
      StartRepeat(lp);
      return true;
    case WM_LBUTTONDBLCLK:
      // Two quick clicks are two clicks: the second press is a press like the first.
      ui::Control::OnMessage(WM_LBUTTONDOWN, wp, lp, result);
      result = CallOriginal(WM_LBUTTONDOWN, wp, lp);
      StartRepeat(lp);
      return true;
    case WM_MOUSEMOVE:
      pointerY_ = GET_Y_LPARAM(lp);
      break;
    case WM_TIMER:
      // The repeat is ours; the up-down's own timers (its repeat and acceleration) never run.
      if (wp == kRepeatTimer) Repeat();
      result = 0;
      return true;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
    case WM_DESTROY:
      StopRepeat();
      break;
    case WM_MOUSEWHEEL:
      // The wheel over the arrows is the spin edit's wheel (no clicks, no focus change).
      result = GetParent(Handle()) ? SendMessageW(GetParent(Handle()), msg, wp, lp) : 0;
      return true;
    case WM_SIZE:
      result = CallOriginal(msg, wp, lp);
      InvalidateRect(Handle(), nullptr, FALSE);
      return true;
    default:
      break;
  }
  return ui::Control::OnMessage(msg, wp, lp, result);
}

// ---- TSpinEditEx -------------------------------------------------------------------------------

TSpinEditEx::TSpinEditEx() {
  button_.onUpClick = [this] { StepUp(); };
  button_.onDownClick = [this] { StepDown(); };
}

TSpinEditEx::TSpinEditEx(const SpinSetup& setup) : TSpinEditEx() { Apply(setup); }

void TSpinEditEx::Create(HWND parent, int id, const SpinSetup& setup) {
  Apply(setup);
  TBaseEdit::Create(parent, id);
}

void TSpinEditEx::Apply(const SpinSetup& setup) {
  SetMinValue(setup.min);
  SetMaxValue(setup.max);
  SetIncrement(setup.increment);
  SetMaxLength(setup.maxLength);
  SetShowPlus(setup.showPlus);
  SetValue(setup.initial);
  SetEnabled(setup.enabled);
}

void TSpinEditEx::AfterCreate() {
  button_.Create(Handle());
  button_.SetEnabled(Enabled());
  LayoutButton();
}

void TSpinEditEx::AfterLayout(UINT /*dpi*/) { LayoutButton(); }

void TSpinEditEx::EnabledChanged(bool enabled) {
  TIntegerEdit::EnabledChanged(enabled);
  button_.SetEnabled(enabled);
}

void TSpinEditEx::StepUp() { Step(1, true); }

void TSpinEditEx::StepDown() { Step(-1, true); }

void TSpinEditEx::Step(int steps, bool takeFocus) {
  if (ReadOnly()) return;
  const HWND hwnd = Handle();
  if (takeFocus && hwnd && GetFocus() != hwnd && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    SetFocus(hwnd);
  }
  ReplaceText(Rules().Step(Text(), increment_, steps));
  // Typing after a step replaces the number instead of running into it.
  if (hwnd && GetFocus() == hwnd) SendMessageW(hwnd, EM_SETSEL, 0, -1);
}

void TSpinEditEx::KeyDown(WPARAM virtualKey) {
  if (virtualKey == VK_UP) StepUp();
  if (virtualKey == VK_DOWN) StepDown();
}

void TSpinEditEx::LayoutButton() {
  const HWND hwnd = Handle();
  if (!hwnd || !button_.Handle()) return;
  // The caller sizes the control for its DPI; the arrows take the system's scroll-bar width for
  // that DPI. Inside the 3D border they sit at the right edge, one pixel (at 96 DPI) over the
  // client area's top, right and bottom: left = control width - arrow width - 3, top = -1,
  // height = control height - 2, in the edit's client coordinates.
  const UINT dpi = ui::WindowDpi(hwnd);
  RECT client{};
  GetClientRect(hwnd, &client);
  RECT outer{};
  GetWindowRect(hwnd, &outer);
  const int width =
      std::clamp(GetSystemMetricsForDpi(SM_CXVSCROLL, dpi), 0, static_cast<int>(client.right));
  SetWindowPos(button_.Handle(), nullptr, (outer.right - outer.left) - width - ui::Scale(3, dpi),
               -ui::Scale(1, dpi), width, (outer.bottom - outer.top) - ui::Scale(2, dpi),
               SWP_NOZORDER | SWP_NOACTIVATE);
  const int margin = width + ui::Scale(2, dpi);
  SendMessageW(hwnd, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, margin));
}

bool TSpinEditEx::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_VSCROLL:
      if (button_.HandleScroll(wp, lp)) {
        result = 0;
        return true;
      }
      break;
    case WM_MOUSEWHEEL: {
      const int delta = GET_WHEEL_DELTA_WPARAM(wp);
      if (onMouseWheel && onMouseWheel(delta)) {
        result = 0;
        return true;
      }
      const int notches = wheel_.Take(delta);
      if (ReadOnly()) break;  // the edit's own handling passes it on to the parent
      if (notches != 0) Step(notches, false);
      result = 0;
      return true;
    }
    case WM_KEYDOWN:
      if (wp == VK_UP || wp == VK_DOWN) {
        // The step, the owner's key handler and the edit's own handling of the key (which moves
        // the caret); then the number is selected again, so typing replaces it.
        TIntegerEdit::OnMessage(msg, wp, lp, result);
        if (GetFocus() == Handle()) SendMessageW(Handle(), EM_SETSEL, 0, -1);
        return true;
      }
      break;
    case WM_SIZE:
    case WM_SETFONT:  // a new font resets the margins
    case WM_DPICHANGED_AFTERPARENT:
      result = CallOriginal(msg, wp, lp);
      LayoutButton();
      return true;
    default:
      break;
  }
  return TIntegerEdit::OnMessage(msg, wp, lp, result);
}

}  // namespace mirovane
