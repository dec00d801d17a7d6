#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>

#include "alarms/alarm_engine.h"
#include "support.h"

namespace mirovane {
namespace {

using test::Sj;
namespace fs = std::filesystem;

// "YYYY-MM-DD HH:MM[:SS[.mmm]]" as a date-time value.
double At(const char* text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
  std::sscanf(text, "%d-%d-%d %d:%d:%d.%d", &y, &mo, &d, &h, &mi, &s, &ms);
  return JoinDateTime(DayNumberFromCivil(y, mo, d), ((h * 60LL + mi) * 60 + s) * 1000 + ms);
}

std::string Text(double value) {
  const DayAndTime t = SplitDateTime(value);
  const CivilDate c = CivilFromDayNumber(t.day);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", c.year, c.month, c.day,
                t.msOfDay / 3600000, t.msOfDay / 60000 % 60, t.msOfDay / 1000 % 60,
                t.msOfDay % 1000);
  return buf;
}

struct Shown {
  std::string text;  // UTF-8
  int kind;
  bool confirm;
  bool beep;
  bool busyMeanwhile;
};

class FakeHost : public AlarmHost {
 public:
  bool ShowMessageWindow(std::string_view text, int kind, bool withConfirm, bool beep) override {
    shown.push_back({Cp932ToUtf8(text), kind, withConfirm, beep, busy && *busy});
    return withConfirm && confirm;
  }
  bool FileExists(std::string_view path) override { return files.count(std::string(path)) > 0; }
  void SoundBeep(unsigned type) override { beeps.push_back(type); }
  bool ShellOpen(std::string_view file, std::string_view parameters) override {
    opened.emplace_back(file, parameters);
    return true;
  }
  bool StartProgram(std::string_view path, std::string_view commandLine) override {
    started.emplace_back(path, commandLine);
    return true;
  }
  void SetAlarmTimer(bool enabled, unsigned intervalMs) override {
    timerEnabled = enabled;
    interval = intervalMs;
  }
  int ShowAlarmListDialog(std::uint8_t selectIndex) override {
    dialogSelections.push_back(selectIndex);
    if (onDialog) onDialog();
    return dialogResult;
  }

  const bool* busy = nullptr;
  bool confirm = false;
  std::vector<Shown> shown;
  std::set<std::string> files;
  std::vector<unsigned> beeps;
  std::vector<std::pair<std::string, std::string>> opened;
  std::vector<std::pair<std::string, std::string>> started;
  bool timerEnabled = false;
  unsigned interval = 0;
  std::vector<int> dialogSelections;
  int dialogResult = kModalCancel;
  std::function<void()> onDialog;
};

struct DueCase {
  const char* now;
  const char* line;
  bool startup;
  const char* expected;
};

class AlarmEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { host.busy = &busy; }
  void TearDown() override {
    if (!dir.empty()) fs::remove_all(dir);
  }

