#include "alarms/alarm_line.h"

#include "platform/codec.h"

namespace mirovane {

namespace {

// Bytes `first`..`first + count - 1` (1-based) of the line; bytes past its end read as empty,
// so a short piece at the end of a line is shorter than `count`.
std::string_view Piece(std::string_view line, std::size_t first, std::size_t count) noexcept {
  const std::size_t start = first - 1;
  if (start >= line.size()) return {};
  return line.substr(start, count);
}

// Strict conversion: leading blanks, an optional sign, at least one digit and nothing else.
bool StrictNumber(std::string_view s, int& value) noexcept {
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
    v = v * 10 + (s[i] - '0');  // pieces are at most four bytes: no overflow
  }
  value = negative ? -v : v;
  return true;
}

int NumberOrZero(std::string_view s) noexcept {
  int v = 0;
  return StrictNumber(s, v) ? v : 0;
}

// The 16-bit fields keep the low 16 bits: -1 is stored as 65535.
std::uint16_t Field(int v) noexcept { return static_cast<std::uint16_t>(v); }

// Band codes of the time field, compared as cp932 bytes.
std::uint16_t BandOf(std::string_view code) {
  static const std::string kCodes[] = {Utf8ToCp932("前"), Utf8ToCp932("後"), Utf8ToCp932("昼"),
                                       Utf8ToCp932("夜")};
  for (std::uint16_t i = 0; i < 4; ++i) {
    if (code == kCodes[i]) return static_cast<std::uint16_t>(i + 1);
  }
  return kBandNone;
}

}  // namespace

bool ParseAlarmLine(std::string_view line, AlarmEntry& entry) {
  const double due = entry.Due;
  entry = AlarmEntry{};
  entry.Due = due;

  entry.Active = Piece(line, 1, 1) == "*";
  if (!entry.Active) return true;

  int n = 0;
  entry.DayFlag = Piece(line, 12, 1) == "*";
  if (Piece(line, 2, 1) != "[") {
    if (Piece(line, 10, 2) == "xx") {
      entry.DateKind = kDateDaily;
    } else {
      if (!StrictNumber(Piece(line, 10, 2), n)) return false;
      entry.Day = Field(n);
      if (Piece(line, 7, 2) == "xx") {
        entry.DateKind = kDateMonthly;
      } else {
        if (!StrictNumber(Piece(line, 7, 2), n)) return false;
        entry.Month = Field(n);
        if (Piece(line, 2, 4) == "xxxx") {
          entry.DateKind = kDateYearly;
        } else {
          if (!StrictNumber(Piece(line, 2, 4), n)) return false;
          entry.Year = Field(n);
          entry.DateKind = kDateSpecific;
        }
      }
    }
  } else {
    if (!StrictNumber(Piece(line, 3, 1), n)) return false;
    entry.Day = Field(n);
    entry.DateKind = kDateWeekday;
  }

  entry.StartupFlag = Piece(line, 18, 1) == "*";
  if (Piece(line, 15, 1) != ":") {
    entry.HourOrBand = BandOf(Piece(line, 16, 2));
    if (Piece(line, 13, 1) != "S") {
      entry.TimeKind = kTimeEveryNMinutes;
      const int period = NumberOrZero(Piece(line, 13, 3));
      entry.Minutes = Field(period == 0 ? 1 : period);
    } else {
      entry.TimeKind = kTimeStartupOnly;
      if (Piece(line, 14, 2) != "ta") entry.Minutes = Field(NumberOrZero(Piece(line, 14, 2)));
    }
  } else {
    if (!StrictNumber(Piece(line, 16, 2), n)) return false;
    entry.Minutes = Field(n);
    entry.TimeKind = kTimeEveryHour;
    const std::string_view hour = Piece(line, 13, 2);
    if (hour != "xx") {
      entry.HourOrBand = BandOf(hour);
      if (entry.HourOrBand == kBandNone) {
        if (!StrictNumber(hour, n)) return false;
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
