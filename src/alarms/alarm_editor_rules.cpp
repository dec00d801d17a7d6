#include "alarms/alarm_editor_rules.h"

#include <algorithm>

#include "alarms/alarm_action.h"
#include "controls/numeric_edit_rules.h"
#include "platform/codec.h"

namespace mirovane {

namespace {

using namespace alarm_column;

// A column of an entry text.
std::string_view At(std::string_view text, AlarmColumn column) noexcept {
  return EntryPiece(text, column);
}

// A strict number of the piece, or `fallback` when the piece is none.
int NumberOr(std::string_view piece, int fallback) noexcept {
  int value = 0;
  return StrictAlarmNumber(piece, value) ? value : fallback;
}

// The working date and time are 16-bit: they keep the low 16 bits of what they are given.
std::uint16_t Field(int value) noexcept { return static_cast<std::uint16_t>(value); }

// A date the picker can hold: year and month brought into range; a day that is not in its month
// becomes the month's last day.
CivilDate PickerDate(int year, int month, int day) noexcept {
  CivilDate date;
  date.year = std::clamp(year, kEditorMinYear, kEditorMaxYear);
  date.month = std::clamp(month, 1, 12);
  const int last = DaysInMonth(date.year, date.month);
  date.day = day < 1 || day > last ? last : day;
  return date;
}

CivilDate PickerDate(const EditorDate& date) noexcept {
  return PickerDate(date.Year, date.Month, date.Day);
}

// `value` as decimal digits, zero-filled to `width`; `value` is never negative here.
void AppendDigits(std::string& out, int value, std::size_t width) {
  const std::string digits = std::to_string(value);
  if (digits.size() < width) out.append(width - digits.size(), '0');
  out += digits;
}

// The two-byte code of a band, or `none` for band 0 (and for a band the list does not have).
std::string_view BandCode(int band, std::string_view none) {
  static const std::string kCodes[] = {Utf8ToCp932("前"), Utf8ToCp932("後"), Utf8ToCp932("昼"),
                                       Utf8ToCp932("夜")};
  if (band >= kBandMorning && band <= kBandNight) return kCodes[band - 1];
  return none;
}

const std::string& MinuteBandNone() {
  static const std::string code = Utf8ToCp932("分");
  return code;
}

// The pickers' display formats: dtpDateSet by date kind 0..3, dtpTimeSet by time type 0..1.
const std::string& DateFormat(int kind) {
  static const std::string kFormats[] = {
      Utf8ToCp932("yyyy'年'MM'月'dd'日('ddd')'"), Utf8ToCp932("'----年'MM'月'dd'日(--)'"),
      Utf8ToCp932("'----年--月'dd'日(--)'"), Utf8ToCp932("'----年--月--日(--)'")};
  return kFormats[kind];
}

const std::string& TimeFormat(int type) {
  static const std::string kFormats[] = {Utf8ToCp932("HH'時'mm'分'"), Utf8ToCp932("'--時'mm'分'")};
  return kFormats[type];
}

// The 11-byte date field of a weekday code 0..9.
const std::string& WeekdayText(int code) {
  static const std::string kTexts[] = {Utf8ToCp932("[0]:日     "), Utf8ToCp932("[1]:月     "),
                                       Utf8ToCp932("[2]:火     "), Utf8ToCp932("[3]:水     "),
                                       Utf8ToCp932("[4]:木     "), Utf8ToCp932("[5]:金     "),
                                       Utf8ToCp932("[6]:土     "), Utf8ToCp932("[7]:平日   "),
                                       Utf8ToCp932("[8]:週末   "), Utf8ToCp932("[9]:毎日   ")};
  return kTexts[code];
}

inline constexpr int kEveryDayCode = 9;

constexpr std::string_view kMessageKinds[] = {"Msg", "Inf", "Que", "War", "Err"};

// Pieces of `text` between CR LF, CR and LF; a final line end gives a final empty piece.
std::vector<std::string> SplitAtLineEnds(std::string_view text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '\r' || text[i] == '\n') {
      pieces.emplace_back(text.substr(start, i - start));
      i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

// One message line for the file: a line break inside it becomes a "\n" of its own, and a
// double-byte character cut in half at a piece's end is dropped, so its lead byte cannot take the
// backslash of the following "\n" for its second byte.
void AppendMessageLine(std::string& out, std::string_view line, bool& first) {
  for (const std::string& piece : SplitAtLineEnds(line)) {
    if (!first) out += "\\n";
    first = false;
    out += DropIncompleteTrail(piece);
  }
}

// A path or command line for the file: line breaks become blanks (the file is one line an
// alarm), a cut double-byte character at the end is dropped (it would take the first ':' of "::"),
// then the text is trimmed.
std::string OneLine(std::string_view text) {
  std::string line(DropIncompleteTrail(text));
  std::replace(line.begin(), line.end(), '\r', ' ');
  std::replace(line.begin(), line.end(), '\n', ' ');
  return TrimBlanks(line);
}

// Whether the message the lines make ends in an empty piece (a last line that is empty, or one
// that ends in a line break).
bool LastPieceEmpty(const std::vector<std::string>& lines) {
  if (lines.empty()) return false;
  const std::vector<std::string> pieces = SplitAtLineEnds(lines.back());
  return DropIncompleteTrail(pieces.back()).empty();
}

std::vector<std::string> SplitMessage(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t at = FindMarker(text, "\\n", start);
    if (at == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, at - start));
    start = at + 2;
  }
  return lines;
}

void AppendDateField(std::string& out, const AlarmEditorValues& v) {
  switch (v.DateKind) {
    case kDateYearly: {
      const CivilDate d = PickerDate(kEditorYearlyYear, v.Working.Month, v.Working.Day);
      out += "xxxx/";
      AppendDigits(out, d.month, 2);
      out += '/';
      AppendDigits(out, d.day, 2);
      out += v.LeapOnly ? '*' : ' ';
      return;
    }
    case kDateMonthly:
      out += "xxxx/xx/";
      if (v.LastDay) {
        out += "31*";
      } else {
        AppendDigits(out, PickerDate(kEditorYearlyYear, 1, v.Working.Day).day, 2);
        out += ' ';
      }
      return;
    case kDateDaily:
      out += "xxxx/xx/xx ";
      return;
    case kDateWeekday: {
      // A weekday without a row of cmbWeek (a list left without a selection) is written as
      // code 9, every day: the entry keeps a date field and the one meaning that needs no row.
      const bool listed = v.Weekday >= 0 && v.Weekday < kEditorWeekdayRows;
      out += WeekdayText(listed ? v.Weekday : kEveryDayCode);
      return;
    }
    default: {
      const CivilDate d = PickerDate(v.Working);
      AppendDigits(out, d.year, 4);
      out += '/';
      AppendDigits(out, d.month, 2);
      out += '/';
      AppendDigits(out, d.day, 2);
      out += ' ';
      return;
    }
  }
}

void AppendTimeField(std::string& out, const AlarmEditorValues& v) {
  const int minute = std::clamp(v.Minute, 0, 59);
  switch (v.TimeType) {
    case kEditEveryHour:
      out += BandCode(v.Band, "xx");
      out += ':';
      AppendDigits(out, minute, 2);
      out += ' ';
      return;
    case kEditEveryNMinutes:
    case kEditStartupAndEvery:
      AppendDigits(out, std::clamp(v.Period, kSpinAlarmMinute.min, kSpinAlarmMinute.max), 3);
      out += BandCode(v.Band, MinuteBandNone());
      out += v.TimeType == kEditStartupAndEvery ? '*' : ' ';
      return;
    case kEditStartupOnly: {
      const int delay = std::clamp(v.Delay, kSpinAlarmDelay.min, kSpinAlarmDelay.max);
      const std::string_view band = BandCode(v.Band, "rt");
      if (band == "rt" && delay == 0) {
        out += "Start ";
      } else {
        out += 'S';
        AppendDigits(out, delay, 2);
        out += band;
        out += ' ';
      }
      return;
    }
    default:
      AppendDigits(out, std::clamp(v.Hour, 0, 23), 2);
      out += ':';
      AppendDigits(out, minute, 2);
      out += ' ';
      return;
  }
}

void AppendAction(std::string& out, const AlarmEditorValues& v) {
  if (v.FileMode) {
    out += "Exe:";
    out += OneLine(v.FilePath);
    const std::string command = OneLine(v.CommandLine);
    if (!command.empty()) {
      out += "::";
      out += command;
    }
    return;
  }
  const bool known = v.Icon >= kIconNone && v.Icon <= kIconError;
  out += kMessageKinds[known ? v.Icon : kIconNone];
  out += v.Beep ? '$' : ':';
  bool first = true;
  for (const std::string& line : v.MessageLines) AppendMessageLine(out, line, first);
  // The decoder takes a trailing "\n" for no line, so a last line that is empty takes one more:
  // "a\n\n" is the lines "a" and "", and comes back as itself.
  if (!first && LastPieceEmpty(v.MessageLines)) out += "\\n";
}

}  // namespace