  void Now(const char* text) { clock.SetDateTimeEx(At(text)); }
  static std::vector<std::string> Lines(std::initializer_list<std::string_view> utf8) {
    std::vector<std::string> lines;
    for (std::string_view l : utf8) lines.push_back(Sj(l));
    return lines;
  }
  // The due moment of the one entry of `line` loaded at `now`, or its state.
  std::string DueOf(const char* now, std::string_view line, bool startup = false) {
    Now(now);
    engine.LoadAlarmLines(Lines({line}), startup);
    switch (engine.EntryState(0)) {
      case AlarmEntryState::Active:
        return Text(engine.Entries()[0].Due);
      case AlarmEntryState::DueError:
        return "due-error";
      default:
        return "inactive";
    }
  }
  void ExpectDues(std::initializer_list<DueCase> cases) {
    for (const DueCase& c : cases) {
      EXPECT_EQ(DueOf(c.now, c.line, c.startup), c.expected)
          << "at " << c.now << (c.startup ? " (start-up) " : " ") << c.line;
    }
  }
  // Writes the list file and loads it as the program does.
  void LoadFile(std::initializer_list<std::string_view> utf8, bool startup = false) {
    if (dir.empty()) {
      dir = fs::temp_directory_path() /
            ("mirovane-alarms-" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
      fs::remove_all(dir);
      fs::create_directories(dir);
    }
    ASSERT_TRUE(WriteAlarmLines(dir / "Mirovane.txt", Lines(utf8)));
    engine.SetAlarmListPath(dir / "Mirovane.txt");
    ASSERT_TRUE(engine.LoadAlarms(startup));
    engine.SelectNextAlarm(true);
  }

  DateTimeFormatter clock;
  FakeHost host;
  bool busy = false;
  AlarmEngine engine{host, busy, clock.Current()};
  fs::path dir;
};

#define EXPECT_DUES(...) ExpectDues({__VA_ARGS__})

TEST_F(AlarmEngineTest, DailyTimeOfDay) {
  EXPECT_DUES({"2024-05-06 07:59", "*xxxx/xx/xx 08:00  Msg:x", false, "2024-05-06 08:00:00.000"},
              // At start-up the same minute still counts as to come: it fires at once.
              {"2024-05-06 08:00:30", "*xxxx/xx/xx 08:00  Msg:x", true, "2024-05-06 08:00:00.000"},
              {"2024-05-06 08:00", "*xxxx/xx/xx 08:00  Msg:x", false, "2024-05-07 08:00:00.000"},
              {"2024-05-06 08:00:30", "*xxxx/xx/xx 08:00  Msg:x", false, "2024-05-07 08:00:00.000"},
              {"2024-05-06 09:00", "*xxxx/xx/xx 08:00  Msg:x", true, "2024-05-07 08:00:00.000"},
              {"2024-12-31 23:00", "*xxxx/xx/xx 00:00  Msg:x", false, "2025-01-01 00:00:00.000"},
              {"2024-05-06 12:00", "*xxxx/xx/xx 24:00  Msg:x", false, "due-error"});
}

TEST_F(AlarmEngineTest, SpecificDates) {
  EXPECT_DUES({"2024-05-06 12:00", "*2024/05/05 12:30  Msg:x", false, "inactive"},
              {"2024-05-06 12:00", "*2024/05/06 11:00  Msg:x", false, "inactive"},
              {"2024-05-06 12:00", "*2024/05/06 12:30  Msg:x", false, "2024-05-06 12:30:00.000"},
              {"2024-05-06 12:00", "*2024/02/29 12:30  Msg:x", false, "inactive"},
              {"2024-05-06 12:00", "*2023/02/30 12:30  Msg:x", false, "due-error"},
              {"2024-05-06 12:00", "*2024/13/01 12:30  Msg:x", false, "due-error"},
              {"2024-05-06 12:00", "*0000/01/01 12:30  Msg:x", false, "due-error"},
              {"2024-05-06 12:00", "*-001/01/01 12:30  Msg:x", false, "due-error"});
}

TEST_F(AlarmEngineTest, MonthlyAcrossMonthAndYearEnds) {
  EXPECT_DUES({"2024-04-10 12:00", "*xxxx/xx/31 07:00  Msg:x", false, "2024-04-30 07:00:00.000"},
              {"2024-02-10 12:00", "*xxxx/xx/31*07:00  Msg:x", false, "2024-02-29 07:00:00.000"},
              {"2023-02-28 12:00", "*xxxx/xx/31*07:00  Msg:x", false, "2023-03-31 07:00:00.000"},
              {"2024-05-15 08:00", "*xxxx/xx/15 07:45  Msg:x", false, "2024-06-15 07:45:00.000"},
              {"2024-12-20 08:00", "*xxxx/xx/15 07:45  Msg:x", false, "2025-01-15 07:45:00.000"},
              {"2024-01-31 08:00", "*xxxx/xx/31 07:45  Msg:x", false, "2024-02-29 07:45:00.000"},
              {"2024-05-06 12:00", "*xxxx/xx/-1 07:45  Msg:x", false, "2024-05-31 07:45:00.000"},
              {"2024-05-06 12:00", "*xxxx/xx/00 07:45  Msg:x", false, "due-error"},
              // The same dates through the every-N-minutes day change.
              {"2024-05-15 23:50", "*xxxx/xx/15 030分  Msg:x", false, "2024-06-15 00:00:00.000"});
}

TEST_F(AlarmEngineTest, YearlyAcrossLeapYearsAndYearEnds) {
  EXPECT_DUES({"2023-01-10 12:00", "*xxxx/02/29 09:00  Msg:x", false, "2023-02-28 09:00:00.000"},
              {"2023-01-10 12:00", "*xxxx/02/29*09:00  Msg:x", false, "2024-02-29 09:00:00.000"},
              {"2024-03-01 12:00", "*xxxx/02/29*09:00  Msg:x", false, "2028-02-29 09:00:00.000"},
              {"2096-03-01 12:00", "*xxxx/02/29*09:00  Msg:x", false, "2104-02-29 09:00:00.000"},
              {"2024-02-29 10:00", "*xxxx/02/29 09:00  Msg:x", false, "2025-02-28 09:00:00.000"},
              {"2024-12-31 12:00", "*xxxx/12/31 09:00  Msg:x", false, "2025-12-31 09:00:00.000"},
              {"2024-12-31 12:00", "*xxxx/01/01 09:00  Msg:x", false, "2025-01-01 09:00:00.000"},
              {"2024-05-06 12:00", "*xxxx/06/00 09:00  Msg:x", false, "due-error"},
              // A leap-year search past 9999 gives the no-alarm moment, whatever the time.
              {"9997-03-01 12:00", "*xxxx/02/29*08:00  Msg:x", false, "9999-12-31 23:59:59.136"});
}

TEST_F(AlarmEngineTest, Weekdays) {
  EXPECT_DUES({"2024-05-08 12:00", "*[8]:週末   09:00  Msg:x", false, "2024-05-11 09:00:00.000"},
              {"2024-05-11 10:00", "*[7]:平日   08:00  Msg:x", false, "2024-05-13 08:00:00.000"},
              {"2024-05-10 10:00", "*[7]:平日   08:00  Msg:x", false, "2024-05-13 08:00:00.000"},
              {"2024-12-31 10:00", "*[1]:月     08:00  Msg:x", false, "2025-01-06 08:00:00.000"},
              {"2024-05-12 14:00", "*[0]:日     13:00  Msg:x", false, "2024-05-19 13:00:00.000"},
              {"2024-05-06 12:00", "*[9]:毎日   08:00  Msg:x", false, "2024-05-07 08:00:00.000"});
}

TEST_F(AlarmEngineTest, HourlyKeepsSecondsUntilTheDayChanges) {
  EXPECT_DUES(
      {"2024-05-06 09:20:07.250", "*xxxx/xx/xx 後:15  Msg:x", false, "2024-05-06 12:15:07.250"},
      {"2024-05-06 23:20:07.250", "*xxxx/xx/xx xx:15  Msg:x", false, "2024-05-07 00:15:00.000"},
      {"2024-05-06 09:15:30", "*xxxx/xx/xx xx:15  Msg:x", false, "2024-05-06 10:15:30.000"},
      {"2024-05-06 09:15:30", "*xxxx/xx/xx xx:15  Msg:x", true, "2024-05-06 09:15:30.000"},
      {"2024-05-06 13:00", "*xxxx/xx/xx 前:30  Msg:x", false, "2024-05-07 00:30:00.000"},
      {"2024-05-06 07:10", "*xxxx/xx/xx 夜:00  Msg:x", false, "2024-05-06 18:00:00.000"},
      {"2024-05-31 23:20", "*xxxx/xx/31*xx:15  Msg:x", false, "2024-06-30 00:15:00.000"},
      {"2024-05-06 12:00", "*xxxx/xx/xx xx:60  Msg:x", false, "due-error"});
}

TEST_F(AlarmEngineTest, EveryNMinutesInEachBand) {
  EXPECT_DUES({"2024-05-06 12:00:10", "*xxxx/xx/xx 030分  Msg:x", false, "2024-05-06 12:30:10.000"},
              {"2024-05-06 11:50", "*xxxx/xx/xx 030前  Msg:x", false, "2024-05-07 00:00:00.000"},
              {"2024-05-06 10:00", "*xxxx/xx/xx 030後  Msg:x", false, "2024-05-06 12:30:00.000"},
              // Past the band's end the day changes and the cycle restarts at the band's start.
              {"2024-05-06 17:50", "*xxxx/xx/xx 030昼  Msg:x", false, "2024-05-07 06:00:00.000"},
              {"2024-05-06 03:00:10", "*xxxx/xx/xx 030昼  Msg:x", false, "2024-05-06 06:30:10.000"},
              {"2024-05-06 10:00", "*xxxx/xx/xx 030夜  Msg:x", false, "2024-05-06 18:30:00.000"},
              {"2024-05-06 23:50", "*xxxx/xx/xx 030夜  Msg:x", false, "2024-05-07 00:00:00.000"},
              {"2024-05-10 23:50", "*[7]:平日   030分  Msg:x", false, "2024-05-13 00:00:00.000"},
              {"2024-05-06 23:50", "*xxxx/xx/xx 015分  Msg:x", false, "2024-05-07 00:00:00.000"});
}

TEST_F(AlarmEngineTest, StartUpKinds) {
  EXPECT_DUES({"2024-05-06 12:00:30", "*xxxx/xx/xx 015分* Msg:x", true, "2024-05-06 12:00:30.000"},
              {"2024-05-06 12:00:30", "*xxxx/xx/xx 015分* Msg:x", false, "2024-05-06 12:15:30.000"},
              {"2024-05-06 11:50", "*xxxx/xx/xx S05前  Msg:x", true, "2024-05-06 11:55:00.000"},
              {"2024-05-06 11:58", "*xxxx/xx/xx S05前  Msg:x", true, "inactive"},
              {"2024-05-06 17:58", "*xxxx/xx/xx S05夜  Msg:x", true, "2024-05-06 18:03:00.000"},
              {"2024-05-06 11:58", "*xxxx/xx/xx Start  Msg:x", false, "inactive"},
              {"2024-05-06 12:00", "*[1]:月     Start  Msg:x", true, "2024-05-06 12:00:00.000"},
              {"2024-05-06 12:00", "*[2]:火     Start  Msg:x", true, "inactive"});
}

// Every date and time rule that runs past 9999-12-31 leaves its entry active on the no-alarm
// moment, which is never chosen, so it never fires; 9999-12-31 itself still fires.
TEST_F(AlarmEngineTest, DueMomentsAfter9999NeverFire) {
  const char* const never = "9999-12-31 23:59:59.136";  // the no-alarm moment
  EXPECT_EQ(Text(kNoAlarmMoment), never);
  EXPECT_DUES({"9997-03-01 12:00", "*xxxx/02/29*08:00  Msg:x", false, never},
              {"9999-12-31 09:00", "*xxxx/12/31 08:00  Msg:x", false, never},
              {"9999-12-31 09:00", "*xxxx/xx/31*08:00  Msg:x", false, never},
              {"9999-12-31 09:00", "*xxxx/xx/xx 08:00  Msg:x", false, never},
              {"9999-12-31 23:20", "*xxxx/xx/xx xx:15  Msg:x", false, never},
              {"9999-12-31 23:50", "*xxxx/xx/xx 030分  Msg:x", false, never},
              {"9999-12-31 09:00", "*[5]:金     08:00  Msg:x", false, never},
              {"9999-12-31 09:00", "*xxxx/xx/xx 23:59  Msg:x", false, "9999-12-31 23:59:00.000"},
              {"9999-12-31 22:00", "*xxxx/xx/xx xx:30  Msg:x", false, "9999-12-31 22:30:00.000"});

  Now("9999-12-31 09:00");
  LoadFile({"*xxxx/02/29*08:00  Msg:a", "*xxxx/xx/xx 08:00  Msg:b", "*9999/12/31 23:59  Msg:c"});
  EXPECT_EQ(engine.EntryState(0), AlarmEntryState::Active);
  EXPECT_EQ(engine.Entries()[0].Due, kNoAlarmMoment);
  EXPECT_EQ(engine.Entries()[1].Due, kNoAlarmMoment);
  EXPECT_EQ(engine.NextAlarmIndex(), 2);
  Now("9999-12-31 23:59:59.900");  // the clock's last moment
  engine.Timer4Timer();
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].text, "c");
  EXPECT_EQ(engine.NextAlarmIndex(), kNoAlarmIndex);
  for (int tick = 0; tick < 3; ++tick) engine.Timer4Timer();
  EXPECT_EQ(host.shown.size(), 1u);
}

