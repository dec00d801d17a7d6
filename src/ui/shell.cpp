#include "ui/shell.h"

#include <objbase.h>

#include "ui/system_library.h"

namespace mirovane::ui {
namespace {

// Loaded once and kept for the rest of the process.
HMODULE Shell32Library() {
  static const HMODULE library = LoadLibraryW(L"shell32.dll");
  return library;
}

template <typename Function>
Function* Shell32(const char* name) {
  return LibraryFunction<Function>(Shell32Library(), name);
}

HMODULE Ole32() {
  static const HMODULE library = LoadLibraryW(L"ole32.dll");
  return library;
}

bool apartmentEntered = false;

void EnterApartment() {
  static bool tried = false;
  if (tried) return;
  tried = true;
  auto* const initialize = LibraryFunction<HRESULT WINAPI(void*, DWORD)>(Ole32(), "CoInitializeEx");
  if (!initialize) return;
  // S_FALSE (already an apartment of this kind) must be balanced too.
  apartmentEntered =
      SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

}  // namespace

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
  static auto* const function = Shell32<BOOL WINAPI(DWORD, NOTIFYICONDATAW*)>("Shell_NotifyIconW");
  return function ? function(message, data) : FALSE;
}

BOOL OpenByShell(SHELLEXECUTEINFOW* info) {
  static auto* const function = Shell32<BOOL WINAPI(SHELLEXECUTEINFOW*)>("ShellExecuteExW");
  EnterApartment();
  return function ? function(info) : FALSE;
}

HINSTANCE OpenByShell(HWND owner, const wchar_t* verb, const wchar_t* file,
                      const wchar_t* parameters, const wchar_t* directory, int show) {
  static auto* const function = Shell32<HINSTANCE WINAPI(
      HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, int)>("ShellExecuteW");
  EnterApartment();
  return function ? function(owner, verb, file, parameters, directory, show) : nullptr;
}

void LeaveShellApartment() {
  if (!apartmentEntered) return;
  apartmentEntered = false;
  if (auto* const uninitialize = LibraryFunction<void WINAPI()>(Ole32(), "CoUninitialize")) {
    uninitialize();
  }
}

}  // namespace mirovane::ui
