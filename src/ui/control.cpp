#include "ui/control.h"

#include <system_error>

namespace mirovane::ui {

namespace {
constexpr UINT_PTR kSubclassId = 0x4D69;  // one subclass per control, owned by its wrapper
// The wrapper of a control, found from its handle (GetWindowSubclass is exported by ordinal only).
constexpr wchar_t kWrapperProperty[] = L"Mirovane.Control";
}

Control::~Control() {
  if (hwnd_) {
    const HWND hwnd = hwnd_;
    RemoveWindowSubclass(hwnd, &Control::SubclassProc, kSubclassId);
    RemovePropW(hwnd, kWrapperProperty);
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
  }
}

Control* Control::FromHandle(HWND hwnd) noexcept {
  if (!hwnd) return nullptr;
  // Only windows of this thread: another process's property would be a meaningless pointer.
  if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return nullptr;
  return static_cast<Control*>(GetPropW(hwnd, kWrapperProperty));
}

void Control::SetFont(HFONT font) noexcept {
  font_ = font;
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Control::CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* text,
                           DWORD style, HWND parent, int id) {
  const HWND hwnd = CreateWindowExW(exStyle, className, text, style | WS_CHILD, 0, 0, 0, 0, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    ModuleInstance(), nullptr);
  if (!hwnd) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "CreateWindowExW");
  }
  hwnd_ = hwnd;
  SetPropW(hwnd, kWrapperProperty, this);
  SetWindowSubclass(hwnd, &Control::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
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

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR refData) {
  auto* self = reinterpret_cast<Control*>(refData);
  if (msg == WM_NCDESTROY) {
    // Destroyed with its parent: the wrapper stays behind without a handle.
    RemoveWindowSubclass(hwnd, &Control::SubclassProc, id);
    RemovePropW(hwnd, kWrapperProperty);
    self->hwnd_ = nullptr;
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  try {
    LRESULT result = 0;
    if (self->OnMessage(msg, wp, lp, result)) return result;
  } catch (...) {
    ReportCurrentException();
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace mirovane::ui