TEST_F(AlarmEngineTest, IsPastComparesMinutesOnTheSameDay) {
  Now("2024-05-06 08:00:30");
  EXPECT_TRUE(engine.IsPast(At("2024-05-06 08:00"), true));
  EXPECT_FALSE(engine.IsPast(At("2024-05-06 08:00"), false));
  EXPECT_FALSE(engine.IsPast(At("2024-05-06 08:00:59.999"), false));  // seconds play no part
  EXPECT_TRUE(engine.IsPast(At("2024-05-06 07:59:59.999"), false));
  EXPECT_FALSE(engine.IsPast(At("2024-05-06 08:01"), true));
  EXPECT_TRUE(engine.IsPast(At("2024-05-05 23:59"), false));
  EXPECT_FALSE(engine.IsPast(At("2024-05-07 00:00"), true));
  EXPECT_FALSE(engine.IsPast(kNoAlarmMoment, true));
}

TEST_F(AlarmEngineTest, FailuresAreReportedWithTheirListNumbers) {
  Now("2024-05-06 12:00");
  engine.LoadAlarmLines(Lines({"*xxxx/xx/xx 13:00  Msg:x", "*2023/02/30 12:00  Msg:x",
                               "*xxxx/xx/xx 分:00  Msg:x", " garbage", "*"}),
                        false);
  ASSERT_EQ(host.shown.size(), 3u);
  EXPECT_EQ(host.shown[0].text,
            "アラームの設定に失敗しました。\r\nリスト番号 2 の設定を確認して下さい。");
  EXPECT_EQ(
      host.shown[1].text,
      "アラーム設定リストの読み込みに失敗しました。\r\nリスト番号 3 の設定を確認して下さい。");
  EXPECT_EQ(
      host.shown[2].text,
      "アラーム設定リストの読み込みに失敗しました。\r\nリスト番号 5 の設定を確認して下さい。");
  for (const Shown& s : host.shown) {
    EXPECT_EQ(s.kind, kMessageWarning);
    EXPECT_TRUE(s.beep);
    EXPECT_FALSE(s.confirm);
  }
  EXPECT_EQ(engine.EntryState(0), AlarmEntryState::Active);
  EXPECT_EQ(engine.EntryState(1), AlarmEntryState::DueError);
  EXPECT_EQ(engine.EntryState(2), AlarmEntryState::ParseError);
  EXPECT_EQ(engine.EntryState(3), AlarmEntryState::Paused);
  EXPECT_EQ(engine.EntryState(4), AlarmEntryState::ParseError);
  for (std::size_t i = 1; i < 5; ++i) EXPECT_FALSE(engine.Entries()[i].Active);
  engine.SelectNextAlarm(true);
  EXPECT_EQ(engine.NextAlarmIndex(), 0);
}

