// Helpers of the Win32 tests: message pumping, window text, control look-up, WM_SETTEXT counting.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace mirovane::testing {

// The visible modal form of this process (class "MirovaneForm"), waited for up to half a minute;
// for a user thread that drives a form whose modal loop runs on the test's thread.
inline HWND FindOwnForm() {
  for (int i = 0; i < 1500; ++i) {
    const HWND w = FindWindowW(L"MirovaneForm", nullptr);
    if (w && IsWindowVisible(w)) return w;
    Sleep(20);
  }
  return nullptr;
}

// Dispatches this thread's messages for `duration` (WM_QUIT included: it is consumed).
inline void PumpMessagesFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    if (left.count() <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
  }
}

// Real mouse input: a move to `screen` and `clicks` left clicks there, queued as one sequence so
// that no click can arrive before the pointer is in place.
inline void ClickAt(POINT screen, int clicks = 1) {
  INPUT in[5]{};
  const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
  const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
  in[0].type = INPUT_MOUSE;
  in[0].mi.dx = MulDiv(screen.x, 65535, width > 0 ? width : 1);
  in[0].mi.dy = MulDiv(screen.y, 65535, height > 0 ? height : 1);
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  UINT n = 1;
  for (int i = 0; i < clicks && n + 2 <= 5; ++i) {
    in[n].type = in[n + 1].type = INPUT_MOUSE;
    in[n].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[n + 1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    n += 2;
  }
  SendInput(n, in, sizeof(INPUT));
}

// A quick right click at `screen` (press and release), as real input.
inline void RightClickAt(POINT screen) {
  INPUT in[3]{};
  in[0].type = in[1].type = in[2].type = INPUT_MOUSE;
  in[0].mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in[0].mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  in[2].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(3, in, sizeof(INPUT));
}

// The centre of `hwnd` in screen coordinates.
inline POINT CentreOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Real key input: presses the keys in order and releases them in reverse (a chord such as
// {VK_MENU, 'S'}, or one key).
inline void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> in;
  for (WORD k : keys) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    in.push_back(i);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = *--it;
    i.ki.dwFlags = KEYEVENTF_KEYUP;
    in.push_back(i);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// Presses `key` `times` times, one press after the other.
inline void PressKeyTimes(WORD key, int times) {
  for (int i = 0; i < times; ++i) PressKeys({key});
}

// Waits without pumping messages until `condition` holds or `timeout` has passed (for a user
// thread whose window runs elsewhere); returns the condition's last value.
inline bool WaitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return condition();
    Sleep(20);
  }
  return true;
}

// The window with the keyboard focus in `thread` (of any process).
inline HWND FocusOf(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(thread, &info);
  return info.hwndFocus;
}

// Removes a pending WM_QUIT; returns whether there was one.
inline bool TakeQuitMessage() {
  MSG msg;
  return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

inline std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[512] = {};
  const int n = GetWindowTextW(hwnd, buffer, 512);
  return std::wstring(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

inline std::wstring ClassName(HWND hwnd) {
  wchar_t buffer[256] = {};
  const int n = GetClassNameW(hwnd, buffer, 256);
  return std::wstring(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

// The descendant of `root` with the control id `id` (any depth), or null.
inline HWND FindDescendantById(HWND root, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      root,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (GetDlgCtrlID(hwnd) == s->id) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Counts the WM_SETTEXT messages a window receives while the counter lives.
class SetTextCounter {
 public:
  explicit SetTextCounter(HWND hwnd) : hwnd_(hwnd) {
    SetWindowSubclass(hwnd_, &Proc, kId, reinterpret_cast<DWORD_PTR>(this));
  }
  ~SetTextCounter() {
    if (IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, &Proc, kId);
  }
  SetTextCounter(const SetTextCounter&) = delete;
  SetTextCounter& operator=(const SetTextCounter&) = delete;

  int count() const { return count_; }

 private:
  static constexpr UINT_PTR kId = 0x7E57;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    if (msg == WM_SETTEXT) ++reinterpret_cast<SetTextCounter*>(ref)->count_;
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  HWND hwnd_;
  int count_ = 0;
};

}  // namespace mirovane::testing
