// Window base of the toolkit. A Window object owns its HWND: the static window procedure stores
// `this` at WM_NCCREATE, forwards every message to the virtual HandleMessage and forgets the
// handle at WM_NCDESTROY (a child destroyed together with its parent leaves its object empty).
// No exception leaves a window procedure: they are caught at the boundary and reported.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace mirovane::ui {

class Timer;

// Receives the text of an exception caught at a window-procedure boundary (the default writes it
// to the debugger output). Call ReportCurrentException only inside a catch block.
void SetExceptionReporter(std::function<void(const char* what)> reporter);
void ReportCurrentException() noexcept;

HINSTANCE ModuleInstance() noexcept;

// Helpers shared by Window and Control, all on the window's own state (not its ancestors').
bool HasVisibleStyle(HWND hwnd) noexcept;
void ShowOrHide(HWND hwnd, bool visible) noexcept;
// Position relative to the parent's client area (screen position for a top-level window).
RECT BoundsOf(HWND hwnd) noexcept;
void MoveTo(HWND hwnd, int x, int y, int width, int height) noexcept;
// Makes a top-level window layered with a colour key and/or a constant alpha, or, with neither,
// an ordinary window again (a layered window without attributes would not be drawn).
void SetLayered(HWND hwnd, bool colorKey, COLORREF key, bool alpha, BYTE alphaValue) noexcept;

enum class MouseButton { Left, Right, Middle };

struct MouseEvent {
  MouseButton button = MouseButton::Left;  // the button pressed or released (Left for moves)
  WPARAM keys = 0;                         // MK_* flags of the message
  int x = 0;                               // client coordinates of the window that got it
  int y = 0;
};

enum class MouseAction { None, Down, Move, Up, DoubleClick };
// Classifies a client-area mouse message and fills `event` (None for any other message).
MouseAction ReadMouseMessage(UINT msg, WPARAM wp, LPARAM lp, MouseEvent& event) noexcept;

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const noexcept { return hwnd_; }
  static Window* FromHandle(HWND hwnd) noexcept;

  // Destroys the window while this object still receives its messages. A class that reacts to
  // WM_DESTROY calls this in its own destructor: the base destructor detaches before destroying.
  void Destroy() noexcept;

  bool Visible() const noexcept { return hwnd_ && HasVisibleStyle(hwnd_); }
  void SetVisible(bool visible) noexcept {
    if (hwnd_) ShowOrHide(hwnd_, visible);
  }
  RECT Bounds() const noexcept { return BoundsOf(hwnd_); }
  void SetBounds(int x, int y, int width, int height) noexcept {
    MoveTo(hwnd_, x, y, width, height);
  }
  // The DPI the window is laid out for: the one its monitor has, or the last one a WM_DPICHANGED
  // gave it.
  UINT Dpi() const noexcept;

 protected:
  Window() = default;

  // Registers `wc` with this toolkit's window procedure unless a class of that name exists.
  static void RegisterClassOnce(WNDCLASSEXW wc);
  // The same for a class in the look of a dialog: arrow cursor, button-face background.
  static void RegisterDialogClass(const wchar_t* name);
  // Leaves only "Move" and "Close" in the system menu: the frame shows a close box alone.
  void KeepOnlyMoveAndClose() noexcept;
  // CreateWindowExW with this object as the creation parameter; throws on failure.
  HWND CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND parent, UINT_PTR idOrMenu);

  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultHandling(UINT msg, WPARAM wp, LPARAM lp) noexcept;

 private:
  friend class Timer;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  UINT dpi_ = 0;  // from the last WM_DPICHANGED; 0 = ask the system
  std::vector<Timer*> timers_;
  UINT_PTR nextTimerId_ = 1;
};

}  // namespace mirovane::ui