AlarmEditorValues DecodeEntryText(std::string_view text, const AlarmEditorStart& start) {
  AlarmEditorValues v;
  const bool startTimeValid =
      start.Hour >= 0 && start.Hour <= 23 && start.Minute >= 0 && start.Minute <= 59;
  const int nowHour = startTimeValid ? start.Hour : 0;
  const int nowMinute = startTimeValid ? start.Minute : 0;
  v.Working = {Field(start.Date.year), Field(start.Date.month), Field(start.Date.day)};
  v.Picker = PickerDate(v.Working);
  v.Hour = nowHour;
  v.Minute = nowMinute;

  // Date field: each test nests in the preceding else, as in the alarm line itself.
  if (At(text, kWeekdayOpen) != "[") {
    if (At(text, kDay) == "xx") {
      v.DateKind = kDateDaily;
    } else {
      v.Working.Day = Field(NumberOr(At(text, kDay), v.Working.Day));
      if (At(text, kMonth) == "xx") {
        v.DateKind = kDateMonthly;
      } else {
        v.Working.Month = Field(NumberOr(At(text, kMonth), v.Working.Month));
        if (At(text, kYear) == "xxxx") {
          v.DateKind = kDateYearly;
        } else {
          v.Working.Year = Field(NumberOr(At(text, kYear), v.Working.Year));
          v.DateKind = kDateSpecific;
        }
      }
    }
  } else {
    // One byte: the code is 0..9, or 0 when it is no digit. Code 9 (every day) has no row in
    // cmbWeek; it shows as the daily kind, which fires on exactly the same days, so the user sees
    // what the alarm does and registering writes a complete date field ("xxxx/xx/xx ").
    const int code = NumberOr(At(text, kWeekdayCode), 0);
    if (code >= 0 && code < kEditorWeekdayRows) {
      v.DateKind = kDateWeekday;
      v.Weekday = code;
    } else {
      v.DateKind = kDateDaily;
    }
  }
  const bool dayFlag = At(text, kDayFlag) == "*";
  v.LeapOnly = dayFlag && v.DateKind == kDateYearly;
  v.LastDay = dayFlag && v.DateKind == kDateMonthly;
  ApplyDateKind(v);

  // Time field; a new alarm keeps the time of day at now.
  if (!text.empty()) {
    std::uint16_t hour = Field(nowHour);
    std::uint16_t minute = Field(nowMinute);
    if (At(text, kColon) != ":") {
      if (const std::uint16_t band = AlarmBandOf(At(text, kBand)); band != kBandNone) {
        v.Band = band;
      }
      if (At(text, kStartMark) != "S") {
        v.TimeType = At(text, kStartupFlag) == "*" ? kEditStartupAndEvery : kEditEveryNMinutes;
        v.Period = std::clamp(NumberOr(At(text, kPeriod), kSpinAlarmMinute.initial),
                              kSpinAlarmMinute.min, kSpinAlarmMinute.max);
      } else {
        v.TimeType = kEditStartupOnly;
        if (At(text, kDelay) != "ta") {
          v.Delay =
              std::clamp(NumberOr(At(text, kDelay), 0), kSpinAlarmDelay.min, kSpinAlarmDelay.max);
        }
      }
    } else {
      v.TimeType = kEditEveryHour;
      const std::string_view code = At(text, kHour);
      if (code != "xx") {
        v.Band = AlarmBandOf(code);
        if (v.Band == kBandNone) {
          hour = Field(NumberOr(code, hour));
          v.TimeType = kEditTimeOfDay;
        }
      }
      minute = Field(NumberOr(At(text, kMinute), minute));
    }
    // The time picker holds only valid times: anything else shows now.
    if (hour <= 23 && minute <= 59) {
      v.Hour = hour;
      v.Minute = minute;
    }
  }

  // Action. The text is used up to 255 bytes, as when the alarm fires; a double-byte character
  // cut there is dropped rather than shown (and written back) as a broken one.
  v.Beep = At(text, kBeep) == "$";
  const std::string_view kind = At(text, kKind);
  const std::string_view action = DropIncompleteTrail(
      text.size() > kActionFirst - 2 ? text.substr(kActionFirst - 2, kMaxActionTextBytes) : "");
  if (kind != "Exe") {
    for (int icon = kIconNone; icon <= kIconError; ++icon) {
      if (kind == kMessageKinds[icon]) v.Icon = icon;
    }
    v.FileMode = false;
    v.MessageLines = SplitMessage(action);
  } else {
    v.Icon = kIconNone;
    v.FileMode = true;
    const std::size_t at = FindMarker(action, "::");
    if (at != std::string_view::npos) v.CommandLine = std::string(action.substr(at + 2));
    v.FilePath = std::string(action.substr(0, at));
  }
  return v;
}

