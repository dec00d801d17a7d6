#include "alarms/alarm_line.h"

#include <limits>

#include "platform/codec.h"

namespace mirovane {

// Bytes `first`..`first + count - 1` (1-based) of the line; bytes past its end read as empty.
std::string_view LinePiece(std::string_view line, std::size_t first, std::size_t count) noexcept {
  const std::size_t start = first - 1;
  if (start >= line.size()) return {};
  return line.substr(start, count);
}

bool StrictAlarmNumber(std::string_view s, int& value) noexcept {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  if (i == s.size()) return false;
  int v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    const int digit = s[i] - '0';
    if (v > (std::numeric_limits<int>::max() - digit) / 10) return false;
    v = v * 10 + digit;
  }
  value = negative ? -v : v;
  return true;
}

// Band codes of the time field, compared as cp932 bytes.
std::uint16_t AlarmBandOf(std::string_view code) {
  static const std::string kCodes[] = {Utf8ToCp932("前"), Utf8ToCp932("後"), Utf8ToCp932("昼"),
                                       Utf8ToCp932("夜")};
  for (std::uint16_t i = 0; i < 4; ++i) {
    if (code == kCodes[i]) return static_cast<std::uint16_t>(i + 1);
  }
  return kBandNone;
}

namespace {

int NumberOrZero(std::string_view s) noexcept {
  int v = 0;
  return StrictAlarmNumber(s, v) ? v : 0;
}

// The 16-bit fields keep the low 16 bits: -1 is stored as 65535.
std::uint16_t Field(int v) noexcept { return static_cast<std::uint16_t>(v); }

}  // namespace

bool ParseAlarmLine(std::string_view line, AlarmEntry& entry) {
  const double due = entry.Due;
  entry = AlarmEntry{};
  entry.Due = due;

  using namespace alarm_column;
  entry.Active = LinePiece(line, kState) == "*";
  if (!entry.Active) return true;

  int n = 0;
  entry.DayFlag = LinePiece(line, kDayFlag) == "*";
  if (LinePiece(line, kWeekdayOpen) != "[") {
    if (LinePiece(line, kDay) == "xx") {
      entry.DateKind = kDateDaily;
    } else {
      if (!StrictAlarmNumber(LinePiece(line, kDay), n)) return false;
      entry.Day = Field(n);
      if (LinePiece(line, kMonth) == "xx") {
        entry.DateKind = kDateMonthly;
      } else {
        if (!StrictAlarmNumber(LinePiece(line, kMonth), n)) return false;
        entry.Month = Field(n);
        if (LinePiece(line, kYear) == "xxxx") {
          entry.DateKind = kDateYearly;
        } else {
          if (!StrictAlarmNumber(LinePiece(line, kYear), n)) return false;
          entry.Year = Field(n);
          entry.DateKind = kDateSpecific;
        }
      }
    }
  } else {
    if (!StrictAlarmNumber(LinePiece(line, kWeekdayCode), n)) return false;
    entry.Day = Field(n);
    entry.DateKind = kDateWeekday;
  }

  entry.StartupFlag = LinePiece(line, kStartupFlag) == "*";
  if (LinePiece(line, kColon) != ":") {
    entry.HourOrBand = AlarmBandOf(LinePiece(line, kBand));
    if (LinePiece(line, kStartMark) != "S") {
      entry.TimeKind = kTimeEveryNMinutes;
      const int period = NumberOrZero(LinePiece(line, kPeriod));
      entry.Minutes = Field(period == 0 ? 1 : period);
    } else {
      entry.TimeKind = kTimeStartupOnly;
      if (LinePiece(line, kDelay) != "ta")
        entry.Minutes = Field(NumberOrZero(LinePiece(line, kDelay)));
    }
  } else {
    if (!StrictAlarmNumber(LinePiece(line, kMinute), n)) return false;
    entry.Minutes = Field(n);
    entry.TimeKind = kTimeEveryHour;
    const std::string_view hour = LinePiece(line, kHour);
    if (hour != "xx") {
      entry.HourOrBand = AlarmBandOf(hour);
      if (entry.HourOrBand == kBandNone) {
        if (!StrictAlarmNumber(hour, n)) return false;
        entry.HourOrBand = Field(n);
        entry.TimeKind = kTimeOfDay;
      }
    }
  }
  return true;
}

std::vector<std::string> SplitAlarmLines(std::string_view contents) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < contents.size()) {
    const char c = contents[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(contents.substr(start, i - start));
      i += (c == '\r' && i + 1 < contents.size() && contents[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < contents.size()) lines.emplace_back(contents.substr(start));
  return lines;
}

std::string JoinAlarmLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

ReadStatus ReadAlarmLines(const std::filesystem::path& path, std::vector<std::string>& lines) {
  std::string contents;
  const ReadStatus status = ReadWholeFile(path, contents);
  lines = status == ReadStatus::Ok ? SplitAlarmLines(contents) : std::vector<std::string>{};
  return status;
}

bool WriteAlarmLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                     std::string* error) {
  return WriteWholeFileAtomic(path, JoinAlarmLines(lines), error);
}

std::size_t FindMarker(std::string_view text, std::string_view marker, std::size_t from) noexcept {
  if (marker.empty()) return from <= text.size() ? from : std::string_view::npos;
  std::size_t i = from;
  while (i < text.size()) {
    if (text.compare(i, marker.size(), marker) == 0) return i;
    i += IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  }
  return std::string_view::npos;
}

}  // namespace mirovane
