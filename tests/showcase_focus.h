// For the showcases' screenshots: gives the keyboard focus to the first spin edit (an edit with
// up-down arrows inside) of the first visible form, with its number selected, once the form shows.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace mirovane::showcase {

inline HWND FirstSpinEdit(HWND parent) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    if (FindWindowExW(child, nullptr, UPDOWN_CLASSW, nullptr)) return child;
    if (const HWND inner = FirstSpinEdit(child)) return inner;
  }
  return nullptr;
}

inline void CALLBACK FocusFirstSpinEdit(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND form = FindWindowW(L"MirovaneForm", nullptr);
  if (!form || !IsWindowVisible(form)) return;
  KillTimer(nullptr, timer);
  if (const HWND spin = FirstSpinEdit(form)) {
    SetFocus(spin);
    SendMessageW(spin, EM_SETSEL, 0, -1);
  }
}

// Starts the timer that focuses the spin edit (the form is looked for every 200 ms).
inline void FocusFirstSpinEditOnceShown() { SetTimer(nullptr, 0, 200, FocusFirstSpinEdit); }

}  // namespace mirovane::showcase
