#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "format/datetime.h"

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
  r = RunCli({"format", "--at", "2026-12-08T17:05:09.123", "--at", "-1.25", "yyyy-mm-dd hh:nn:ss.zzz"});
  EXPECT_EQ(r.out, "1899-12-29 06:00:00.000\n");
  r = RunCli({"format", "--at", "2026-12-08T17:05:09", "c"});
  EXPECT_EQ(r.out, "2026/12/08 17:05:09\n");
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
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"frobnicate"},
           {"format"},
           {"format", "--at"},
           {"format", "--at", "yesterday", "yy"},
           {"format", "--at", "2026-02-30T00:00:00", "yy"},
           {"format", "--at", "2026-12-08T24:00:00", "yy"},
           {"format", "--at", "2026-12-08 17:05:09", "yy"},
           {"format", "--at", "1e5", "yy"},
           {"format", "--regional=system", "yy"},
           {"format", "--bogus", "yy"}}) {
    const Result r = RunCli(args);
    EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err, "");
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
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

}  // namespace
}  // namespace mirovane::cli
