// The one modal message window of the program: alarm messages, the alarm subsystem's errors, the
// about box and the readme error all use it.
#pragma once

#include <windows.h>

#include <string_view>

namespace mirovane {

inline constexpr wchar_t kMessageWindowClass[] = L"MirovaneMessageWindow";

// Control identifiers inside the message window; "OK" is IDOK.
enum MessageWindowControlId : int {
  kMessageIconId = 100,     // a static icon control, absent for the plain kind
  kMessageTextId = 101,     // a STATIC; a read-only multi-line EDIT when the text must scroll
  kMessageConfirmId = 102,  // "確認(&C)"
};

// Shows cp932 `text` (CR LF between lines) in a topmost modal window with the icon and caption of
// `kind` (0 warning, 1 error, 2 information, 3 question, 4 plain), an "OK" button and, when
// `withConfirm`, a "確認(&C)" button to its right; sounds the kind's MessageBeep when `beep`.
// Enter and Esc press "OK". The window lies inside the work area of its monitor: a text too tall
// for it scrolls (a vertical scroll bar, the arrow and page keys, the mouse wheel). The window
// keeps dispatching the thread's other messages, so timers go on ticking; `owner` (may be null)
// is disabled meanwhile. Returns true only when the window was closed with "確認(&C)".
bool ShowMessageWindow(HWND owner, std::string_view text, int kind, bool withConfirm, bool beep);

}  // namespace mirovane
