// The alarm list file and its fixed-column lines.
//
// The file lies beside the executable (its path with the extension ".txt"), holds one alarm per
// line in cp932 and is always read and written whole. Byte positions below are 1-based:
//
//   1       state: '*' active, anything else paused
//   2-12    date field   ("2024/05/06 ", "xxxx/02/29*", "xxxx/xx/31*", "xxxx/xx/xx ",
//                          "[7]:平日   ")
//   13-18   time field   ("07:30 ", "後:00 ", "030昼 ", "015分*", "Start ", "S05rt ")
//   19      a blank
//   20-22   action kind  ("Msg", "Inf", "Que", "War", "Err", "Exe")
//   23      beep flag    ('$' beep, ':' none)
//   24-     action text  (message with "\n" between lines, or path "::" command line)
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace mirovane {

// The engine loads at most this many lines (indexes 0..250); later lines stay in the file.
inline constexpr std::size_t kMaxAlarmEntries = 251;

enum AlarmDateKind : std::uint8_t {
  kDateSpecific = 0,
  kDateYearly = 1,
  kDateMonthly = 2,
  kDateDaily = 3,
  kDateWeekday = 4,
};

enum AlarmTimeKind : std::uint8_t {
  kTimeOfDay = 0,
  kTimeEveryHour = 1,
  kTimeEveryNMinutes = 2,
  kTimeStartupOnly = 4,
};

// Hour bands of the hourly, every-N-minutes and start-up kinds.
enum AlarmBand : std::uint16_t {
  kBandNone = 0,
  kBandMorning = 1,    // 0-11
  kBandAfternoon = 2,  // 12-23
  kBandDaytime = 3,    // 6-17
  kBandNight = 4,      // 18-23 and 0-5
};

// One loaded alarm. Values are stored as parsed, without range checks: out-of-range values
// surface when the due moment is computed.
struct AlarmEntry {
  double Due = 0.0;  // next moment the alarm fires (date-time value)
  std::uint8_t DateKind = 0;
  std::uint8_t TimeKind = 0;
  std::uint16_t Year = 0;
  std::uint16_t Month = 0;
  std::uint16_t Day = 0;         // day of month, or weekday code 0..9
  std::uint16_t HourOrBand = 0;  // hour for kTimeOfDay, band otherwise
  std::uint16_t Minutes = 0;     // minute, period or start-up delay
  bool Active = false;
  bool DayFlag = false;      // byte 12 '*': leap years only / last day of the month
  bool StartupFlag = false;  // byte 18 '*': every-N-minutes also fires at start-up
};

// Fills every field but Due from `line`. A line whose first byte is not '*' gives an inactive,
// otherwise zero entry and never fails. Returns false on a conversion error (the entry is then
// partly filled; the caller makes it inactive).
bool ParseAlarmLine(std::string_view line, AlarmEntry& entry);

// Splits file contents at CR, LF and CR LF. A final line end does not start another line; line
// ends in a row give empty lines (LF CR counts as two).
std::vector<std::string> SplitAlarmLines(std::string_view contents);
// CR LF after every line; no lines give an empty text.
std::string JoinAlarmLines(const std::vector<std::string>& lines);

// All lines of the file; a missing file is an empty list (status Missing).
ReadStatus ReadAlarmLines(const std::filesystem::path& path, std::vector<std::string>& lines);
// Replaces the whole file (atomically: a failed write leaves the old file as it was).
bool WriteAlarmLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                     std::string* error = nullptr);

// Bytes `first`..`first + count - 1` (1-based) of `line`; bytes past its end read as empty, so a
// short piece at the end of a line is shorter than `count`.
std::string_view LinePiece(std::string_view line, std::size_t first, std::size_t count) noexcept;

// One fixed column of a line: its first byte (1-based, in the file line) and its width.
struct AlarmColumn {
  std::size_t first;
  std::size_t count;
};

// The fixed columns, the one map every reader of a line or an entry text uses (each with its own
// strict or lenient policy). Several share bytes: which one applies follows from the others.
namespace alarm_column {
inline constexpr AlarmColumn kState{1, 1};         // '*' active
inline constexpr AlarmColumn kWeekdayOpen{2, 1};   // '[' of the weekday kind
inline constexpr AlarmColumn kWeekdayCode{3, 1};   // its code 0..9
inline constexpr AlarmColumn kYear{2, 4};          // or "xxxx"
inline constexpr AlarmColumn kMonth{7, 2};         // or "xx"
inline constexpr AlarmColumn kDay{10, 2};          // or "xx"
inline constexpr AlarmColumn kDayFlag{12, 1};      // '*' leap years only / last day
inline constexpr AlarmColumn kHour{13, 2};         // hour, band code or "xx" (with kColon)
inline constexpr AlarmColumn kStartMark{13, 1};    // 'S' of the start-up kind
inline constexpr AlarmColumn kPeriod{13, 3};       // minutes of the every-N-minutes kind
inline constexpr AlarmColumn kDelay{14, 2};        // start-up delay, or "ta" of "Start"
inline constexpr AlarmColumn kColon{15, 1};        // ':' of the time of day and hourly kinds
inline constexpr AlarmColumn kMinute{16, 2};       // minute (with kColon)
inline constexpr AlarmColumn kBand{16, 2};         // band code (without kColon)
inline constexpr AlarmColumn kStartupFlag{18, 1};  // '*' every N minutes and at start-up
inline constexpr AlarmColumn kKind{20, 3};         // "Msg" .. "Exe"
inline constexpr AlarmColumn kBeep{23, 1};         // '$' beep
inline constexpr std::size_t kActionFirst = 24;    // the action text runs from here
}  // namespace alarm_column

// A column of a file line.
inline std::string_view LinePiece(std::string_view line, AlarmColumn column) noexcept {
  return LinePiece(line, column.first, column.count);
}
// The same column of an entry text, which is the line without its state byte.
inline std::string_view EntryPiece(std::string_view entryText, AlarmColumn column) noexcept {
  return LinePiece(entryText, column.first - 1, column.count);
}
// Strict conversion of a piece: leading blanks, an optional sign, at least one digit and nothing
// else. False (and `value` untouched) for anything else, or a number beyond the range of int.
bool StrictAlarmNumber(std::string_view s, int& value) noexcept;
// The band of a two-byte band code ("前" 1, "後" 2, "昼" 3, "夜" 4); anything else is kBandNone.
std::uint16_t AlarmBandOf(std::string_view code);

// Finds `marker` in cp932 `text` from byte `from`, never starting a match on the second byte of
// a double-byte character (表, ソ and 能 end in 0x5C). Returns npos when absent.
std::size_t FindMarker(std::string_view text, std::string_view marker,
                       std::size_t from = 0) noexcept;

}  // namespace mirovane
