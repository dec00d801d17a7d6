// The main window created in-process: its control tree, window styles, first showing, display
// refresh and closing. Its layout and settings have tests of their own.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <memory>

#include "app/application.h"
#include "app/calendar_dialog.h"
#include "app/main_window_fixture.h"
#include "app/win_test_support.h"
#include "format/formatter.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/regional.h"

namespace mirovane {
namespace {

using namespace std::chrono_literals;
using testing::ClassName;
using testing::PumpMessagesFor;
using testing::SetTextCounter;
using testing::TakeQuitMessage;
using testing::WindowText;

constexpr double kSecond = 1.0 / 86400.0;

class CalendarDialogTest : public testing::MainWindowTest {
 protected:
  static std::wstring Formatted(const TCalendarDialog& d, const std::string& format) {
    return Cp932ToWide(d.Display.FormatDateTimeEx(format));
  }
};

TEST_F(CalendarDialogTest, ControlTreeAfterCreation) {
  TCalendarDialog& d = Created();
  const HWND w = d.Handle();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(ClassName(w), kCalendarDialogClass);
  EXPECT_EQ(WindowText(w), L"Mirovane");

  EXPECT_EQ(GetParent(d.BackPanel.Handle()), w);
  EXPECT_EQ(GetParent(d.ClockPanel.Handle()), d.BackPanel.Handle());
  EXPECT_EQ(GetParent(d.MainPanel.Handle()), d.BackPanel.Handle());
  EXPECT_EQ(GetParent(d.ClockLabel.Handle()), d.ClockPanel.Handle());
  EXPECT_EQ(GetParent(d.DateLabel.Handle()), d.MainPanel.Handle());
  EXPECT_EQ(GetParent(d.TimeLabel.Handle()), d.MainPanel.Handle());
  EXPECT_EQ(GetParent(d.MainCalendar.Handle()), d.MainPanel.Handle());

  // Other processes find the controls by these ids.
  EXPECT_EQ(GetDlgCtrlID(d.DateLabel.Handle()), kDateLabelId);
  EXPECT_EQ(GetDlgCtrlID(d.TimeLabel.Handle()), kTimeLabelId);
  EXPECT_EQ(testing::FindDescendantById(w, kTimeLabelId), d.TimeLabel.Handle());

  EXPECT_EQ(ClassName(d.DateLabel.Handle()), L"Static");
  EXPECT_EQ(ClassName(d.MainCalendar.Handle()), L"SysMonthCal32");
  const LONG_PTR labelStyle = GetWindowLongPtrW(d.DateLabel.Handle(), GWL_STYLE);
  EXPECT_EQ(labelStyle & SS_TYPEMASK, SS_CENTER);
  EXPECT_TRUE(labelStyle & SS_CENTERIMAGE);
  EXPECT_TRUE(labelStyle & SS_NOPREFIX);

  EXPECT_TRUE(d.DateLabel.Visible());
  EXPECT_TRUE(d.TimeLabel.Visible());
  EXPECT_FALSE(d.MainCalendar.Visible());
  // Before the first showing the time label holds one blank.
  EXPECT_EQ(WindowText(d.TimeLabel.Handle()), L" ");

  // The calendar is set to today.
  SYSTEMTIME sel{};
  SendMessageW(d.MainCalendar.Handle(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&sel));
  EXPECT_EQ(sel.wYear, d.Display.Current().Year);
  EXPECT_EQ(sel.wMonth, d.Display.Current().Month);
  EXPECT_EQ(sel.wDay, d.Display.Current().Day);
}

TEST_F(CalendarDialogTest, StateAndTimersBeforeAndAfterFirstShow) {
  TCalendarDialog& d = Created();
  EXPECT_EQ(d.Tag, 0);
  EXPECT_TRUE(d.BusyFlag);
  EXPECT_FALSE(d.InTray);
  EXPECT_TRUE(d.TrayIconPresent);  // HideTrayIcon is off by default
  EXPECT_EQ(d.HideCountdown, 0);
  EXPECT_EQ(d.Alarms.NextAlarmIndex(), 255);
  const std::filesystem::path exe = ExecutablePath();
  EXPECT_EQ(d.AlarmListPath, std::filesystem::path(exe).replace_extension(".txt"));
  EXPECT_EQ(d.ReadmePath, exe.parent_path() / "Readme.txt");
  // The creation already moved the current date-time to now.
  EXPECT_NEAR(d.Display.Current().Value, LocalNow(), 2 * kSecond);

  // During start-up the display refresh runs at DspCycle x 10 ms and the alarm tick, started by
  // the alarm selection, at AlarmChk seconds; the hide and position timers wait for the first show.
  EXPECT_TRUE(d.Timer3.Running());
  EXPECT_EQ(d.Timer3.Interval(), 500u);
  EXPECT_FALSE(d.Timer1.Running());
  EXPECT_FALSE(d.Timer2.Running());
  EXPECT_TRUE(d.Timer4.Running());
  EXPECT_EQ(d.Timer4.Interval(), 5000u);
  EXPECT_EQ(d.Timer1.Interval(), 100u);
  EXPECT_EQ(d.Timer2.Interval(), 5000u);

  d.Show();
  EXPECT_EQ(d.Tag, 1);
  EXPECT_FALSE(d.BusyFlag);
  EXPECT_TRUE(d.Timer1.Running());
  EXPECT_TRUE(d.Timer2.Running());

  // Later showings do not lay out again: the visibility chosen at the first one stays.
  d.Settings.HideNowDate = true;
  ShowWindow(d.Handle(), SW_HIDE);
  d.Show();
  EXPECT_TRUE(d.DateLabel.Visible());
}

TEST_F(CalendarDialogTest, BorderlessTopmostWithoutTaskbarButton) {
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(w, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME));
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
  EXPECT_TRUE(IsWindowVisible(w));