std::string EncodeEntryText(const AlarmEditorValues& values) {
  std::string out;
  out.reserve(24 + 256);
  AppendDateField(out, values);
  AppendTimeField(out, values);
  out += ' ';
  AppendAction(out, values);
  return out;
}

void ApplyDateKind(AlarmEditorValues& v) {
  const EditorDate& w = v.Working;
  switch (v.DateKind) {
    case kDateSpecific:
      PickerDateChanged(v, CivilDate{w.Year, w.Month, w.Day});
      break;
    case kDateYearly:
      PickerDateChanged(v, CivilDate{kEditorYearlyYear, w.Month, w.Day});
      break;
    case kDateMonthly:
      PickerDateChanged(v, CivilDate{w.Year, 1, v.LastDay ? 31 : w.Day});
      break;
    default:
      break;
  }
}

void PickerDateChanged(AlarmEditorValues& v, CivilDate date) {
  v.Picker = PickerDate(date.year, date.month, date.day);
  switch (v.DateKind) {
    case kDateSpecific:
      v.Working = {Field(v.Picker.year), Field(v.Picker.month), Field(v.Picker.day)};
      break;
    case kDateYearly:
      v.Working.Month = Field(v.Picker.month);
      v.Working.Day = Field(v.Picker.day);
      break;
    case kDateMonthly:
      v.Working.Day = Field(v.Picker.day);
      break;
    default:
      break;
  }
}