TEST_F(AlarmEngineTest, EqualDueMomentsAreEqualAndTheLowerIndexWins) {
  Now("2024-05-06 12:00");
  engine.LoadAlarmLines(
      Lines({"*xxxx/xx/xx 030分  Msg:a", "*xxxx/xx/xx 12:30  Msg:b", "*xxxx/xx/xx xx:30  Msg:c"}),
      false);
  EXPECT_EQ(engine.Entries()[0].Due, engine.Entries()[1].Due);
  EXPECT_EQ(engine.Entries()[1].Due, engine.Entries()[2].Due);
  EXPECT_EQ(engine.Entries()[1].Due, At("2024-05-06 12:30"));
  engine.SelectNextAlarm(true);
  EXPECT_EQ(engine.NextAlarmIndex(), 0);
  engine.LoadAlarmLines(
      Lines({"*xxxx/xx/xx 12:31  Msg:a", "*xxxx/xx/xx 12:30  Msg:b", "*xxxx/xx/xx 030分  Msg:c"}),
      false);
  engine.SelectNextAlarm(true);
  EXPECT_EQ(engine.NextAlarmIndex(), 1);
}

TEST_F(AlarmEngineTest, NoAlarmAndTheTimerInterval) {
  Now("2024-05-06 12:00");
  engine.LoadAlarmLines({}, true);
  engine.SelectNextAlarm(true);
  EXPECT_EQ(engine.NextAlarmIndex(), kNoAlarmIndex);
  EXPECT_EQ(engine.NextAlarmDue(), kNoAlarmMoment);
  EXPECT_TRUE(host.timerEnabled);
  EXPECT_EQ(host.interval, 5000u);
  engine.SetCheckInterval(0);
  engine.SelectNextAlarm(false);
  EXPECT_EQ(host.interval, 500u);
  engine.SetCheckInterval(30);
  engine.LoadAlarmLines(Lines({"*xxxx/xx/xx 015分* Msg:x"}), true);  // due at once
  engine.SelectNextAlarm(true);
  EXPECT_EQ(host.interval, 500u);
  Now("2024-05-06 11:00");
  engine.SelectNextAlarm(false);
  EXPECT_EQ(host.interval, 30000u);
  // Only the first 251 lines are loaded.
  engine.LoadAlarmLines(std::vector<std::string>(300, "*xxxx/xx/xx 08:00  Msg:x"), false);
  EXPECT_EQ(engine.Entries().size(), kMaxAlarmEntries);
}

