// The shell's notification-area icon and its "open", with shell32 loaded on first use (see
// system_library.h). The functions take and return what the system functions of the same names
// do, and fail (FALSE, or a result of 0 for ShellExecuteW) if the library cannot be loaded.
#pragma once

#include <windows.h>

#include <shellapi.h>

namespace mirovane::ui {

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW* data);

// The shell may hand a document to a COM-based handler: before the first of these calls the
// thread becomes a single-threaded apartment, as the shell expects of its callers.
BOOL ShellExecuteEx(SHELLEXECUTEINFOW* info);
HINSTANCE ShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file,
                       const wchar_t* parameters, const wchar_t* directory, int show);

// Leaves the apartment if one of the calls above entered it; once, at the end of the program.
void LeaveShellApartment();

}  // namespace mirovane::ui
