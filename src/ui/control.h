// Base of the wrappers around native controls (STATIC, SysMonthCalendar32, ...). The control is
// subclassed so that its wrapper sees its messages and learns when its parent destroyed it; the
// parent Window routes WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR* back to the wrapper that sent them.
// The subclass replaces the window procedure directly and keeps the wrapper in GWLP_USERDATA (which
// the system classes leave to the application): every look-up stays inside the process, where a
// window property or the common-controls subclass chain would cost a trip to the window server
// under Wine on each message — tens of microseconds per label update.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "ui/window.h"

namespace mirovane::ui {

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  HWND Handle() const noexcept { return hwnd_; }
  int Id() const noexcept { return hwnd_ ? GetDlgCtrlID(hwnd_) : 0; }
  static Control* FromHandle(HWND hwnd) noexcept;

  bool Visible() const noexcept { return hwnd_ && HasVisibleStyle(hwnd_); }
  void SetVisible(bool visible) noexcept {
    if (hwnd_) ShowOrHide(hwnd_, visible);
  }
  RECT Bounds() const noexcept { return BoundsOf(hwnd_); }
  void SetBounds(int x, int y, int width, int height) noexcept {
    MoveTo(hwnd_, x, y, width, height);
  }

  void SetFont(HFONT font) noexcept;
  HFONT Font() const noexcept { return font_; }

  // Mouse input on the control itself (client coordinates of the control).
  std::function<void(const MouseEvent&)> onMouseDown;
  std::function<void(const MouseEvent&)> onMouseMove;
  std::function<void(const MouseEvent&)> onMouseUp;

 protected:
  Control() = default;

  // Creates the control as a child of `parent` (WS_CHILD is added) and subclasses it.
  void CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                    HWND parent, int id);

  // Notifications routed by the parent; return true when handled.
  virtual bool OnCommand(WORD /*code*/) { return false; }
  virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  // The brush for WM_CTLCOLOR*; null leaves the default colours.
  virtual HBRUSH OnCtlColor(HDC /*dc*/) { return nullptr; }
  // Messages sent to the control itself before its own procedure; true when handled.
  virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // The control's own handling of a message (the procedure the subclass replaced).
  LRESULT CallOriginal(UINT msg, WPARAM wp, LPARAM lp) {
    return CallWindowProcW(previous_, hwnd_, msg, wp, lp);
  }

 private:
  friend class Window;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Detach() noexcept;
  HWND hwnd_ = nullptr;
  WNDPROC previous_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace mirovane::ui

namespace mirovane::ui {

// A native control that needs no wrapper of its own, created by its class name.
class GenericControl : public Control {
 public:
  GenericControl() = default;
  void Create(DWORD exStyle, const wchar_t* className, DWORD style, HWND parent, int id) {
    CreateHandle(exStyle, className, L"", style, parent, id);
  }
};

}  // namespace mirovane::ui