void ApplyLastDay(AlarmEditorValues& v) {
  if (v.DateKind == kDateMonthly && v.LastDay) {
    PickerDateChanged(v, CivilDate{v.Working.Year, 1, 31});
  }
}

AlarmEditorView ViewOf(const AlarmEditorValues& v) {
  AlarmEditorView view;
  switch (v.DateKind) {
    case kDateYearly:
      view.DatePicker = view.DatePickerEnabled = view.LeapOnly = true;
      view.DateUpDown = true;
      view.DateFormat = DateFormat(kDateYearly);
      break;
    case kDateMonthly:
      view.DatePicker = view.LastDay = true;
      view.DatePickerEnabled = !v.LastDay;
      view.DateUpDown = true;
      view.DateFormat = DateFormat(kDateMonthly);
      break;
    case kDateDaily:
      view.DatePicker = true;
      view.DateFormat = DateFormat(kDateDaily);
      break;
    case kDateWeekday:
      view.WeekList = true;
      break;
    default:
      view.DatePicker = view.DatePickerEnabled = true;
      view.DateUpDown = false;
      view.DateFormat = DateFormat(kDateSpecific);
      break;
  }
  switch (v.TimeType) {
    case kEditEveryHour:
      view.TimePicker = view.Band = true;
      view.TimeFormat = TimeFormat(kEditEveryHour);
      break;
    case kEditEveryNMinutes:
    case kEditStartupAndEvery:
      view.Minute = view.Band = true;
      break;
    case kEditStartupOnly:
      view.Delay = view.Band = true;
      break;
    default:
      view.TimePicker = true;
      view.TimeFormat = TimeFormat(kEditTimeOfDay);
      break;
  }
  view.FileControls = v.FileMode;
  view.MessageControls = !v.FileMode;
  return view;
}