  // Owned by the hidden application window, whose extended style is exactly the tool-window one.
  const HWND owner = GetWindow(w, GW_OWNER);
  EXPECT_EQ(owner, app_.Handle());
  EXPECT_EQ(GetWindowLongPtrW(owner, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
  EXPECT_FALSE(IsWindowVisible(owner));

  // No frame: the client area is the whole window.
  RECT window{}, client{};
  GetWindowRect(w, &window);
  GetClientRect(w, &client);
  EXPECT_EQ(window.right - window.left, client.right);
  EXPECT_EQ(window.bottom - window.top, client.bottom);
}

TEST_F(CalendarDialogTest, LabelsShowCurrentDateAndTime) {
  TCalendarDialog& d = Shown();
  const std::wstring date = WindowText(d.DateLabel.Handle());
  const std::wstring time = WindowText(d.TimeLabel.Handle());
  SYSTEMTIME now{};
  GetLocalTime(&now);

  // The texts are the formats rendered at the current date-time, which is now (not the sample
  // moment the layout measured on).
  EXPECT_NEAR(d.Display.Current().Value, LocalNow(), 2 * kSecond);
  EXPECT_EQ(date, Formatted(d, d.Settings.DateFormat));
  EXPECT_EQ(time, Formatted(d, d.Settings.TimeFormat));

  // And independently of the formatter: "yyyy/mm/dd(" and "hh:nn:ss" of the system clock.
  wchar_t day[16];
  std::swprintf(day, 16, L"%04u/%02u/%02u(", now.wYear, now.wMonth, now.wDay);
  EXPECT_EQ(date.substr(0, 11), day);
  EXPECT_EQ(date.back(), L')');
  unsigned h = 0, m = 0, s = 0;
  ASSERT_EQ(std::swscanf(time.c_str(), L"%u:%u:%u", &h, &m, &s), 3) << time;
  const int shown = static_cast<int>(h * 3600 + m * 60 + s);
  const int clock = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
  EXPECT_LE((clock - shown + 86400) % 86400, 2) << time;
}

TEST_F(CalendarDialogTest, RefreshSetsOnlyChangedTexts) {
  TCalendarDialog& d = Shown();
  // A clock of the test's own, 3 ms further at every reading.
  double clock = LocalNow();
  d.nowSource = [&] { return clock += 0.003 * kSecond; };
  SetTextCounter dateSets(d.DateLabel.Handle());
  SetTextCounter timeSets(d.TimeLabel.Handle());
  d.Settings.DateFormat = Utf8ToCp932("'日付'");
  d.Settings.TimeFormat = Utf8ToCp932("yyyy'年'");

  const double before = d.Display.Current().Value;
  for (int i = 0; i < 5; ++i) d.RefreshDisplay();
  EXPECT_GT(d.Display.Current().Value, before);
  EXPECT_EQ(dateSets.count(), 1);
  EXPECT_EQ(timeSets.count(), 1);
  EXPECT_EQ(WindowText(d.DateLabel.Handle()), L"日付");
  EXPECT_EQ(WindowText(d.TimeLabel.Handle()), Formatted(d, d.Settings.TimeFormat));

  // A hidden label keeps its text and catches up at the first refresh after it shows again.
  d.DateLabel.SetVisible(false);
  d.Settings.DateFormat = "yyyy";
  d.RefreshDisplay();
  EXPECT_EQ(WindowText(d.DateLabel.Handle()), L"日付");
  d.DateLabel.SetVisible(true);
  d.RefreshDisplay();
  EXPECT_EQ(WindowText(d.DateLabel.Handle()), Formatted(d, "yyyy"));
  EXPECT_EQ(dateSets.count(), 2);
}

TEST_F(CalendarDialogTest, DisplayRefreshTimerKeepsTheTimeCurrent) {
  TCalendarDialog& d = Shown();
  EXPECT_EQ(d.Timer3.Interval(), 500u);
  const testing::ManualTimer timer3(d.Handle(), d.Timer3);
  // The clock the window follows, moved by the test: a tick shows the time it reads, and a tick
  // within the same second sets no text.
  double clock = LocalNow();
  d.nowSource = [&] { return clock; };
  SetTextCounter timeSets(d.TimeLabel.Handle());
  clock += 61 * kSecond;
  timer3.Tick();
  EXPECT_EQ(timeSets.count(), 1);
  EXPECT_NEAR(d.Display.Current().Value, clock, 0.001 * kSecond);
  EXPECT_EQ(WindowText(d.TimeLabel.Handle()), Formatted(d, d.Settings.TimeFormat));
  clock += 0.2 * kSecond;
  timer3.Tick();
  EXPECT_LE(timeSets.count(), 2);  // a new second may begin within 0.2 s
  EXPECT_EQ(WindowText(d.TimeLabel.Handle()), Formatted(d, d.Settings.TimeFormat));
  // Without the test's clock the window follows the system's.
  d.nowSource = nullptr;
  timer3.Tick();
  EXPECT_NEAR(d.Display.Current().Value, LocalNow(), 1.0 * kSecond);
}

TEST_F(CalendarDialogTest, ClosingEndsTheMessageLoop) {
  TCalendarDialog& d = Shown();
  PumpMessagesFor(50ms);
  TakeQuitMessage();
  const HWND w = d.Handle();
  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_TRUE(TakeQuitMessage());
  // The wrappers know their windows are gone.
  EXPECT_EQ(d.Handle(), nullptr);
  EXPECT_EQ(d.DateLabel.Handle(), nullptr);
  EXPECT_EQ(d.MainPanel.Handle(), nullptr);
  EXPECT_FALSE(d.Timer3.Running());
}

TEST_F(CalendarDialogTest, AltF4Closes) {
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  TakeQuitMessage();
  SendMessageW(w, WM_SYSKEYDOWN, VK_F4, 0x20000001);  // context code: Alt held
  PumpMessagesFor(200ms);
  EXPECT_FALSE(IsWindow(w));
}

}  // namespace
}  // namespace mirovane
