#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "alarms/alarm_action.h"
#include "alarms/alarm_line.h"
#include "support.h"

namespace mirovane {
namespace {

using test::Sj;
namespace fs = std::filesystem;

AlarmEntry Parsed(std::string_view utf8Line, bool expectOk = true) {
  AlarmEntry e;
  EXPECT_EQ(ParseAlarmLine(Sj(utf8Line), e), expectOk) << utf8Line;
  return e;
}

// The fields of a parsed line in one text: active, kinds, year/month/day, hour or band, minutes,
// day flag, start-up flag.
std::string Fields(std::string_view utf8Line) {
  const AlarmEntry e = Parsed(utf8Line);
  char text[80];
  std::snprintf(text, sizeof text, "%d %d/%d %d/%d/%d %d:%d %d%d", e.Active, e.DateKind, e.TimeKind,
                e.Year, e.Month, e.Day, e.HourOrBand, e.Minutes, e.DayFlag, e.StartupFlag);
  return text;
}

TEST(AlarmLineParse, WorkedExampleLines) {
  EXPECT_EQ(Fields("*2024/05/06 12:30  Inf$会議\\n資料"), "1 0/0 2024/5/6 12:30 00");
  EXPECT_EQ(Fields("*xxxx/02/29*09:00  Msg:誕生日"), "1 1/0 0/2/29 9:0 10");
  EXPECT_EQ(Fields("*xxxx/xx/31*後:00  Msg:月末"), "1 2/1 0/0/31 2:0 10");
  EXPECT_EQ(Fields("*xxxx/xx/15 07:45  War$支払い"), "1 2/0 0/0/15 7:45 00");
  EXPECT_EQ(Fields("*xxxx/xx/xx 030昼  Que:休憩"), "1 3/2 0/0/0 3:30 00");
  EXPECT_EQ(Fields("*xxxx/xx/xx 015分* Msg:点検"), "1 3/2 0/0/0 0:15 01");
  EXPECT_EQ(Fields("*[7]:平日   S05rt  Exe:C:\\tools\\backup.bat::-q"), "1 4/4 0/0/7 0:5 00");
  // Paused: nothing else is looked at, and the entry stays zero.
  EXPECT_EQ(Fields(" [1]:月     Start  Msg:週報"), "0 0/0 0/0/0 0:0 00");
}

TEST(AlarmLineParse, StartUpAndPeriodFields) {
  EXPECT_EQ(Parsed("*xxxx/xx/xx 000分  Msg:x").Minutes, 1);  // a period of 0 becomes 1
  EXPECT_EQ(Parsed("*xxxx/xx/xx abc分  Msg:x").Minutes, 1);
  AlarmEntry e = Parsed("*xxxx/xx/xx Start  Msg:x");
  EXPECT_EQ(e.TimeKind, kTimeStartupOnly);
  EXPECT_EQ(e.Minutes, 0);
  EXPECT_EQ(Parsed("*xxxx/xx/xx S??rt  Msg:x").Minutes, 0);
  e = Parsed("*xxxx/xx/xx S00夜  Msg:x");
  EXPECT_EQ(e.HourOrBand, kBandNight);
  EXPECT_EQ(e.Minutes, 0);
  EXPECT_EQ(Parsed("*xxxx/xx/xx 015前  Msg:x").HourOrBand, kBandMorning);
}

TEST(AlarmLineParse, StrictNumbersAndWrappedFields) {
  EXPECT_EQ(Parsed("*xxxx/xx/ 7 07:30  Msg:x").Day, 7);  // leading blank
  EXPECT_EQ(Parsed("*xxxx/xx/+7 07:30  Msg:x").Day, 7);
  EXPECT_EQ(Parsed("*xxxx/xx/-1 07:30  Msg:x").Day, 65535);  // 16 bits keep -1 as 65535
  Parsed("*xxxx/xx/7  07:30  Msg:x", false);                 // trailing blank
  Parsed("*xxxx/xx/\t7 07:30  Msg:x", false);
  Parsed("*xxxx/xx/0x 07:30  Msg:x", false);
  Parsed("*xxxx/xx/-  07:30  Msg:x", false);
  EXPECT_EQ(Parsed("*xxxx/xx/xx 07:4").Minutes, 4);  // a short piece at the end still converts
  Parsed("*xxxx/xx/xx 07:", false);                  // an empty piece never does
  Parsed("*", false);                                // fails on the day
  Parsed("*xxxx/xx/xx 分:00  Msg:x", false);         // neither xx, a band nor an hour
  Parsed("*[x]:月     07:00  Msg:x", false);
  EXPECT_EQ(Parsed("*xxxx/xx/xx -1:00  Msg:x").HourOrBand, 65535);
}

TEST(AlarmLineParse, EachDateTestNestsInThePrecedingElse) {
  AlarmEntry e = Parsed("*2024/xx/15 07:45  Msg:x");
  EXPECT_EQ(e.DateKind, kDateMonthly);
  EXPECT_EQ(e.Year, 0);
  EXPECT_EQ(Parsed("*abcd/xx/xx 07:45  Msg:x").DateKind, kDateDaily);
  Parsed("*abcd/05/15 07:45  Msg:x", false);
  e = Parsed("*xxxx/13/40 07:45  Msg:x");  // no range checks here
  EXPECT_EQ(e.Month, 13);
  EXPECT_EQ(e.Day, 40);
}

TEST(AlarmLines, SplitAtEveryKindOfLineEnd) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitAlarmLines(""), V{});
  EXPECT_EQ(SplitAlarmLines("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitAlarmLines("a\r\n"), V{"a"});        // a final line end adds nothing
  EXPECT_EQ(SplitAlarmLines("a\n\r"), (V{"a", ""}));  // LF CR is two line ends
  EXPECT_EQ(SplitAlarmLines("\r\n\r\nx"), (V{"", "", "x"}));
  EXPECT_EQ(JoinAlarmLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinAlarmLines({}), "");
}

TEST(AlarmLines, FileReadAndAtomicWrite) {
  const fs::path dir = fs::temp_directory_path() / "mirovane-alarm-lines";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path file = dir / "Mirovane.txt";
  std::vector<std::string> lines = {"stale"};
  EXPECT_EQ(ReadAlarmLines(file, lines), ReadStatus::Missing);
  EXPECT_TRUE(lines.empty());

  const std::vector<std::string> written = {Sj("*xxxx/xx/xx 07:30  Msg:表\\n"), "", " x"};
  ASSERT_TRUE(WriteAlarmLines(file, written));
  EXPECT_EQ(ReadAlarmLines(file, lines), ReadStatus::Ok);
  EXPECT_EQ(lines, written);

  // A write that cannot complete leaves the previous file intact.
  std::string error;
  EXPECT_FALSE(WriteAlarmLines(dir / "missing-folder" / "a.txt", written, &error));
  EXPECT_FALSE(error.empty());
  ASSERT_TRUE(WriteAlarmLines(file, {}));
  EXPECT_EQ(fs::file_size(file), 0u);
  fs::remove_all(dir);
}

TEST(AlarmMarkers, SecondBytesOfDoubleByteCharactersNeverStartAMatch) {
  const std::string text = Sj("表n") + "\\n";  // 0x95 0x5C 'n' then a real "\n"
  EXPECT_EQ(FindMarker(text, "\\n"), 3u);
  EXPECT_EQ(FindMarker(text, "\\n", 4), std::string::npos);
  EXPECT_EQ(FindMarker(Sj("ソ") + "::", "::"), 2u);
  EXPECT_EQ(FindMarker(Sj("能n"), "\\n"), std::string::npos);
  EXPECT_EQ(FindMarker("a\\", "\\n"), std::string::npos);
  EXPECT_EQ(MessageDisplayText(Sj("会議\\n資料表n\\n")), Sj("会議\r\n資料表n\r\n"));
  EXPECT_EQ(MessageDisplayText(std::string("ab\x95", 3)), "ab");  // half a character at the end
}

TEST(AlarmActions, SplitKindBeepAndTextOfALine) {
  AlarmAction a = SplitAlarmAction(Sj("*2024/05/06 12:30  Inf$会議"));
  EXPECT_EQ(a.Kind, "Inf");
  EXPECT_TRUE(a.Beep);
  EXPECT_EQ(a.Text, Sj("会議"));
  a = SplitAlarmAction("*xxxx/xx/xx 07:30  Msg:" + std::string(300, 'y'));
  EXPECT_FALSE(a.Beep);
  EXPECT_EQ(a.Text, std::string(255, 'y'));
  a = SplitAlarmAction("*xxxx/xx/xx 07:30  Ms");
  EXPECT_EQ(a.Kind, "Ms");
  EXPECT_EQ(a.Text, "");
  EXPECT_EQ(MessageKindOf("inf"), kMessagePlain);  // kinds are case-sensitive
}

TEST(AlarmActions, ExeTextBecomesQuotedFileAndOneQuotedParameter) {
  ShellCommand c = SplitExeText("C:\\a b\\c.exe::-x -y");
  EXPECT_EQ(c.Path, "C:\\a b\\c.exe");
  EXPECT_EQ(c.File, "\"C:\\a b\\c.exe\"");
  EXPECT_EQ(c.Parameters, "\"-x -y\"");
  c = SplitExeText("C:\\tools\\backup.bat");
  EXPECT_EQ(c.Parameters, "");
  c = SplitExeText("");
  EXPECT_EQ(c.Path, "");
  EXPECT_EQ(c.File, "\"\"");
}

// Whatever the command line holds, it stays one argument: for a program by the usual escapes, for
// a batch file so that the command interpreter never sees a quote end (or a variable) inside it.
TEST(AlarmActions, CommandLineCannotBreakOutOfItsQuotes) {
  const std::string hostile = "a\" & other.exe & \"b";
  EXPECT_EQ(SplitExeText("C:\\p\\c.exe::" + hostile).Parameters, "\"a\\\" & other.exe & \\\"b\"");
  EXPECT_EQ(SplitExeText("C:\\p\\run.BAT::" + hostile).Parameters, "\"a\"\" & other.exe & \"\"b\"");
  EXPECT_TRUE(IsBatchFile("x.Cmd"));
  EXPECT_FALSE(IsBatchFile("x.bat.exe"));

  // Backslashes escape only before a quote: doubled there and before the closing quote.
  EXPECT_EQ(QuoteShellArgument("C:\\dir\\", false), "\"C:\\dir\\\\\"");
  EXPECT_EQ(QuoteShellArgument("a\\\\\"b", false), "\"a\\\\\\\\\\\"b\"");
  EXPECT_EQ(QuoteShellArgument("a\\b", false), "\"a\\b\"");
  // 表 ends in byte 0x5C: it is a character, not a backslash before the closing quote.
  const std::string table = Utf8ToCp932("予定表");
  EXPECT_EQ(QuoteShellArgument(table, false), "\"" + table + "\"");
  EXPECT_EQ(QuoteShellArgument(table + "\"", false), "\"" + table + "\\\"\"");

  EXPECT_EQ(QuoteShellArgument("50% %PATH%\r\n", true), "\"50%\"\" %\"\"PATH%\"\"  \"");
  EXPECT_EQ(QuoteShellArgument("", true), "\"\"");
}

}  // namespace
}  // namespace mirovane