TEST_F(AlarmEngineTest, TickFiresDueAlarmsOneAtATimeInOrder) {
  Now("2024-05-06 12:00");
  LoadFile({"*xxxx/xx/xx 12:30  Inf$会議\\n資料", "*xxxx/xx/xx 030分  Msg:b"});
  engine.Timer4Timer();  // not yet due
  Now("2024-05-06 12:29:59");
  engine.Timer4Timer();
  EXPECT_TRUE(host.shown.empty());

  Now("2024-05-06 12:30:00.400");
  busy = true;
  engine.Timer4Timer();
  EXPECT_TRUE(host.shown.empty());  // busy: nothing happens
  busy = false;
  engine.Timer4Timer();
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].text, "会議\r\n資料");
  EXPECT_EQ(host.shown[0].kind, kMessageInformation);
  EXPECT_TRUE(host.shown[0].confirm);
  EXPECT_TRUE(host.shown[0].beep);
  EXPECT_TRUE(host.shown[0].busyMeanwhile);
  EXPECT_FALSE(busy);
  EXPECT_EQ(Text(engine.Entries()[0].Due), "2024-05-07 12:30:00.000");
  // The other alarm due at the same moment follows at the next, quick tick.
  EXPECT_EQ(engine.NextAlarmIndex(), 1);
  EXPECT_EQ(host.interval, 500u);
  engine.Timer4Timer();
  ASSERT_EQ(host.shown.size(), 2u);
  EXPECT_EQ(host.shown[1].text, "b");
  EXPECT_EQ(host.shown[1].kind, kMessagePlain);
  EXPECT_FALSE(host.shown[1].beep);
  EXPECT_EQ(Text(engine.NextAlarmDue()), "2024-05-06 13:00:00.400");
  EXPECT_EQ(host.interval, 5000u);
  EXPECT_TRUE(host.dialogSelections.empty());
}

