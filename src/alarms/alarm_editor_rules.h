// The alarm editor (TAlarmSetDialog) without a window: the decode of an entry text into the
// values of the editor's controls, the rules its change handlers apply to dependent controls, and
// the encode of the control values back into an entry text.
//
// An entry text is an alarm line without its state byte, so every position is one less than in
// the line (1-based): date field 1-11, time field 12-17, a blank, action kind 19-21, beep flag 22,
// action text from 23. All texts are cp932.
//
// The dialog moves values between its controls and AlarmEditorValues and calls these rules from
// its handlers: FormShow -> DecodeEntryText, cmbDateTypeChange -> ApplyDateKind,
// dtpDateSetChange -> PickerDateChanged, chkLastDayClick -> ApplyLastDay, btnOkClick ->
// EncodeEntryText; ViewOf tells which controls show. The rules are idempotent on values they
// produced, so handlers that run again while the decoded values are put into the controls change
// nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alarms/alarm_line.h"
#include "format/datetime.h"

namespace mirovane {

// Rows of cmbTimeType. The date kinds of cmbDateType are those of AlarmDateKind.
enum AlarmEditorTimeType : int {
  kEditTimeOfDay = 0,        // "時刻指定"
  kEditEveryHour = 1,        // "毎時"
  kEditEveryNMinutes = 2,    // "毎分"
  kEditStartupAndEvery = 3,  // "起動時＋分": at start-up, then every N minutes
  kEditStartupOnly = 4,      // "起動時のみ"
};

// Rows of cmbIcon.
enum AlarmEditorIcon : int {
  kIconNone = 0,         // "Msg"
  kIconInformation = 1,  // "Inf"
  kIconQuestion = 2,     // "Que"
  kIconWarning = 3,      // "War"
  kIconError = 4,        // "Err"
};

// cmbWeek has rows for the weekday codes 0..8 only; code 9 (every day) has none.
inline constexpr int kEditorWeekdayRows = 9;
// The year the picker of a yearly alarm runs in: a leap year, so 29 February can be chosen.
inline constexpr int kEditorYearlyYear = 2004;
// The years of the dates given to the date picker: the system's date picker may refuse dates
// before 1753, so earlier years are raised to it.
inline constexpr int kEditorMinYear = 1753;
inline constexpr int kEditorMaxYear = 9999;
// Length limits of the edits, in characters (a double-byte character counts once).
inline constexpr std::size_t kEditorMessageLimit = 255;  // memMessage
inline constexpr std::size_t kEditorPathLimit = 127;     // edtFilePath, edtCmndLine

// The working date: 16-bit fields, so a "-1" read from a text is kept as 65535 (an invalid date
// that the picker rule then replaces).
struct EditorDate {
  std::uint16_t Year = 0;
  std::uint16_t Month = 0;
  std::uint16_t Day = 0;
};

// What a dialog starts from: the selected date of the main window's calendar when that calendar
// is visible, else today; and the hour and minute of now.
struct AlarmEditorStart {
  CivilDate Date;
  int Hour = 0;
  int Minute = 0;
};

// One value per control of the editor, plus the working date that the encoder reads.
struct AlarmEditorValues {
  // " 日時設定 "
  int DateKind = kDateSpecific;   // cmbDateType: an AlarmDateKind
  EditorDate Working;             // the working date: written for the specific date, read back
                                  // from the picker (dtpDateSetChange)
  CivilDate Picker;               // dtpDateSet: always a valid date within the picker's years
  int Weekday = 0;                // cmbWeek: the row, weekday code 0..8
  bool LeapOnly = false;          // chkLeapOnly
  bool LastDay = false;           // chkLastDay
  int TimeType = kEditTimeOfDay;  // cmbTimeType: an AlarmEditorTimeType
  int Hour = 0;                   // dtpTimeSet (its seconds are never written)
  int Minute = 0;
  int Period = 30;       // spnMinute, 0..720
  int Delay = 0;         // spnDelayed, 0..90
  int Band = kBandNone;  // cmbAmPm: an AlarmBand
  // " 動作設定 "
  bool FileMode = false;                  // rdbFilePath selected; rdbMessage otherwise
  int Icon = kIconNone;                   // cmbIcon: an AlarmEditorIcon
  bool Beep = false;                      // chkSound
  std::vector<std::string> MessageLines;  // memMessage, one string a line
  std::string FilePath;                   // edtFilePath
  std::string CommandLine;                // edtCmndLine
};

// FormShow: the control values of `entryText` (empty for a new alarm). Pieces that do not convert
// keep the start values or the controls' defaults; decoding never fails. An entry with weekday
// code 9 (every day, no row in cmbWeek) shows as the daily kind, which fires on the same days.
AlarmEditorValues DecodeEntryText(std::string_view entryText, const AlarmEditorStart& start);

// btnOkClick: the entry text of the control values. Every field is written at full width whatever
// the values hold: numbers are brought into their controls' ranges, an unknown kind or type reads
// as the list's first row, and a weekday without a row of cmbWeek is written as code 9.
std::string EncodeEntryText(const AlarmEditorValues& values);

// btnOkClick: whether the encoded action fits the bytes of action text the alarm engine reads
// (kMaxActionTextBytes): a file's path, "::" and its command line may each be within their edits'
// limits and still be longer together. The memo keeps a message within them by itself.
bool ActionTextFits(const AlarmEditorValues& values);

// cmbDateTypeChange: puts the date of the chosen kind into the picker (the working date; for the
// yearly kind in 2004; for the monthly kind the day in January of the working year, 31 while
// chkLastDay is ticked) and reads the working date back. A date the picker cannot hold becomes the
// last day of its month. The daily and weekday kinds leave the picker as it is.
void ApplyDateKind(AlarmEditorValues& values);
// dtpDateSetChange: the picker now shows `date` (brought into the picker's range); the working
// date takes year, month and day (specific date), month and day (yearly) or the day (monthly).
void PickerDateChanged(AlarmEditorValues& values, CivilDate date);
// chkLastDayClick with LastDay already holding the box's new state: for the monthly kind a ticked
// box puts 31 January of the working year into the picker and the day 31 into the working date.
void ApplyLastDay(AlarmEditorValues& values);

// Which controls show for the values (cmbDateTypeChange, cmbTimeTypeChange, RadioButtonClick,
// chkLastDayClick). Formats are the pickers' custom display formats in cp932; an empty format or
// an unset style means "leave the control as it is".
struct AlarmEditorView {
  bool WeekList = false;    // cmbWeek
  bool DatePicker = false;  // dtpDateSet
  bool DatePickerEnabled = false;
  std::optional<bool> DateUpDown;  // up-down buttons instead of the drop-down calendar
  std::string DateFormat;
  bool LeapOnly = false;    // chkLeapOnly
  bool LastDay = false;     // chkLastDay
  bool TimePicker = false;  // dtpTimeSet
  std::string TimeFormat;
  bool Minute = false;           // spnMinute, lblMinute
  bool Delay = false;            // spnDelayed, lblDelayed1, lblDelayed2
  bool Band = false;             // cmbAmPm
  bool MessageControls = false;  // memMessage, cmbIcon, chkSound
  bool FileControls = false;     // lblFilePath, edtFilePath, btnFilePath, lblCmndLine, edtCmndLine
};
AlarmEditorView ViewOf(const AlarmEditorValues& values);

// The memo's lines of its text: split at CR LF, CR and LF; a final line end adds no line.
std::vector<std::string> MemoLines(std::string_view memoText);
// The memo's text of its lines: CR LF between them.
std::string MemoText(const std::vector<std::string>& lines);

// edtFilePathExit and the encoder: `text` without blanks and control characters at both ends.
std::string TrimBlanks(std::string_view text);

// btnFilePathClick: a browsed path cut to the edit's limit of 127 characters, never inside a
// double-byte character; `Cut` asks for the notice PathTooLong first.
struct FittedPath {
  std::string Text;
  bool Cut = false;
};
FittedPath FitBrowsedPath(std::string_view path);

// Texts of the editor (cp932).
namespace editor_text {
const std::string& BrowseTitle();    // "ファイル選択"
const std::string& BrowseFilter();   // "全てのファイル(*.*)|*.*"
const std::string& PathTooLong();    // the path was cut at the edit's limit
const std::string& FileMissing();    // the typed path names no file
const std::string& ActionTooLong();  // path and command line together are longer than is read
}  // namespace editor_text

}  // namespace mirovane
