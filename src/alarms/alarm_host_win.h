// The alarm engine's window system on Win32: the message window, MessageBeep, the shell and the
// file-exists test are complete here; the main window plugs in its own parts (its state before a
// message shows, Timer4 and the alarm list dialog) through the hooks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string_view>

#include "alarms/alarm_engine.h"

namespace mirovane {

// Whether cp932 `path` names an existing file (not a folder).
bool FileExistsCp932(std::string_view path);

// The shell's "open" of cp932 `file` with `parameters` (empty: none), no owner window, shown
// normally; the shell reports its own failures. True when the shell started it.
bool ShellOpenFile(std::string_view file, std::string_view parameters);
// CreateProcessW of exactly `path` (cp932) with `commandLine`, shown normally, in the program's
// current folder; no search and no variables read. True when it started.
bool StartProgramFile(std::string_view path, std::string_view commandLine);

class WinAlarmHost final : public AlarmHost {
 public:
  // Owner of the message window (the main window), or null.
  HWND owner = nullptr;
  // Runs before every message window shows (the main window resets its hide countdown and tray
  // state there when it is visible).
  std::function<void()> beforeMessage;
  // Timer4: (false, 0) disables it; (true, ms) sets the interval and enables it anew.
  std::function<void(bool enabled, unsigned intervalMs)> alarmTimer;
  // The alarm list dialog; without it OpenAlarmList shows nothing and gives "Cancel".
  std::function<int(std::uint8_t selectIndex)> alarmListDialog;

  bool ShowMessageWindow(std::string_view text, int kind, bool withConfirm, bool beep) override;
  bool FileExists(std::string_view path) override { return FileExistsCp932(path); }
  void SoundBeep(unsigned type) override { MessageBeep(type); }
  bool ShellOpen(std::string_view file, std::string_view parameters) override {
    return ShellOpenFile(file, parameters);
  }
  bool StartProgram(std::string_view path, std::string_view commandLine) override {
    return StartProgramFile(path, commandLine);
  }
  void SetAlarmTimer(bool enabled, unsigned intervalMs) override {
    if (alarmTimer) alarmTimer(enabled, intervalMs);
  }
  int ShowAlarmListDialog(std::uint8_t selectIndex) override {
    return alarmListDialog ? alarmListDialog(selectIndex) : kModalCancel;
  }
};

}  // namespace mirovane