TEST_F(AlarmEngineTest, ConfirmOpensTheListWithThePendingAlarmSelected) {
  Now("2024-05-06 12:00");
  LoadFile({"*xxxx/xx/xx 13:00  Msg:a", "*xxxx/xx/xx 12:30  Msg:b"});
  Now("2024-05-06 12:30");
  host.confirm = true;
  engine.Timer4Timer();  // the dialog is cancelled: the entry is rescheduled
  EXPECT_EQ(host.dialogSelections, std::vector<int>{1});
  EXPECT_FALSE(busy);
  EXPECT_EQ(Text(engine.Entries()[1].Due), "2024-05-07 12:30:00.000");
  EXPECT_EQ(engine.NextAlarmIndex(), 0);

  // Saved: the list was reloaded from the file, and no stale index is rescheduled.
  Now("2024-05-06 13:00");
  host.dialogResult = kModalOk;
  host.onDialog = [&] {
    WriteAlarmLines(engine.AlarmListPath(), Lines({"*xxxx/xx/xx 18:00  Msg:new"}));
  };
  engine.Timer4Timer();
  EXPECT_FALSE(busy);
  ASSERT_EQ(engine.Entries().size(), 1u);
  EXPECT_EQ(Text(engine.NextAlarmDue()), "2024-05-06 18:00:00.000");
}

