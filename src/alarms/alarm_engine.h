// The alarm engine: loads the alarm entries, computes every entry's next due moment, keeps the
// earliest as the pending alarm and fires it from the alarm tick (Timer4).
//
// The engine never reads the system clock: "now" is the date-time record its owner hands it (the
// main window its displayed record, which the display refresh keeps at the local time); the
// engine only reads it. It reaches the screen, the shell and the alarm timer only through
// AlarmHost, so every rule runs natively with a fake clock and a recording host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "alarms/alarm_action.h"
#include "alarms/alarm_line.h"
#include "format/datetime.h"

namespace mirovane {

// Larger than any due moment: 9999-12-31 23:59:59.136.
inline constexpr double kNoAlarmMoment = 2958465.99999;
inline constexpr std::uint8_t kNoAlarmIndex = 255;

// Modal results of the alarm list dialog.
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

// What the engine needs from the window system. Texts are cp932.
class AlarmHost {
 public:
  virtual ~AlarmHost() = default;

  // The modal, topmost message window; true only when it was closed with "確認(&C)".
  virtual bool ShowMessageWindow(std::string_view text, int kind, bool withConfirm, bool beep) = 0;
  virtual bool FileExists(std::string_view path) = 0;
  // MessageBeep with one of the MB_ sound values.
  virtual void SoundBeep(unsigned type) = 0;
  // The shell's "open" of `file` with `parameters` (empty: none), no owner, shown normally.
  virtual bool ShellOpen(std::string_view file, std::string_view parameters) = 0;
  // Starts the program at exactly `path` (no search, no variables read) with the whole
  // `commandLine`, shown normally; for a path the shell would rewrite.
  virtual bool StartProgram(std::string_view /*path*/, std::string_view /*commandLine*/) {
    return false;
  }
  // Timer4: disabled, or enabled with a new interval (enabling restarts the period).
  virtual void SetAlarmTimer(bool enabled, unsigned intervalMs) = 0;
  // Shows the alarm list dialog modally with entry `selectIndex` selected (the first entry when
  // the index is not below the entry count) and returns its modal result.
  virtual int ShowAlarmListDialog(std::uint8_t /*selectIndex*/) { return kModalCancel; }
};

// How a loaded entry stands, for tools that show the list.
enum class AlarmEntryState { Active, Paused, Inactive, ParseError, DueError };

class AlarmEngine {
 public:
  // `busyFlag` is the main window's re-entrancy guard; `now` the current date-time record.
  AlarmEngine(AlarmHost& host, bool& busyFlag, const DateTimeRecord& now);

  void SetAlarmListPath(std::filesystem::path path) { listPath_ = std::move(path); }
  const std::filesystem::path& AlarmListPath() const noexcept { return listPath_; }
  // The check interval in seconds (Timer4's Tag, the AlarmChk setting); below 1 means 500 ms.
  void SetCheckInterval(int seconds) noexcept { checkInterval_ = seconds; }
  int CheckInterval() const noexcept { return checkInterval_; }

  // Rebuilds the entries from the alarm list file and computes every active entry's due
  // moment; `atStartup` only for the one load at window creation. Returns false when the file
  // exists but could not be read or is too large to read (reported to the user; the list is then
  // empty).
  bool LoadAlarms(bool atStartup);
  // The same from lines already read.
  void LoadAlarmLines(const std::vector<std::string>& lines, bool atStartup);

  // Computes Due of entry `index` (and may make it inactive; errors are reported).
  void ComputeNextDue(std::size_t index, bool atStartup);
  // The clock comparison: on now's day by hour and minute (the same minute gives
  // `sameMinuteCounts`), on other days by value.
  bool IsPast(double moment, bool sameMinuteCounts) const noexcept;
  // Chooses the pending alarm when `recompute` and restarts Timer4 with the check interval, or
  // 500 ms while the pending alarm is due.
  void SelectNextAlarm(bool recompute);
  // The alarm tick: fires the pending alarm once it is due.
  void Timer4Timer();
  // Opens the alarm list dialog; on its save result the list is reloaded and the next alarm
  // chosen. Returns the dialog's modal result.
  int OpenAlarmList();
  // Carries out the pending alarm's action, reading its line from the file again (a file that is
  // gone, unreadable or too large is reported instead); true when the user pressed the confirm
  // button of its message.
  bool PerformAlarm();

  const std::vector<AlarmEntry>& Entries() const noexcept { return entries_; }
  AlarmEntryState EntryState(std::size_t index) const noexcept;
  std::uint8_t NextAlarmIndex() const noexcept { return nextIndex_; }
  double NextAlarmDue() const noexcept { return nextDue_; }

 private:
  void Report(const std::string& text);

  AlarmHost& host_;
  bool& busy_;
  const DateTimeRecord& now_;
  std::filesystem::path listPath_;
  int checkInterval_ = 5;
  std::vector<AlarmEntry> entries_;
  std::vector<AlarmEntryState> states_;  // parse and due failures, paused lines
  std::uint8_t nextIndex_ = kNoAlarmIndex;
  double nextDue_ = kNoAlarmMoment;
};

// Carries out the action of one alarm line: shows its message (with the confirm button) or opens
// its file with the shell. True when the user pressed the confirm button.
bool PerformAlarmLine(std::string_view line, AlarmHost& host);

}  // namespace mirovane