std::vector<std::string> MemoLines(std::string_view memoText) {
  if (memoText.empty()) return {};
  std::vector<std::string> lines = SplitAtLineEnds(memoText);
  if (lines.back().empty()) lines.pop_back();  // the final line end adds no line
  return lines;
}

std::string MemoText(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  // A last line that is empty needs a line end of its own: MemoLines takes a final line end for
  // no line.
  if (!lines.empty() && lines.back().empty()) text += "\r\n";
  return text;
}

std::string TrimBlanks(std::string_view text) {
  // Bytes up to 0x20 are never the second byte of a double-byte character.
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

FittedPath FitBrowsedPath(std::string_view path) {
  std::size_t i = 0;
  for (std::size_t chars = 0; chars < kEditorPathLimit && i < path.size(); ++chars) {
    const bool pair = IsCp932LeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size();
    i += pair ? 2 : 1;
  }
  return FittedPath{std::string(path.substr(0, i)), i < path.size()};
}

bool ActionTextFits(const AlarmEditorValues& values) {
  // The list line is the state byte and the entry text; its action text starts at byte 24.
  return EncodeEntryText(values).size() + 1 <= alarm_column::kActionFirst - 1 + kMaxActionTextBytes;
}

namespace editor_text {

const std::string& BrowseTitle() {
  static const std::string text = Utf8ToCp932("ファイル選択");
  return text;
}

const std::string& BrowseFilter() {
  static const std::string text = Utf8ToCp932("全てのファイル(*.*)|*.*");
  return text;
}

const std::string& PathTooLong() {
  static const std::string text = Utf8ToCp932("選択したファイルのパスが長過ぎます。\r\n") +
                                  std::to_string(kEditorPathLimit + 1) +
                                  Utf8ToCp932("文字以降は切り捨てられます。");
  return text;
}

const std::string& FileMissing() {
  static const std::string text = Utf8ToCp932("ファイルが存在しません。");
  return text;
}

const std::string& ActionTooLong() {
  static const std::string text =
      Utf8ToCp932("実行するファイル名とコマンドラインオプションが長過ぎます。\r\n合わせて ") +
      std::to_string(kMaxActionTextBytes - 2) +
      Utf8ToCp932(" バイト（全角文字は 2 バイト）以内にして下さい。");
  return text;
}

}  // namespace editor_text

}  // namespace mirovane