// "No pending alarm" is 255, which is also entry 256 of a long list: the list then opens on its
// first entry, as it does with a pending alarm at index 0.
TEST_F(AlarmEngineTest, WithNoPendingAlarmTheListOpensOnItsFirstEntry) {
  Now("2024-05-06 12:00");
  engine.LoadAlarmLines(std::vector<std::string>(300, " xxxx/xx/xx 08:00  Msg:paused"), false);
  engine.SelectNextAlarm(true);
  ASSERT_EQ(engine.NextAlarmIndex(), kNoAlarmIndex);
  engine.OpenAlarmList();
  EXPECT_EQ(host.dialogSelections, std::vector<int>{0});
}

TEST_F(AlarmEngineTest, ChangedOrMissingListAtFiringTime) {
  Now("2024-05-06 12:00");
  LoadFile({"*xxxx/xx/xx 13:00  Msg:a", "*xxxx/xx/xx 12:30  Msg:b"});
  WriteAlarmLines(engine.AlarmListPath(), Lines({"*xxxx/xx/xx 13:00  Msg:a"}));
  Now("2024-05-06 12:30");
  engine.Timer4Timer();
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].text, "アラーム設定リストが変更されています。");
  EXPECT_EQ(engine.NextAlarmIndex(), 0);  // rescheduled all the same

  fs::remove(engine.AlarmListPath());
  Now("2024-05-06 13:00");
  engine.Timer4Timer();
  ASSERT_EQ(host.shown.size(), 2u);
  EXPECT_EQ(host.shown[1].text, "アラーム設定リストを読み込めません。");
  EXPECT_EQ(host.shown[1].kind, kMessageWarning);
  EXPECT_FALSE(host.shown[1].confirm);

  // A list that exists but cannot be read is reported, not taken as empty in silence.
  fs::create_directories(engine.AlarmListPath());
  EXPECT_FALSE(engine.LoadAlarms(false));
  EXPECT_EQ(host.shown.back().text, "アラーム設定リストを読み込めません。");
  EXPECT_TRUE(engine.Entries().empty());
  fs::remove(engine.AlarmListPath());
  EXPECT_TRUE(engine.LoadAlarms(false));  // missing: an empty list, no message
  EXPECT_EQ(host.shown.size(), 3u);
}

// A list beyond a whole-file read's limit is refused unread, at load and when an alarm fires,
// and reported as such; it then behaves like an unreadable list.
TEST_F(AlarmEngineTest, TooLargeListIsReportedAndNotRead) {
  Now("2024-05-06 12:00");
  LoadFile({"*xxxx/xx/xx 12:30  Msg:a"});
  fs::resize_file(engine.AlarmListPath(), kMaxWholeFileBytes + 1);  // sparse, no disk used
  Now("2024-05-06 12:30");
  engine.Timer4Timer();
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].text, "アラーム設定リストが大きすぎるため読み込めません。");
  EXPECT_EQ(host.shown[0].kind, kMessageWarning);
  EXPECT_FALSE(host.shown[0].confirm);
  EXPECT_EQ(Text(engine.NextAlarmDue()), "2024-05-07 12:30:00.000");  // rescheduled all the same

  EXPECT_FALSE(engine.LoadAlarms(false));
  ASSERT_EQ(host.shown.size(), 2u);
  EXPECT_EQ(host.shown[1].text, "アラーム設定リストが大きすぎるため読み込めません。");
  EXPECT_TRUE(engine.Entries().empty());
}

