#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "format/datetime.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace mirovane::cli {
namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result RunCli(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = Run(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(CliFormat, PrintsEachFormatOnItsOwnLine) {
  const Result r = RunCli({"format", "--at", "46364.71191114583", "yyyy/mm/dd hh:nn:ss.zzz",
                           "\\yyyy", "%yyyy", "'abc", "%%%"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "2026/12/08 17:05:09.123\n二〇二六\n２０２６\nabc\n%%\n");
  EXPECT_EQ(r.err, "");
}

TEST(CliFormat, MomentsApplyInOrderFromTheInitialRecord) {
  // The Julian day is computed on a change of day only: a first moment within day 0 keeps it 0.
  Result r = RunCli({"format", "--at", "0.5", "--regional=fixed", "u"});
  EXPECT_EQ(r.out, "1\n");
  r = RunCli({"format", "--at", "46364.5", "--at=0.5", "u"});
  EXPECT_EQ(r.out, "2415020\n");
  r = RunCli(
      {"format", "--at", "2026-12-08T17:05:09.123", "--at", "-1.25", "yyyy-mm-dd hh:nn:ss.zzz"});
  EXPECT_EQ(r.out, "1899-12-29 06:00:00.000\n");
  r = RunCli({"format", "--regional=fixed", "--at", "2026-12-08T17:05:09", "c"});
  EXPECT_EQ(r.out, "2026/12/08 17:05:09\n");
}

TEST(CliFormat, NewErasOnlyWhenAsked) {
  struct Case {
    const char* at;
    const char* plain;
    const char* newEras;
  };
  for (const Case& c :
       {Case{"2019-04-30T23:59:59.999", "平成31|へいせい|H|平成３１\n",
             "平成31|へいせい|H|平成３１\n"},
        Case{"2019-05-01T00:00:00", "平成31|へいせい|H|平成３１\n", "令和1|れいわ|R|令和０１\n"},
        Case{"2026-12-08T17:05:09", "平成38|へいせい|H|平成３８\n", "令和8|れいわ|R|令和０８\n"}}) {
    EXPECT_EQ(RunCli({"format", "--at", c.at, "ggge|GGG|g|%gggee"}).out, c.plain) << c.at;
    EXPECT_EQ(RunCli({"format", "--new-eras", "--at", c.at, "ggge|GGG|g|%gggee"}).out, c.newEras)
        << c.at;
  }
}

TEST(CliFormat, Cp932OutputAndCutCharacters) {
  Result r = RunCli({"format", "--at", "46364.71191114583", "--cp932", "\\yy", "表"});
  EXPECT_EQ(r.out, "\x93\xF1\x98\x5A\n\x95\x5C\n");
  // 255 ASCII bytes and a kanji digit: the half character is dropped from the UTF-8 output.
  r = RunCli({"format", "--at", "46364.71191114583", std::string(255, 'x') + "\\y"});
  EXPECT_EQ(r.out, std::string(255, 'x') + "\n");
  r = RunCli({"format", "--at", "46364.71191114583", "--cp932", std::string(255, 'x') + "\\y"});
  EXPECT_EQ(r.out, std::string(255, 'x') + "\x93\n");
}

TEST(CliFormat, BadArgumentsExitWithStatus2) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"frobnicate"},
                                             {"format"},
                                             {"format", "--at"},
                                             {"format", "--at", "yesterday", "yy"},
                                             {"format", "--at", "2026-02-30T00:00:00", "yy"},
                                             {"format", "--at", "2026-12-08T24:00:00", "yy"},
                                             {"format", "--at", "2026-12-08 17:05:09", "yy"},
                                             {"format", "--at", "1e5", "yy"},
                                             {"format", "--regional=system", "yy"},
                                             {"format", "--bogus", "yy"},
                                             // Shift_JIS cannot hold the format: not even the
                                             // formats before it are printed.
                                             {"format", "yyyy", "J\xC3\xBCrgen"},
                                             {"format", "C:\\\xC2\xA5"},
                                             {"format", "a\xFF"}}) {
    const Result r = RunCli(args);
    EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
}

