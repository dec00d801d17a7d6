#include "ui/control.h"

#include <system_error>

namespace mirovane::ui {

namespace {
// Marks a wrapper's control for look-ups that cannot go by the window procedure (another
// subclass was put on top of ours); read only in that case.
constexpr wchar_t kWrapperProperty[] = L"Mirovane.Control";
}  // namespace

Control::~Control() {
  if (hwnd_) {
    const HWND hwnd = hwnd_;
    Detach();
    DestroyWindow(hwnd);
  }
}

void Control::Detach() noexcept {
  const HWND hwnd = hwnd_;
  if (!hwnd) return;
  // Only unhook when ours is still the outermost procedure; otherwise the later subclass keeps
  // calling us through `previous_`, and WindowProc passes messages on once the wrapper is gone.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == &Control::WindowProc) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  }
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  RemovePropW(hwnd, kWrapperProperty);
  hwnd_ = nullptr;
}

Control* Control::FromHandle(HWND hwnd) noexcept {
  if (!hwnd) return nullptr;
  // Only windows of this thread: another process's data would be a meaningless pointer.
  if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return nullptr;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != &Control::WindowProc &&
      !GetPropW(hwnd, kWrapperProperty)) {
    return nullptr;
  }
  return reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Control::SetFont(HFONT font) noexcept {
  font_ = font;
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Control::CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* text,
                           DWORD style, HWND parent, int id) {
  const HWND hwnd =
      CreateWindowExW(exStyle, className, text, style | WS_CHILD, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
  if (!hwnd) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "CreateWindowExW");
  }
  hwnd_ = hwnd;
  SetPropW(hwnd, kWrapperProperty, this);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::WindowProc)));
  if (font_) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

bool Control::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  MouseEvent event;
  std::function<void(const MouseEvent&)>* handler = nullptr;
  switch (ReadMouseMessage(msg, wp, lp, event)) {
    case MouseAction::Down:
    case MouseAction::DoubleClick:
      handler = &onMouseDown;
      break;
    case MouseAction::Move:
      handler = &onMouseMove;
      break;
    case MouseAction::Up:
      handler = &onMouseUp;
      break;
    case MouseAction::None:
      return false;
  }
  if (*handler) (*handler)(event);
  result = 0;
  return false;  // the control still sees its own input (clicks, notifications)
}

LRESULT CALLBACK Control::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) {
    // The wrapper let go while a later subclass still calls us: nothing of ours is left to run,
    // the control's own class procedure (the one we replaced at creation) takes the message.
    const auto classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
    return CallWindowProcW(classProc, hwnd, msg, wp, lp);
  }
  const WNDPROC previous = self->previous_;
  if (msg == WM_NCDESTROY) {
    // Destroyed with its parent: the wrapper stays behind without a handle.
    self->Detach();
    return CallWindowProcW(previous, hwnd, msg, wp, lp);
  }
  try {
    LRESULT result = 0;
    if (self->OnMessage(msg, wp, lp, result)) return result;
  } catch (...) {
    ReportCurrentException();
  }
  return CallWindowProcW(previous, hwnd, msg, wp, lp);
}

}  // namespace mirovane::ui