TEST(PerformAlarmLine, RunsFilesWithTheCommandLineAsOneQuotedParameter) {
  FakeHost host;
  host.files = {"C:\\a b\\c.exe"};
  EXPECT_FALSE(PerformAlarmLine("*xxxx/xx/xx 07:30  Exe$C:\\a b\\c.exe::-x -y", host));
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.opened[0].first, "\"C:\\a b\\c.exe\"");
  EXPECT_EQ(host.opened[0].second, "\"-x -y\"");
  EXPECT_EQ(host.beeps, std::vector<unsigned>{0});
  EXPECT_FALSE(PerformAlarmLine("*xxxx/xx/xx 07:30  Exe:C:\\a b\\c.exe", host));
  EXPECT_EQ(host.opened[1].second, "");
  EXPECT_EQ(host.beeps.size(), 1u);
  EXPECT_TRUE(host.shown.empty());

  EXPECT_FALSE(PerformAlarmLine("*xxxx/xx/xx 07:30  Exe:C:\\gone.exe::x", host));
  EXPECT_FALSE(PerformAlarmLine("*xxxx/xx/xx 07:30  Exe:", host));
  ASSERT_EQ(host.shown.size(), 2u);
  EXPECT_EQ(host.shown[0].text, "C:\\gone.exeが見付かりません。");
  EXPECT_EQ(host.shown[1].text, "が見付かりません。");
  EXPECT_EQ(host.shown[1].kind, kMessageWarning);
  EXPECT_TRUE(host.shown[1].beep);
  EXPECT_EQ(host.opened.size(), 2u);
}

// The shell reads "%NAME%" in a path as a variable and would open the file of the expanded name,
// not the one that was checked. Such a program is started by its exact path; anything else such a
// path names is refused with a warning. One percent sign alone is no variable.
TEST(PerformAlarmLine, PathsTheShellWouldRewriteNeverReachIt) {
  FakeHost host;
  host.files = {"C:\\test\\%USERNAME%\\prog.exe", "C:\\test\\%USERNAME%\\a.txt",
                "C:\\100%\\prog.EXE"};
  EXPECT_FALSE(
      PerformAlarmLine("*xxxx/xx/xx 07:30  Exe$C:\\test\\%USERNAME%\\prog.exe::hello", host));
  ASSERT_EQ(host.started.size(), 1u);
  EXPECT_EQ(host.started[0].first, "C:\\test\\%USERNAME%\\prog.exe");
  EXPECT_EQ(host.started[0].second, "\"C:\\test\\%USERNAME%\\prog.exe\" \"hello\"");
  EXPECT_EQ(host.beeps.size(), 1u);

  EXPECT_FALSE(PerformAlarmLine("*xxxx/xx/xx 07:30  Exe$C:\\test\\%USERNAME%\\a.txt", host));
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].text.rfind("C:\\test\\%USERNAME%\\a.txt は、名前に「%」", 0), 0u)
      << host.shown[0].text;
  EXPECT_EQ(host.shown[0].kind, kMessageWarning);
  EXPECT_EQ(host.beeps.size(), 1u);  // nothing was run

  EXPECT_FALSE(PerformAlarmLine("*xxxx/xx/xx 07:30  Exe:C:\\100%\\prog.EXE::x", host));
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.opened[0].first, "\"C:\\100%\\prog.EXE\"");
  EXPECT_EQ(host.started.size(), 1u);
}

TEST(PerformAlarmLine, MessagesShowWithTheConfirmButton) {
  FakeHost host;
  host.confirm = true;
  EXPECT_TRUE(PerformAlarmLine(Sj("*xxxx/xx/xx 07:30  Err$a\\n"), host));
  EXPECT_TRUE(PerformAlarmLine("*xxxx/xx/xx 07:30  Msg:", host));
  EXPECT_TRUE(PerformAlarmLine("*xxxx/xx/xx 07:30  Abc:" + std::string(300, 'z'), host));
  ASSERT_EQ(host.shown.size(), 3u);
  EXPECT_EQ(host.shown[0].text, "a\r\n");
  EXPECT_EQ(host.shown[0].kind, kMessageError);
  EXPECT_EQ(host.shown[1].text, "");
  EXPECT_FALSE(host.shown[1].beep);
  EXPECT_EQ(host.shown[2].text, std::string(255, 'z'));
  EXPECT_EQ(host.shown[2].kind, kMessagePlain);
  for (const Shown& s : host.shown) EXPECT_TRUE(s.confirm);
}

}  // namespace
}  // namespace mirovane
