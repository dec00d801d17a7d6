#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alarms/alarm_action.h"
#include "alarms/alarm_editor_rules.h"
#include "alarms/alarm_line.h"
#include "support.h"

namespace mirovane {
namespace {

using test::Sj;

// The editor opens on 29 February 2024 at 09:05.
constexpr AlarmEditorStart kStart{{2024, 2, 29}, 9, 5};

AlarmEditorValues Decoded(std::string_view utf8Entry, const AlarmEditorStart& start = kStart) {
  return DecodeEntryText(Sj(utf8Entry), start);
}

std::string Encoded(const AlarmEditorValues& v) { return Cp932ToUtf8(EncodeEntryText(v)); }

std::string RoundTrip(std::string_view utf8Entry) { return Encoded(Decoded(utf8Entry)); }

// The controls a view shows, by short names.
std::string Shown(const AlarmEditorView& view) {
  std::string s;
  const auto add = [&s](bool on, const char* name) {
    if (on) s += s.empty() ? name : std::string(" ") + name;
  };
  add(view.WeekList, "week");
  add(view.DatePicker, view.DatePickerEnabled ? "date" : "date(off)");
  add(view.LeapOnly, "leap");
  add(view.LastDay, "last");
  add(view.TimePicker, "time");
  add(view.Minute, "minute");
  add(view.Delay, "delay");
  add(view.Band, "band");
  add(view.MessageControls, "message");
  add(view.FileControls, "file");
  return s;
}

// Every entry text the editor can write comes back unchanged through decode and encode, and the
// engine's parser reads the same alarm from it as the editor shows.
TEST(AlarmEditorRules, EveryDateKindAndTimeTypeRoundTrips) {
  std::vector<std::string> entries = {
      "2024/05/06 12:30  Inf$会議\\n資料",
      "2023/12/31 00:00  Msg:",
      "xxxx/02/29*09:00  Msg:誕生日",
      "xxxx/03/31 23:59  Que$x",
      "xxxx/xx/31*後:00  Msg:月末",
      "xxxx/xx/15 07:45  War$支払い",
      "xxxx/xx/xx 030昼  Que:休憩",
      "xxxx/xx/xx 015分* Msg:点検",
      "xxxx/xx/xx 000分  Msg:x",
      "xxxx/xx/xx 720夜* Err$x",
      "xxxx/xx/xx xx:15  Msg:x",
      "xxxx/xx/xx 前:59  Msg:x",
      "xxxx/xx/xx Start  Msg:x",
      "xxxx/xx/xx S90後  Msg:x",
      "xxxx/xx/xx S00夜  Msg:x",
      "[7]:平日   S05rt  Exe:C:\\tools\\backup.bat::-q",
      "[1]:月     Start  Msg:週報",
      "xxxx/xx/xx 12:00  Exe:C:\\a b\\x.exe",
      "xxxx/xx/xx 12:00  Msg:表n\\n\\nソ\\n能",  // 表, ソ and 能 end in 0x5C
  };
  const char* const kWeekdays[] = {"[0]:日     ", "[1]:月     ", "[2]:火     ",
                                   "[3]:水     ", "[4]:木     ", "[5]:金     ",
                                   "[6]:土     ", "[7]:平日   ", "[8]:週末   "};
  for (const char* weekday : kWeekdays) entries.push_back(std::string(weekday) + "08:00  Inf:x");

  for (const std::string& entry : entries) {
    SCOPED_TRACE(entry);
    EXPECT_EQ(RoundTrip(entry), entry);

    const AlarmEditorValues v = Decoded(entry);
    AlarmEntry e;
    ASSERT_TRUE(ParseAlarmLine(Sj("*" + entry), e));
    EXPECT_EQ(e.DateKind, v.DateKind);
    EXPECT_EQ(e.DayFlag, v.LeapOnly || v.LastDay);
    switch (v.TimeType) {
      case kEditTimeOfDay:
        EXPECT_EQ(e.TimeKind, kTimeOfDay);
        EXPECT_EQ(e.HourOrBand, v.Hour);
        EXPECT_EQ(e.Minutes, v.Minute);
        break;
      case kEditEveryHour:
        EXPECT_EQ(e.TimeKind, kTimeEveryHour);
        EXPECT_EQ(e.HourOrBand, v.Band);
        EXPECT_EQ(e.Minutes, v.Minute);
        break;
      case kEditEveryNMinutes:
      case kEditStartupAndEvery:
        EXPECT_EQ(e.TimeKind, kTimeEveryNMinutes);
        EXPECT_EQ(e.StartupFlag, v.TimeType == kEditStartupAndEvery);
        EXPECT_EQ(e.HourOrBand, v.Band);
        EXPECT_EQ(e.Minutes, v.Period == 0 ? 1 : v.Period);  // the engine reads 000 as 1
        break;
      default:
        EXPECT_EQ(e.TimeKind, kTimeStartupOnly);
        EXPECT_EQ(e.HourOrBand, v.Band);
        EXPECT_EQ(e.Minutes, v.Delay);
        break;
    }
  }
}

TEST(AlarmEditorRules, DecodeSetsTheControlsAndTheirViews) {
  // The last day of every month, hourly in the afternoon.
  AlarmEditorValues v = Decoded("xxxx/xx/31*後:00  Msg:x");
  EXPECT_EQ(v.DateKind, kDateMonthly);
  EXPECT_TRUE(v.LastDay);
  EXPECT_EQ(v.Picker.day, 31);
  EXPECT_EQ(v.TimeType, kEditEveryHour);
  EXPECT_EQ(v.Band, kBandAfternoon);
  EXPECT_EQ(v.Minute, 0);
  EXPECT_EQ(Shown(ViewOf(v)), "date(off) last time band message");
  EXPECT_EQ(ViewOf(v).TimeFormat, Sj("'--時'mm'分'"));
  v.LastDay = false;  // unticking enables the picker on the same day
  ApplyLastDay(v);
  EXPECT_EQ(Shown(ViewOf(v)), "date last time band message");
  EXPECT_EQ(Encoded(v), "xxxx/xx/31 後:00  Msg:x");

  // A new alarm: the start date as a specific date, now as the time of day, a plain message.
  v = Decoded("");
  EXPECT_EQ(v.DateKind, kDateSpecific);
  EXPECT_EQ(v.Picker.year * 10000 + v.Picker.month * 100 + v.Picker.day, 20240229);
  EXPECT_EQ(Shown(ViewOf(v)), "date time message");
  EXPECT_EQ(ViewOf(v).DateUpDown, false);
  EXPECT_EQ(Encoded(v), "2024/02/29 09:05  Msg:");

  // The other kinds and types.
  EXPECT_EQ(Shown(ViewOf(Decoded("xxxx/02/29*015分* Msg:x"))), "date leap minute band message");
  EXPECT_EQ(Shown(ViewOf(Decoded("xxxx/xx/xx 030分  Msg:x"))), "date(off) minute band message");
  EXPECT_EQ(Shown(ViewOf(Decoded("[3]:水     Start  Exe:a"))), "week delay band file");
  EXPECT_FALSE(ViewOf(Decoded("xxxx/xx/xx 030分  Msg:x")).DateUpDown.has_value());
}

TEST(AlarmEditorRules, DatePickerHoldsOnlyValidDates) {
  // Yearly runs in 2004, so 29 February stays; the working year is left alone.
  AlarmEditorValues v = Decoded("");
  v.DateKind = kDateYearly;
  ApplyDateKind(v);
  EXPECT_EQ(v.Picker.year, kEditorYearlyYear);
  EXPECT_EQ(v.Working.Year, 2024);
  EXPECT_EQ(Encoded(v), "xxxx/02/29 09:05  Msg:");
  v.LeapOnly = true;
  EXPECT_EQ(Encoded(v), "xxxx/02/29*09:05  Msg:");

  // Back to a specific date in a year without 29 February: the month's last day.
  v = Decoded("xxxx/02/29*12:00  Msg:x", {{2023, 6, 1}, 9, 5});
  EXPECT_EQ(v.Working.Year, 2023);
  v.DateKind = kDateSpecific;
  ApplyDateKind(v);
  EXPECT_EQ(Encoded(v), "2023/02/28 12:00  Msg:x");

  // Invalid days of a text become the month's last day; years are kept within the picker's.
  EXPECT_EQ(RoundTrip("2023/02/30 12:00  Msg:x"), "2023/02/28 12:00  Msg:x");
  EXPECT_EQ(RoundTrip("2024/04/31 12:00  Msg:x"), "2024/04/30 12:00  Msg:x");
  EXPECT_EQ(RoundTrip("xxxx/02/30 12:00  Msg:x"), "xxxx/02/29 12:00  Msg:x");
  EXPECT_EQ(RoundTrip("xxxx/xx/00 12:00  Msg:x"), "xxxx/xx/31 12:00  Msg:x");
  EXPECT_EQ(RoundTrip("xxxx/xx/-1 12:00  Msg:x"), "xxxx/xx/31 12:00  Msg:x");
  EXPECT_EQ(RoundTrip("-001/05/06 12:00  Msg:x"), "9999/05/06 12:00  Msg:x");
  EXPECT_EQ(RoundTrip("0000/13/06 12:00  Msg:x"), "1753/12/06 12:00  Msg:x");
  // Pieces that are no numbers keep the start date.
  EXPECT_EQ(RoundTrip("20a4/0b/1c 12:00  Msg:x"), "2024/02/29 12:00  Msg:x");

  // A ticked last-day box puts the picker on 31 January and writes "31*".
  v = Decoded("xxxx/xx/15 07:45  Msg:x");
  v.LastDay = true;
  ApplyLastDay(v);
  EXPECT_EQ(v.Picker.month * 100 + v.Picker.day, 131);
  EXPECT_EQ(Encoded(v), "xxxx/xx/31*07:45  Msg:x");

  // A picked date: the specific kind takes it whole, the monthly kind only its day.
  v = Decoded("xxxx/xx/15 07:45  Msg:x");
  PickerDateChanged(v, {2024, 1, 20});
  EXPECT_EQ(Encoded(v), "xxxx/xx/20 07:45  Msg:x");
  v.DateKind = kDateSpecific;
  PickerDateChanged(v, {2025, 7, 4});
  EXPECT_EQ(Encoded(v), "2025/07/04 07:45  Msg:x");
}

TEST(AlarmEditorRules, TimeFieldsEncodeAndFallBack) {
  AlarmEditorValues v = Decoded("");
  v.TimeType = kEditEveryNMinutes;
  v.Period = 0;
  EXPECT_EQ(Encoded(v), "2024/02/29 000分  Msg:");
  v.TimeType = kEditStartupAndEvery;
  v.Period = 15;
  v.Band = kBandDaytime;
  EXPECT_EQ(Encoded(v), "2024/02/29 015昼* Msg:");
  v.TimeType = kEditStartupOnly;
  v.Band = kBandNone;
  EXPECT_EQ(Encoded(v), "2024/02/29 Start  Msg:");
  v.Delay = 5;
  EXPECT_EQ(Encoded(v), "2024/02/29 S05rt  Msg:");
  v.Delay = 0;
  v.Band = kBandNight;
  EXPECT_EQ(Encoded(v), "2024/02/29 S00夜  Msg:");
  v.TimeType = kEditEveryHour;
  v.Band = kBandNone;
  EXPECT_EQ(Encoded(v), "2024/02/29 xx:05  Msg:");

  // Values outside the controls' ranges never widen a field.
  v = Decoded("");
  v.Hour = 30;
  v.Minute = -4;
  EXPECT_EQ(Encoded(v), "2024/02/29 23:00  Msg:");
  v.TimeType = kEditEveryNMinutes;
  v.Period = 5000;
  v.Band = 9;
  EXPECT_EQ(Encoded(v), "2024/02/29 720分  Msg:");
  v.DateKind = 7;
  v.TimeType = 7;
  v.Icon = 7;
  EXPECT_EQ(Encoded(v), "2024/02/29 23:00  Msg:");

  // Decoding: what does not convert falls back to now or the control's default.
  EXPECT_EQ(RoundTrip("xxxx/xx/xx ab:cd  Msg:x"), "xxxx/xx/xx 09:05  Msg:x");
  EXPECT_EQ(RoundTrip("xxxx/xx/xx 25:00  Msg:x"), "xxxx/xx/xx 09:05  Msg:x");  // no such time
  EXPECT_EQ(RoundTrip("xxxx/xx/xx 後:75  Msg:x"), "xxxx/xx/xx 後:05  Msg:x");
  EXPECT_EQ(RoundTrip("xxxx/xx/xx abc分  Msg:x"), "xxxx/xx/xx 030分  Msg:x");
  EXPECT_EQ(RoundTrip("xxxx/xx/xx 999前  Msg:x"), "xxxx/xx/xx 720前  Msg:x");
  EXPECT_EQ(RoundTrip("xxxx/xx/xx S99rt  Msg:x"), "xxxx/xx/xx S90rt  Msg:x");
  EXPECT_EQ(RoundTrip("xxxx/xx/xx Sxx前  Msg:x"), "xxxx/xx/xx S00前  Msg:x");
  EXPECT_EQ(RoundTrip("xxxx/xx/xx 07:4"), "xxxx/xx/xx 07:04  Msg:");  // a short text
}

TEST(AlarmEditorRules, ActionTexts) {
  // File mode: trimmed path; the command line only when something is left of it.
  AlarmEditorValues v = Decoded("");
  v.FileMode = true;
  v.Beep = true;
  v.MessageLines = {"ignored"};
  v.FilePath = "  C:\\x.exe\t";
  EXPECT_EQ(Encoded(v), "2024/02/29 09:05  Exe:C:\\x.exe");
  v.CommandLine = "   ";
  EXPECT_EQ(Encoded(v), "2024/02/29 09:05  Exe:C:\\x.exe");
  v.CommandLine = " -q \r\n-v ";
  EXPECT_EQ(Encoded(v), "2024/02/29 09:05  Exe:C:\\x.exe::-q   -v");
  v = Decoded("xxxx/xx/xx 12:00  Exe:C:\\a.exe::-x::y");
  EXPECT_TRUE(v.FileMode);
  EXPECT_EQ(v.FilePath, "C:\\a.exe");
  EXPECT_EQ(v.CommandLine, "-x::y");
  EXPECT_EQ(Shown(ViewOf(v)), "date(off) time file");

  // Messages: lines joined with "\n"; a trailing "\n" adds no line; a line break inside a line
  // and a typed "\n" both become line breaks of the message.
  v = Decoded("");
  v.MessageLines = {"a", "", "b"};
  EXPECT_EQ(Encoded(v), "2024/02/29 09:05  Msg:a\\n\\nb");
  EXPECT_EQ(Decoded("xxxx/xx/xx 12:00  Msg:a\\n\\nb").MessageLines,
            (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(Decoded("xxxx/xx/xx 12:00  Msg:a\\n").MessageLines, std::vector<std::string>{"a"});
  EXPECT_EQ(Decoded("xxxx/xx/xx 12:00  Msg:").MessageLines, std::vector<std::string>{});
  v.MessageLines = {"C:\\new", "x\r\ny\nz"};
  EXPECT_EQ(Encoded(v), "2024/02/29 09:05  Msg:C:\\new\\nx\\ny\\nz");
  EXPECT_EQ(Decoded(Encoded(v)).MessageLines,
            (std::vector<std::string>{"C:", "ew", "x", "y", "z"}));

  // A lead byte without its second byte never swallows the "\n" after it.
  v.MessageLines = {"a\x81", "b"};
  EXPECT_EQ(EncodeEntryText(v), "2024/02/29 09:05  Msg:a\\nb");

  // The text is read up to 255 bytes; a double-byte character cut there is dropped.
  const std::string text = std::string(254, 'm') + "あ";
  v = Decoded("xxxx/xx/xx 12:00  Que$" + text);
  EXPECT_EQ(v.Icon, kIconQuestion);
  EXPECT_TRUE(v.Beep);
  EXPECT_EQ(v.MessageLines, std::vector<std::string>{std::string(254, 'm')});

  // An unknown kind is a message without icon.
  EXPECT_EQ(RoundTrip("xxxx/xx/xx 12:00  Abc:hello"), "xxxx/xx/xx 12:00  Msg:hello");

  // The memo's text and lines; the browsed path cut to the edit's 127 characters.
  EXPECT_EQ(MemoLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(MemoText({"a", "", "b"}), "a\r\n\r\nb");
  std::string longPath = "C:\\";
  for (int i = 0; i < 130; ++i) longPath += Sj("表");
  FittedPath fitted = FitBrowsedPath(longPath);
  EXPECT_TRUE(fitted.Cut);
  EXPECT_EQ(fitted.Text, longPath.substr(0, 3 + 124 * 2));
  fitted = FitBrowsedPath(fitted.Text);
  EXPECT_FALSE(fitted.Cut);
  EXPECT_NE(Cp932ToUtf8(editor_text::PathTooLong()).find("128文字以降"), std::string::npos);
}

// Weekday code 9 (every day) has no row in cmbWeek: the editor shows and writes it as daily.
// Every message the decoder reads comes back as it was through the memo and the encoder, empty
// last lines included; only a single trailing "\n" is dropped, as the decoder drops it.
TEST(AlarmEditorRules, MessagesComeBackThroughTheMemo) {
  const auto throughMemo = [](const std::string& entry) {
    AlarmEditorValues v = Decoded(entry);
    v.MessageLines = MemoLines(MemoText(v.MessageLines));
    return Encoded(v);
  };
  for (const char* entry :
       {"xxxx/xx/xx 12:00  Msg:a\\n\\n", "xxxx/xx/xx 12:00  Msg:a\\n\\n\\n",
        "xxxx/xx/xx 12:00  Msg:\\n", "xxxx/xx/xx 12:00  Msg:\\n\\nb", "xxxx/xx/xx 12:00  Msg:a",
        "xxxx/xx/xx 12:00  Inf$a\\n\\nb\\n\\n", "xxxx/xx/xx 12:00  Msg:"}) {
    EXPECT_EQ(throughMemo(entry), entry);
  }
  EXPECT_EQ(throughMemo("xxxx/xx/xx 12:00  Msg:a\\n"), "xxxx/xx/xx 12:00  Msg:a");
  EXPECT_EQ(MemoLines(MemoText({"a", ""})), (std::vector<std::string>{"a", ""}));
}

// Path and command line each within their edits, but together longer than the 255 bytes of
// action text the engine reads: registering is refused rather than cut at run time.
TEST(AlarmEditorRules, ActionMustFitWhatTheEngineReads) {
  AlarmEditorValues v = Decoded("");
  v.FileMode = true;
  v.FilePath = std::string(127, 'p');
  v.CommandLine = std::string(126, 'c');  // 127 + "::" + 126 = 255
  EXPECT_TRUE(ActionTextFits(v));
  EXPECT_EQ(SplitAlarmAction("*" + Encoded(v)).Text.size(), 255u);
  v.CommandLine += 'c';
  EXPECT_FALSE(ActionTextFits(v));
  v.FilePath = Sj("表") + std::string(135, 'p');  // 137 bytes
  v.CommandLine = std::string(126, 'c');
  EXPECT_FALSE(ActionTextFits(v));
  v.CommandLine.clear();
  EXPECT_TRUE(ActionTextFits(v));
  // A message the memo holds always fits: its edit counts the bytes.
  v = Decoded("");
  v.MessageLines = {std::string(120, 'm'), std::string(133, 'n')};  // 120 + "\n" + 133 = 255
  EXPECT_TRUE(ActionTextFits(v));
}

TEST(AlarmEditorRules, WeekdayCodeNineShowsAsDaily) {
  AlarmEditorValues v = Decoded("[9]:毎日   07:00  Msg:x");
  EXPECT_EQ(v.DateKind, kDateDaily);
  EXPECT_EQ(Shown(ViewOf(v)), "date(off) time message");
  EXPECT_EQ(Encoded(v), "xxxx/xx/xx 07:00  Msg:x");

  // A weekday without a row still writes a whole date field; no digit reads as Sunday.
  v.DateKind = kDateWeekday;
  v.Weekday = -1;
  EXPECT_EQ(Encoded(v), "[9]:毎日   07:00  Msg:x");
  EXPECT_EQ(RoundTrip("[x]:月     07:00  Msg:x"), "[0]:日     07:00  Msg:x");
}

}  // namespace
}  // namespace mirovane