TEST(CliVersion, PrintsTheProjectVersionAndTakesNoOtherArgument) {
  Result r = RunCli({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "mirovane-cli " MIROVANE_VERSION "\n");
  EXPECT_EQ(r.err, "");
  // Three numbers, as the version resource takes them.
  EXPECT_EQ(std::string(MIROVANE_VERSION), std::to_string(MIROVANE_VERSION_MAJOR) + "." +
                                               std::to_string(MIROVANE_VERSION_MINOR) + "." +
                                               std::to_string(MIROVANE_VERSION_PATCH));
  r = RunCli({"--version", "format"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
}

TEST(CliWhen, AcceptsDayNumbersAndLocalTimes) {
  EXPECT_EQ(ParseWhen("46364.71191114583"), 46364.71191114583);
  EXPECT_EQ(ParseWhen("-1.25"), -1.25);
  EXPECT_EQ(ParseWhen("12"), 12.0);
  EXPECT_EQ(ParseWhen("2026-12-08T12:00:00"), 46364.5);
  EXPECT_EQ(ParseWhen("1899-12-29T06:00:00.000"), -1.25);
  EXPECT_EQ(ParseWhen("2024-02-29T00:00:00"), static_cast<double>(DayNumberFromCivil(2024, 2, 29)));
  EXPECT_FALSE(ParseWhen(""));
  EXPECT_FALSE(ParseWhen("-"));
  EXPECT_FALSE(ParseWhen("1."));
  EXPECT_FALSE(ParseWhen(".5"));
  EXPECT_FALSE(ParseWhen("nan"));
  EXPECT_FALSE(ParseWhen("2023-02-29T00:00:00"));
  EXPECT_FALSE(ParseWhen("2026-12-08T12:00:00.5"));
}

// A temporary alarm list of UTF-8 lines, written in cp932 with CR LF.
class AlarmFile {
 public:
  explicit AlarmFile(std::initializer_list<std::string_view> lines)
      : path_(std::filesystem::temp_directory_path() / "mirovane-cli-alarms.txt") {
    std::ofstream out(path_, std::ios::binary);
    for (std::string_view l : lines) out << Utf8ToCp932(l) << "\r\n";
  }
  ~AlarmFile() { std::filesystem::remove(path_); }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

TEST(CliAlarms, StatesAndMessages) {
  const AlarmFile file({"*2023/02/30 12:00  Msg:x", "*xxxx/xx/xx 分:00  Msg:x",
                        "*2024/05/01 12:00  Msg:x", "*xxxx/xx/xx Start  Msg:x", "",
                        "*xxxx/xx/xx 12:00  Msg:x"});
  const Result r = RunCli({"alarms", file.path(), "--now", "2024-05-06T12:00:00.250"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "1 due-error -\n2 parse-error -\n3 inactive -\n4 inactive -\n5 paused -\n"
            "6 active 2024-05-07T12:00:00.000\nnext 6 2024-05-07T12:00:00.000\n");
  EXPECT_EQ(
      r.err,
      "警告: アラームの設定に失敗しました。 リスト番号 1 の設定を確認して下さい。\n"
      "警告: アラーム設定リストの読み込みに失敗しました。 リスト番号 2 の設定を確認して下さい。\n");
}

TEST(CliAlarms, MissingFileAndTheFiringLimit) {
  Result r =
      RunCli({"alarms", "/nonexistent/mirovane.txt", "--now", "46364.5", "--until", "46400"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "next none\n");
  EXPECT_EQ(r.err, "");

  const AlarmFile file({"*xxxx/xx/xx 001分  Msg:x"});
  r = RunCli(
      {"alarms", file.path(), "--now", "2024-05-06T00:00:00", "--until", "2025-01-01T00:00:00"});
  EXPECT_EQ(r.status, 0);
  std::istringstream lines(r.out);
  std::string line, last;
  int fired = 0;
  while (std::getline(lines, line)) {
    if (line.rfind("fire ", 0) == 0) ++fired, last = line;
  }
  EXPECT_EQ(fired, 10000);
  EXPECT_EQ(last, "fire 1 2024-05-12T22:40:00.000");  // 10000 minutes after the first at 00:01
}

TEST(CliAlarms, NothingFiresAfter9999) {
  // A leap-only 29 February searched past 9999 and a daily alarm whose time has passed on
  // 9999-12-31 keep the no-alarm moment; 23:59 on the last day still fires.
  const AlarmFile file(
      {"*xxxx/02/29*08:00  Msg:x", "*xxxx/xx/xx 08:00  Msg:y", "*9999/12/31 23:59  Msg:z"});
  const Result r = RunCli({"alarms", file.path(), "--now", "9999-12-31T09:00:00", "--until",
                           "9999-12-31T23:59:59.999"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "1 active 9999-12-31T23:59:59.136\n2 active 9999-12-31T23:59:59.136\n"
            "3 active 9999-12-31T23:59:00.000\nnext 3 9999-12-31T23:59:00.000\n"
            "fire 3 9999-12-31T23:59:00.000\n");
}

TEST(CliAlarms, UnreadableListAndBadArguments) {
  const auto dir = std::filesystem::temp_directory_path() / "mirovane-cli-alarms-dir";
  std::filesystem::create_directories(dir);
  Result r = RunCli({"alarms", dir.string()});
  std::filesystem::remove(dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "next none\n");
  EXPECT_EQ(r.err, "警告: アラーム設定リストを読み込めません。\n");

  // A list past the size limit is refused unread (sparse file: no disk used).
  {
    const AlarmFile big({"*xxxx/xx/xx 12:00  Msg:x"});
    std::filesystem::resize_file(big.path(), kMaxWholeFileBytes + 1);
    r = RunCli({"alarms", big.path(), "--now", "46364.5"});
  }
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "next none\n");
  EXPECT_EQ(r.err, "警告: アラーム設定リストが大きすぎるため読み込めません。\n");

  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"alarms"},
                                             {"alarms", "a.txt", "b.txt"},
                                             {"alarms", "a.txt", "--now"},
                                             {"alarms", "a.txt", "--now", "noon"},
                                             {"alarms", "a.txt", "--now", "1", "--now", "2"},
                                             {"alarms", "a.txt", "--until=2024-13-01T00:00:00"},
                                             {"alarms", "a.txt", "--startup=yes"},
                                             {"alarms", "--bogus", "a.txt"}}) {
    r = RunCli(args);
    EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
}

}  // namespace
}  // namespace mirovane::cli
