// LoadSettings applying the file to the live window, and SaveSettings writing it back: keeping
// what it does not know, and leaving the old file untouched (and saying so) when it cannot write.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <string>

#include "app/main_window_fixture.h"
#include "file_links.h"
#include "platform/ini.h"
#include "settings/settings_codec.h"

namespace mirovane {
namespace {

namespace fs = std::filesystem;
using testing::FontOf;
using testing::PointPixels;
using testing::ReadBytes;
using testing::ScreenRect;
using testing::Width;

class SettingsStore : public testing::MainWindowTest {
 protected:
  // The colours a label asks its parent for (background, text).
  static std::pair<COLORREF, COLORREF> LabelColors(const ui::Label& label) {
    const HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(GetParent(label.Handle()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(label.Handle()));
    const std::pair<COLORREF, COLORREF> colors{GetBkColor(dc), GetTextColor(dc)};
    DeleteDC(dc);
    return colors;
  }
  static COLORREF CalendarColor(const TCalendarDialog& d, int index) {
    return static_cast<COLORREF>(SendMessageW(d.MainCalendar.Handle(), MCM_GETCOLOR, index, 0));
  }
  static int FilesIn(const fs::path& folder) {
    return static_cast<int>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }
};

TEST_F(SettingsStore, LoadAppliesEveryValueToTheWindow) {
  WriteIni(
      "[MainForm]\r\n"
      "AlignRight=0\r\nTopPosition=40\r\nLeftPosition=30\r\nBorderWidth=3\r\nLabelBorder=6\r\n"
      "[Calendar]\r\n"
      "ShowMonthCount=$21\r\nShowWeekNumber=1\r\nShowRedCircle=0\r\nFirstDayOfWeek=0\r\n"
      "FontName=ＭＳ ゴシック\r\nFontSize=14\r\nFontBold=1\r\nFontItalic=1\r\n"
      "[DateTime]\r\n"
      "DateFormat=\"  yyyy'年'  \"\r\nTimeFormat=hh\r\n"
      "FontName=ＭＳ 明朝\r\nFontSize=20\r\nFontBold=0\r\nFontItalic=1\r\n"
      "[ColorSet]\r\n"
      "CalendarBack=clBtnFace\r\nCalendarText=$00112233\r\nTrailText=clRed\r\n"
      "TitleBack=clNavy\r\nTitleText=clYellow\r\n"
      "LabelBack=clSkyBlue\r\nLabelText=clMaroon\r\nBorderColor=clPurple\r\n"
      "[Reaction]\r\nDspCycle=20\r\n");
  TCalendarDialog& d = Created();

  // Position at once, before any layout.
  RECT window = ScreenRect(d.Handle());
  EXPECT_EQ(window.left, 30);
  EXPECT_EQ(window.top, 40);

  // Calendar: grid, options, first day, font and the five colours by their indices.
  EXPECT_EQ(d.MonthColumns(), 2);
  EXPECT_EQ(d.MonthRows(), 1);
  EXPECT_EQ(SendMessageW(d.MainCalendar.Handle(), MCM_GETMONTHDELTA, 0, 0), 2);
  const LONG_PTR style = GetWindowLongPtrW(d.MainCalendar.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & MCS_WEEKNUMBERS);
  EXPECT_TRUE(style & MCS_NOTODAYCIRCLE);
  EXPECT_TRUE(style & MCS_NOTODAY);
  EXPECT_EQ(d.MainCalendar.FirstDayOfWeek(), 0);
  const LOGFONTW calendarFont = FontOf(d.MainCalendar.Handle());
  EXPECT_EQ(std::wstring(calendarFont.lfFaceName), Utf8ToWide("ＭＳ ゴシック"));
  EXPECT_EQ(calendarFont.lfHeight, -PointPixels(14, d.Dpi()));
  EXPECT_EQ(calendarFont.lfWeight, FW_BOLD);
  EXPECT_TRUE(calendarFont.lfItalic);
  EXPECT_EQ(calendarFont.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(CalendarColor(d, MCSC_MONTHBK), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(CalendarColor(d, MCSC_TEXT), 0x112233u);
  EXPECT_EQ(CalendarColor(d, MCSC_TRAILINGTEXT), RGB(255, 0, 0));
  EXPECT_EQ(CalendarColor(d, MCSC_TITLEBK), RGB(0, 0, 128));
  EXPECT_EQ(CalendarColor(d, MCSC_TITLETEXT), RGB(255, 255, 0));

  // Date and time: formats with their blanks, the window font in points on this DPI.
  EXPECT_EQ(d.Settings.DateFormat, Utf8ToCp932("  yyyy'年'  "));
  EXPECT_EQ(d.Settings.TimeFormat, "hh");
  const LOGFONTW labelFont = FontOf(d.DateLabel.Handle());
  EXPECT_EQ(std::wstring(labelFont.lfFaceName), Utf8ToWide("ＭＳ 明朝"));
  EXPECT_EQ(labelFont.lfHeight, -PointPixels(20, d.Dpi()));
  EXPECT_EQ(labelFont.lfWeight, FW_NORMAL);
  EXPECT_TRUE(labelFont.lfItalic);
  EXPECT_EQ(labelFont.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(FontOf(d.TimeLabel.Handle()).lfHeight, labelFont.lfHeight);

  // Area and window colours.
  const COLORREF skyBlue = 0xF0CAA6;
  EXPECT_EQ(d.MainPanel.Color(), skyBlue);
  EXPECT_EQ(d.ClockPanel.Color(), skyBlue);
  EXPECT_EQ(d.BackPanel.Color(), RGB(128, 0, 128));
  EXPECT_EQ(d.Color(), RGB(128, 0, 128));
  EXPECT_EQ(LabelColors(d.DateLabel), std::make_pair(skyBlue, RGB(128, 0, 0)));
  EXPECT_EQ(LabelColors(d.TimeLabel), std::make_pair(skyBlue, RGB(128, 0, 0)));
  // No transparency asked for: not a layered window.
  EXPECT_FALSE(GetWindowLongPtrW(d.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);

  EXPECT_EQ(d.Timer3.Interval(), 200u);
  EXPECT_TRUE(d.Timer3.Running());

  // The layout uses the margins; AlignRight off keeps the left edge.
  d.Show();
  EXPECT_EQ(d.MainPanel.Bounds().left, 3);
  EXPECT_EQ(d.ClockLabel.Bounds().left, 6);
  window = ScreenRect(d.Handle());
  EXPECT_EQ(window.left, 30);
  EXPECT_EQ(window.top, 40);
}

TEST_F(SettingsStore, AlignRightCountsFromTheScreensRightEdge) {
  WriteIni("[MainForm]\r\nLeftPosition=25\r\nTopPosition=-10\r\n");
  TCalendarDialog& d = Shown();
  const RECT window = ScreenRect(d.Handle());
  EXPECT_EQ(window.right, GetSystemMetrics(SM_CXSCREEN) - 25);
  EXPECT_EQ(window.top, -10);
}

TEST_F(SettingsStore, FirstDayOfWeek) {
  WriteIni("[Calendar]\r\nFirstDayOfWeek=3\r\n");
  TCalendarDialog& d = Created();
  EXPECT_EQ(d.MainCalendar.FirstDayOfWeek(), 3);
  d.Settings.FirstDayOfWeek = 9;  // out of range: left as it is
  d.ApplyFirstDayOfWeek();
  EXPECT_EQ(d.MainCalendar.FirstDayOfWeek(), 3);
  d.Settings.FirstDayOfWeek = 6;
  d.ApplyFirstDayOfWeek();
  EXPECT_EQ(d.MainCalendar.FirstDayOfWeek(), 6);
  d.Settings.FirstDayOfWeek = 0;
  d.ApplyFirstDayOfWeek();
  EXPECT_EQ(d.MainCalendar.FirstDayOfWeek(), 0);
  d.Settings.FirstDayOfWeek = 7;  // the regional setting: Sunday in Japan
  d.ApplyFirstDayOfWeek();
  EXPECT_EQ(d.MainCalendar.FirstDayOfWeek(), SystemFirstDayOfWeek());
  EXPECT_EQ(SystemFirstDayOfWeek(), 6);
}

TEST_F(SettingsStore, RefreshAndAlarmPeriods) {
  WriteIni("[Reaction]\r\nDspCycle=10000\r\nAlarmChk=5000\r\n");
  Created();
  EXPECT_EQ(dialog_->Timer3.Interval(), 60000u);  // at most once a minute
  EXPECT_TRUE(dialog_->Timer3.Running());
  EXPECT_EQ(dialog_->Settings.AlarmChk, 1800);

  NewDialog();
  WriteIni("[Reaction]\r\nDspCycle=-5\r\n");
  Created();
  EXPECT_FALSE(dialog_->Timer3.Running());
  EXPECT_EQ(dialog_->Timer3.Interval(), 0u);
}

TEST_F(SettingsStore, ReloadStartsFromDefaultsButKeepsTheFontFaces) {
  WriteIni(
      "[Calendar]\r\nFontName=ＭＳ ゴシック\r\nFontSize=14\r\n"
      "[DateTime]\r\nFontName=ＭＳ 明朝\r\nDateFormat=yyyy\r\n");
  TCalendarDialog& d = Shown();
  // The file changes behind the program's back; a reload (the options dialog's revert) reads it
  // again. A missing key gets its default, a missing face the face in use.
  WriteIni("[MainForm]\r\nBorderWidth=2\r\n");
  d.LoadSettings();
  EXPECT_EQ(d.Settings.BorderWidth, 2);
  EXPECT_EQ(d.Settings.CalendarFont.Size, 11);
  EXPECT_EQ(d.Settings.DateFormat, "yyyy/mm/dd'('aaa')'");
  EXPECT_EQ(d.Settings.CalendarFont.Name, Utf8ToCp932("ＭＳ ゴシック"));
  EXPECT_EQ(d.Settings.DateTimeFont.Name, Utf8ToCp932("ＭＳ 明朝"));
  EXPECT_EQ(FontOf(d.MainCalendar.Handle()).lfHeight, -PointPixels(11, d.Dpi()));
}

TEST_F(SettingsStore, UnreadableOrOddValuesGiveDefaultsQuietly) {
  // A folder where the file should be: read as missing, nothing reported.
  fs::create_directories(IniPath());
  TCalendarDialog& d = Shown();
  EXPECT_EQ(d.Settings.BorderWidth, 1);
  EXPECT_TRUE(d.Settings.AlignRight);
  EXPECT_TRUE(errors_.empty());

  // Font sizes out of any sensible range still give a usable font.
  fs::remove(IniPath());
  WriteIni("[Calendar]\r\nFontSize=0\r\n[DateTime]\r\nFontSize=-40\r\n");
  d.LoadSettings();
  d.ApplyVisibility();
  EXPECT_EQ(FontOf(d.MainCalendar.Handle()).lfHeight, -PointPixels(1, d.Dpi()));
  EXPECT_LT(FontOf(d.DateLabel.Handle()).lfHeight, 0);
  EXPECT_GT(Width(ScreenRect(d.Handle())), 0);
}

TEST_F(SettingsStore, SaveKeepsForeignLinesAndWritesTheLivePosition) {
  WriteIni(
      "; 自分用のメモ\r\n"
      "[MainForm]\r\nCustom=keep me\r\nBorderWidth=2\r\n"
      "[Plugin]\r\nX=1\r\n");
  TCalendarDialog& d = Shown();
  const RECT window = ScreenRect(d.Handle());
  SetWindowPos(d.Handle(), nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  d.Settings.DateFormat = "  yy  ";
  ASSERT_TRUE(d.SaveSettings());
  EXPECT_TRUE(errors_.empty());

  const std::string saved = ReadBytes(IniPath());
  EXPECT_TRUE(saved.starts_with(
      Utf8ToCp932("; 自分用のメモ\r\n[MainForm]\r\nCustom=keep me\r\nBorderWidth=2\r\n")));
  const IniDocument doc(saved);
  EXPECT_EQ(doc.Get("Plugin", "X"), "1");
  EXPECT_EQ(doc.Get("MainForm", "TopPosition"), "50");
  // AlignRight is on: the distance of the right edge from the screen's.
  const int left = GetSystemMetrics(SM_CXSCREEN) - 100 - Width(window);
  EXPECT_EQ(doc.Get("MainForm", "LeftPosition"), std::to_string(left));
  EXPECT_NE(saved.find("DateFormat=\"  yy  \"\r\n"), std::string::npos);
  EXPECT_EQ(d.Settings.LeftPosition, left);

  // The next start comes up where the window was.
  NewDialog();
  Shown();
  const RECT restarted = ScreenRect(dialog_->Handle());
  EXPECT_EQ(restarted.left, 100);
  EXPECT_EQ(restarted.top, 50);
  EXPECT_EQ(dialog_->Settings.DateFormat, "  yy  ");
}

TEST_F(SettingsStore, FailedSaveIsReportedAndLeavesTheOldFileAsItWas) {
  const std::string original = Utf8ToCp932("[MainForm]\r\nTopPosition=7\r\n; 手書き\r\n");
  // One Japanese sentence: the file, that it cannot be written, and the system's reason.
  const std::wstring expected = IniPath().wstring() + Utf8ToWide(" に書き込めません（");

  const auto expectReported = [&](const char* what) {
    ASSERT_EQ(errors_.size(), 1u) << what;
    EXPECT_TRUE(errors_[0].starts_with(expected)) << what;
    EXPECT_TRUE(errors_[0].ends_with(Utf8ToWide("）。"))) << what;
    EXPECT_GT(errors_[0].size(), expected.size() + 2) << what;
    EXPECT_TRUE(busyDuringMessage_) << what;
    EXPECT_FALSE(dialog_->BusyFlag) << what;  // back to normal afterwards
    errors_.clear();
  };

  TCalendarDialog& d = Shown();
  ASSERT_FALSE(d.BusyFlag);
  {
    SCOPED_TRACE("held open elsewhere without sharing");
    folder_.Write("Mirovane.ini", original);
    const HANDLE held = CreateFileW(IniPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(d.SaveSettings());
    CloseHandle(held);
    expectReported("locked");
    EXPECT_EQ(ReadBytes(IniPath()), original);
    EXPECT_EQ(FilesIn(folder_.Path()), 1);  // no temporary file left behind
  }
  {
    SCOPED_TRACE("read-only file");
    SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(d.SaveSettings());
    SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    expectReported("read-only");
    EXPECT_EQ(ReadBytes(IniPath()), original);
    EXPECT_EQ(FilesIn(folder_.Path()), 1);
  }
  {
    SCOPED_TRACE("a folder in the file's place");
    fs::remove(IniPath());
    fs::create_directories(IniPath() / "inside");
    EXPECT_FALSE(d.SaveSettings());
    expectReported("folder");
    EXPECT_TRUE(fs::is_directory(IniPath() / "inside"));
    EXPECT_EQ(FilesIn(folder_.Path()), 1);
    fs::remove_all(IniPath());
  }
  {
    SCOPED_TRACE("the folder is gone");
    d.IniPath = folder_ / "gone" / "Mirovane.ini";
    EXPECT_FALSE(d.SaveSettings());
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_TRUE(errors_[0].starts_with(d.IniPath.wstring() + Utf8ToWide(" に書き込めません（")));
    errors_.clear();
    EXPECT_FALSE(fs::exists(folder_ / "gone"));
  }
  // And once the way is clear again, the same window saves.
  d.IniPath = IniPath();
  EXPECT_TRUE(d.SaveSettings());
  EXPECT_TRUE(errors_.empty());
  EXPECT_NE(ReadBytes(IniPath()).find("TimeFormat=\"hh:nn:ss\"\r\n"), std::string::npos);
}

// A settings file that is there but cannot be read (held open by another program) is reported at
// the start and at a revert, never silently taken for the defaults; and no save writes the values
// in use over the settings it holds unless the user agrees.
TEST_F(SettingsStore, UnreadableSettingsAreReportedAndNeverOverwrittenUnasked) {
  WriteIni("[MainForm]\r\nTopPosition=7\r\nBorderWidth=3\r\n; 手書き\r\n");
  const std::string original = ReadBytes(IniPath());
  const std::wstring cannotRead = IniPath().wstring() + Utf8ToWide(" を読み込めません（");
  std::vector<std::wstring> questions;
  bool answer = false;
  dialog_->onConfirmOverwrite = [&](const std::wstring& text) {
    questions.push_back(text);
    return answer;
  };

  test::LockedFile lock(IniPath());
  ASSERT_TRUE(lock.Held());
  TCalendarDialog& d = Shown();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_TRUE(errors_[0].starts_with(cannotRead)) << errors_[0];
  EXPECT_TRUE(errors_[0].ends_with(Utf8ToWide("）。")));
  EXPECT_EQ(d.Settings.BorderWidth, 1);  // the defaults, for now

  // "元に戻す" while it is still held: reported again, the settings in use stay.
  d.Settings.BorderWidth = 5;
  EXPECT_FALSE(d.LoadSettings());
  ASSERT_EQ(errors_.size(), 2u);
  EXPECT_TRUE(errors_[1].starts_with(cannotRead));
  EXPECT_EQ(d.Settings.BorderWidth, 5);
  errors_.clear();

  // The other program lets go. Saving asks first; "いいえ" leaves the file byte for byte.
  lock.Release();
  EXPECT_FALSE(d.SaveSettings());
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_TRUE(questions[0].starts_with(IniPath().wstring())) << questions[0];
  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(ReadBytes(IniPath()), original);

  // "はい" overwrites, and from then on the program knows what the file holds: no more question.
  answer = true;
  EXPECT_TRUE(d.SaveSettings());
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_NE(ReadBytes(IniPath()).find("BorderWidth=5\r\n"), std::string::npos);
  EXPECT_NE(ReadBytes(IniPath()).find(Utf8ToCp932("; 手書き")), std::string::npos);
  EXPECT_TRUE(d.SaveSettings());
  EXPECT_EQ(questions.size(), 2u);

  // A revert that reads the file also settles it.
  {
    test::LockedFile again(IniPath());
    EXPECT_FALSE(d.LoadSettings());
  }
  EXPECT_TRUE(d.LoadSettings());
  EXPECT_EQ(d.Settings.BorderWidth, 5);
  EXPECT_TRUE(d.SaveSettings());
  EXPECT_EQ(questions.size(), 2u);
}

}  // namespace
}  // namespace mirovane
