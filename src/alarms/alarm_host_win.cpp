#include "alarms/alarm_host_win.h"

#include <shellapi.h>

#include <string>

#include "alarms/message_window_win.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "ui/shell.h"

namespace mirovane {

bool FileExistsCp932(std::string_view path) {
  return !path.empty() && IsExistingFile(Cp932ToWide(path));
}

bool ShellOpenFile(std::string_view file, std::string_view parameters) {
  const std::wstring wideFile = Cp932ToWide(file);
  const std::wstring wideParameters = Cp932ToWide(parameters);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // The call returns once the program was started. A file the shell cannot open is reported by
  // the shell itself (no associated program, access denied).
  info.fMask = SEE_MASK_NOASYNC;
  info.hwnd = nullptr;
  info.lpVerb = L"open";
  info.lpFile = wideFile.c_str();
  info.lpParameters = wideParameters.empty() ? nullptr : wideParameters.c_str();
  info.lpDirectory = nullptr;
  info.nShow = SW_SHOWNORMAL;
  return ui::OpenByShell(&info) != FALSE;
}

bool StartProgramFile(std::string_view path, std::string_view commandLine) {
  const std::wstring widePath = Cp932ToWide(path);
  std::wstring wideLine = Cp932ToWide(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(widePath.c_str(), wideLine.data(), nullptr, nullptr, FALSE,
                      CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool WinAlarmHost::ShowMessageWindow(std::string_view text, int kind, bool withConfirm, bool beep) {
  if (beforeMessage) beforeMessage();
  return mirovane::ShowMessageWindow(owner, text, kind, withConfirm, beep);
}

}  // namespace mirovane
