#include "ui/window.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <string>
#include <system_error>

#include "ui/control.h"
#include "ui/dpi.h"
#include "ui/timer.h"

namespace mirovane::ui {

namespace {

std::function<void(const char*)>& Reporter() {
  static std::function<void(const char*)> reporter;
  return reporter;
}

}  // namespace

void SetExceptionReporter(std::function<void(const char* what)> reporter) {
  Reporter() = std::move(reporter);
}

void ReportCurrentException() noexcept {
  const char* what = "unknown exception";
  try {
    throw;
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
  }
  try {
    if (Reporter()) {
      Reporter()(what);
      return;
    }
  } catch (...) {
  }
  OutputDebugStringA("Mirovane: exception in a window procedure: ");
  OutputDebugStringA(what);
  OutputDebugStringA("\n");
}

HINSTANCE ModuleInstance() noexcept { return GetModuleHandleW(nullptr); }

bool HasVisibleStyle(HWND hwnd) noexcept {
  return (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void ShowOrHide(HWND hwnd, bool visible) noexcept {
  if (HasVisibleStyle(hwnd) == visible) return;
  ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

RECT BoundsOf(HWND hwnd) noexcept {
  RECT r{0, 0, 0, 0};
  if (!hwnd) return r;
  GetWindowRect(hwnd, &r);
  if (HWND parent = GetAncestor(hwnd, GA_PARENT); parent && parent != GetDesktopWindow()) {
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

void SetLayered(HWND hwnd, bool colorKey, COLORREF key, bool alpha, BYTE alphaValue) noexcept {
  const LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  if (!colorKey && !alpha) {
    if (ex & WS_EX_LAYERED) SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex & ~LONG_PTR{WS_EX_LAYERED});
    return;
  }
  if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  SetLayeredWindowAttributes(hwnd, key, alpha ? alphaValue : BYTE{255},
                             (colorKey ? LWA_COLORKEY : 0) | (alpha ? LWA_ALPHA : 0));
}

void MoveTo(HWND hwnd, int x, int y, int width, int height) noexcept {
  if (!hwnd) return;
  SetWindowPos(hwnd, nullptr, x, y, std::max(width, 0), std::max(height, 0),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

MouseAction ReadMouseMessage(UINT msg, WPARAM wp, LPARAM lp, MouseEvent& event) noexcept {
  MouseAction action = MouseAction::None;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      action = MouseAction::Down;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      action = MouseAction::Up;
      break;
    case WM_MOUSEMOVE:
      action = MouseAction::Move;
      break;
    case WM_LBUTTONDBLCLK:
      action = MouseAction::DoubleClick;
      break;
    default:
      return MouseAction::None;
  }
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      event.button = MouseButton::Right;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      event.button = MouseButton::Middle;
      break;
    default:
      event.button = MouseButton::Left;
      break;
  }
  event.keys = wp;
  event.x = GET_X_LPARAM(lp);
  event.y = GET_Y_LPARAM(lp);
  return action;
}

Window::~Window() {
  if (hwnd_) {
    // The derived part is gone: detach first so that the destruction messages go to the
    // default procedure only.
    const HWND hwnd = hwnd_;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    for (Timer* timer : timers_) timer->running_ = false;
    DestroyWindow(hwnd);
  }
  for (Timer* timer : timers_) timer->owner_ = nullptr;
}

Window* Window::FromHandle(HWND hwnd) noexcept {
  if (!hwnd) return nullptr;
  WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  if (proc != &Window::WindowProc) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Window::Destroy() noexcept {
  if (hwnd_) DestroyWindow(hwnd_);
}

UINT Window::Dpi() const noexcept { return dpi_ ? dpi_ : WindowDpi(hwnd_); }

void Window::RegisterDialogClass(const wchar_t* name) {
  WNDCLASSEXW wc{};
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassOnce(wc);
}

void Window::KeepOnlyMoveAndClose() noexcept {
  if (HMENU menu = GetSystemMenu(hwnd_, FALSE)) {
    for (UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE}) {
      DeleteMenu(menu, command, MF_BYCOMMAND);
    }
  }
}

void Window::RegisterClassOnce(WNDCLASSEXW wc) {
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Window::WindowProc;
  if (!wc.hInstance) wc.hInstance = ModuleInstance();
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) return;
  if (!RegisterClassExW(&wc)) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "RegisterClassExW");
  }
}

HWND Window::CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                          DWORD style, int x, int y, int width, int height, HWND parent,
                          UINT_PTR idOrMenu) {
  const HWND hwnd = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                                    reinterpret_cast<HMENU>(idOrMenu), ModuleInstance(), this);
  if (!hwnd) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "CreateWindowExW");
  }
  return hwnd;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return DefaultHandling(msg, wp, lp);
}

LRESULT Window::DefaultHandling(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // Notifications of child controls go to their wrappers first (menus and accelerators
      // have no control handle).
      if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(lp))) {
        if (control->OnCommand(HIWORD(wp))) return 0;
      }
      break;
    case WM_NOTIFY:
      if (const auto* header = reinterpret_cast<const NMHDR*>(lp)) {
        if (Control* control = Control::FromHandle(header->hwndFrom)) {
          LRESULT result = 0;
          if (control->OnNotify(*header, result)) return result;
        }
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(lp))) {
        if (HBRUSH brush = control->OnCtlColor(reinterpret_cast<HDC>(wp))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_TIMER:
      for (Timer* timer : timers_) {
        if (timer->id_ == wp) {
          timer->Fire();
          return 0;
        }
      }
      break;
    default:
      break;
  }
  return HandleMessage(msg, wp, lp);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      // Timers enabled before the handle existed start now.
      for (Timer* timer : self->timers_) timer->Apply();
    }
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  // The handlers lay the window out for the DPI the message brings.
  if (msg == WM_DPICHANGED) self->dpi_ = HIWORD(wp);

  LRESULT result = 0;
  try {
    result = self->Dispatch(msg, wp, lp);
  } catch (...) {
    ReportCurrentException();
    result = DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    // The system has removed the window's timers with it.
    for (Timer* timer : self->timers_) timer->running_ = false;
  }
  return result;
}

}  // namespace mirovane::ui
