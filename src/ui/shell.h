// The shell's notification-area icon and its "open", with shell32 loaded on first use (see
// system_library.h). NotifyIcon is Shell_NotifyIconW, and the two OpenByShell are ShellExecuteExW
// and ShellExecuteW: each takes and returns what that function does, and fails (FALSE, or a null
// result) if the library cannot be loaded.
#pragma once

#include <windows.h>

#include <shellapi.h>

namespace mirovane::ui {

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW* data);

// The shell may hand a document to a COM-based handler: before the first of these calls the
// thread becomes a single-threaded apartment, as the shell expects of its callers.
BOOL OpenByShell(SHELLEXECUTEINFOW* info);
HINSTANCE OpenByShell(HWND owner, const wchar_t* verb, const wchar_t* file,
                      const wchar_t* parameters, const wchar_t* directory, int show);

// Leaves the apartment if one of the calls above entered it; once, at the end of the program.
void LeaveShellApartment();

}  // namespace mirovane::ui
