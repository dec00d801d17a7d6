#include "ui/shell.h"

#include <objbase.h>

#include "ui/system_library.h"

namespace mirovane::ui {
namespace {

constexpr wchar_t kShell32[] = L"shell32.dll";
constexpr wchar_t kOle32[] = L"ole32.dll";

bool apartmentEntered = false;

void EnterApartment() {
  static bool tried = false;
  if (tried) return;
  tried = true;
  auto* const initialize = SystemFunction<HRESULT WINAPI(void*, DWORD)>(kOle32, "CoInitializeEx");
  if (!initialize) return;
  // S_FALSE (already an apartment of this kind) must be balanced too.
  apartmentEntered =
      SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

}  // namespace

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
  static auto* const function =
      SystemFunction<BOOL WINAPI(DWORD, NOTIFYICONDATAW*)>(kShell32, "Shell_NotifyIconW");
  return function ? function(message, data) : FALSE;
}

BOOL OpenByShell(SHELLEXECUTEINFOW* info) {
  static auto* const function =
      SystemFunction<BOOL WINAPI(SHELLEXECUTEINFOW*)>(kShell32, "ShellExecuteExW");
  EnterApartment();
  return function ? function(info) : FALSE;
}

HINSTANCE OpenByShell(HWND owner, const wchar_t* verb, const wchar_t* file,
                      const wchar_t* parameters, const wchar_t* directory, int show) {
  static auto* const function =
      SystemFunction<HINSTANCE WINAPI(HWND, const wchar_t*, const wchar_t*, const wchar_t*,
                                      const wchar_t*, int)>(kShell32, "ShellExecuteW");
  EnterApartment();
  return function ? function(owner, verb, file, parameters, directory, show) : nullptr;
}

void LeaveShellApartment() {
  if (!apartmentEntered) return;
  apartmentEntered = false;
  if (auto* const uninitialize = SystemFunction<void WINAPI()>(kOle32, "CoUninitialize")) {
    uninitialize();
  }
}

}  // namespace mirovane::ui
