// The main window sizing itself to its content with the real month calendar: measured from the
// live child windows, for the default settings, a 3 x 4 grid, the clock placements, the
// clock-only and nothing-left cases, the right-edge alignment and transparency during a layout.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window_fixture.h"

namespace mirovane {
namespace {

using testing::FontOf;
using testing::Height;
using testing::PointPixels;
using testing::ScreenRect;
using testing::Width;

class MainWindowLayout : public testing::MainWindowTest {
 protected:
  // The natural size of a label's text on the measuring sample, two blanks added.
  static SIZE SampleExtent(const ui::Label& label, const std::string& format) {
    DateTimeFormatter formatter(SystemRegional());
    formatter.SetDateTimeEx(kMeasuringSample);
    return label.MeasureText(formatter.FormatDateTimeEx(format) + "  ");
  }
};

void ExpectRect(const RECT& r, int x, int y, int w, int h, const char* what) {
  EXPECT_EQ(r.left, x) << what;
  EXPECT_EQ(r.top, y) << what;
  EXPECT_EQ(Width(r), w) << what;
  EXPECT_EQ(Height(r), h) << what;
}

TEST_F(MainWindowLayout, DefaultWindowIsTextAreaPlusSquareClockAtTheTopRight) {
  TCalendarDialog& d = Shown();
  ASSERT_EQ(d.Dpi(), 96u);
  const RECT cal = d.MainCalendar.Bounds();
  const RECT date = d.DateLabel.Bounds();
  const RECT time = d.TimeLabel.Bounds();
  EXPECT_TRUE(d.MainCalendar.Visible());
  EXPECT_TRUE(d.ClockPanel.Visible());

  // Each part from its own measure: one month of the calendar, each label's sample text with
  // the label border (2) around it and 2 more pixels of height.
  const SIZE month = d.MainCalendar.MinimumMonthSize();
  const SIZE dateText = SampleExtent(d.DateLabel, d.Settings.DateFormat);
  const SIZE timeText = SampleExtent(d.TimeLabel, d.Settings.TimeFormat);
  ASSERT_GT(month.cx, 0);
  ASSERT_GT(dateText.cx, 0);
  const int w = static_cast<int>(std::max({month.cx, dateText.cx + 2, timeText.cx + 2}));
  EXPECT_EQ(Height(cal), month.cy);
  EXPECT_EQ(Height(date), dateText.cy + 4);
  EXPECT_EQ(Height(time), timeText.cy + 4);
  const int h = Height(cal) + Height(date) + Height(time);

  // Calendar on top, then date, then time, all as wide as the widest.
  ExpectRect(cal, 0, 0, w, month.cy, "calendar");
  ExpectRect(date, 0, Height(cal), w, Height(date), "date");
  ExpectRect(time, 0, Height(cal) + Height(date), w, Height(time), "time");
  ExpectRect(d.MainPanel.Bounds(), 1, 1, w, h, "MainPanel");
  ExpectRect(d.ClockPanel.Bounds(), 1 + w, 1, h, h, "ClockPanel");
  ExpectRect(d.ClockLabel.Bounds(), 2, 2, h - 4, h - 4, "clock face");
  ExpectRect(d.BackPanel.Bounds(), 0, 0, w + h + 2, h + 2, "BackPanel");

  // The window is exactly its content, at the top right corner of the screen.
  const RECT window = ScreenRect(d.Handle());
  EXPECT_EQ(Width(window), w + h + 2);
  EXPECT_EQ(Height(window), h + 2);
  EXPECT_EQ(window.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(window.top, 0);
  RECT client{};
  GetClientRect(d.Handle(), &client);
  EXPECT_EQ(client.right, Width(window));
  EXPECT_EQ(client.bottom, Height(window));

  // Date and time in bold 12-point type, the calendar in 11 points.
  const LOGFONTW labelFont = FontOf(d.DateLabel.Handle());
  EXPECT_EQ(labelFont.lfHeight, -PointPixels(12, d.Dpi()));
  EXPECT_EQ(labelFont.lfWeight, FW_BOLD);
  EXPECT_EQ(FontOf(d.MainCalendar.Handle()).lfHeight, -PointPixels(11, d.Dpi()));

  // The labels show now again, not the sample moment they were measured on.
  EXPECT_EQ(testing::WindowText(d.DateLabel.Handle()),
            Cp932ToWide(d.Display.FormatDateTimeEx(d.Settings.DateFormat)));
}

TEST_F(MainWindowLayout, ThreeByFourGridFromTheFile) {
  WriteIni("[Calendar]\r\nShowMonthCount=52\r\n");
  TCalendarDialog& d = Shown();
  EXPECT_EQ(d.MonthColumns(), 3);
  EXPECT_EQ(d.MonthRows(), 4);
  EXPECT_EQ(d.MainCalendar.MonthDelta(), 12);
  EXPECT_EQ(SendMessageW(d.MainCalendar.Handle(), MCM_GETMONTHDELTA, 0, 0), 12);

  const SIZE month = d.MainCalendar.MinimumMonthSize();
  const int fontHeight = PointPixels(11, d.Dpi());
  EXPECT_EQ(FontOf(d.MainCalendar.Handle()).lfHeight, -fontHeight);
  const RECT cal = d.MainCalendar.Bounds();
  EXPECT_EQ(Width(cal), 3 * (month.cx + 6) + 2 - 6);
  EXPECT_EQ(Height(cal), fontHeight + 4 * (month.cy + 6) + 2 - 2);

  // The control fills that area with exactly twelve months.
  EXPECT_EQ(SendMessageW(d.MainCalendar.Handle(), MCM_GETMONTHRANGE, GMR_VISIBLE, 0), 12);
}

TEST_F(MainWindowLayout, AlignRightKeepsTheRightEdgeOtherwiseTheLeft) {
  TCalendarDialog& d = Shown();
  const RECT one = ScreenRect(d.Handle());

  d.SetMonthGrid(0x34);
  d.LayoutWindow();
  const RECT twelve = ScreenRect(d.Handle());
  EXPECT_GT(Width(twelve), 2 * Width(one));
  EXPECT_EQ(twelve.right, one.right);  // grew to the left
  EXPECT_EQ(twelve.top, one.top);

  d.Settings.AlignRight = false;
  d.SetMonthGrid(0x11);
  d.LayoutWindow();
  const RECT back = ScreenRect(d.Handle());
  EXPECT_EQ(back.left, twelve.left);  // shrank towards the left edge
  EXPECT_EQ(Width(back), Width(one));

  d.SetMonthGrid(0x21);
  d.LayoutWindow();
  EXPECT_EQ(ScreenRect(d.Handle()).left, back.left);
  EXPECT_GT(ScreenRect(d.Handle()).right, back.right);
}

TEST_F(MainWindowLayout, ClockLeftCalendarInTheMiddle) {
  WriteIni("[Calendar]\r\nCalendarPosition=$12\r\n[MainForm]\r\nBorderWidth=3\r\n");
  TCalendarDialog& d = Shown();
  const RECT cal = d.MainCalendar.Bounds();
  const RECT date = d.DateLabel.Bounds();
  const RECT time = d.TimeLabel.Bounds();
  const int w = Width(cal);
  const int h = Height(cal) + Height(date) + Height(time);
  EXPECT_EQ(date.top, 0);
  EXPECT_EQ(cal.top, date.bottom);
  EXPECT_EQ(time.top, cal.bottom);
  ExpectRect(d.ClockPanel.Bounds(), 3, 3, h, h, "ClockPanel");
  ExpectRect(d.MainPanel.Bounds(), 3 + h, 3, w, h, "MainPanel");
  ExpectRect(d.BackPanel.Bounds(), 0, 0, w + h + 6, h + 6, "BackPanel");
}

TEST_F(MainWindowLayout, ClockOnlyIsASquareOfEightFontLines) {
  WriteIni(
      "[Calendar]\r\nHideCalendar=1\r\n"
      "[DateTime]\r\nHideNowDate=1\r\nHideNowTime=1\r\nShowClock=0\r\nFontSizeChange=-3\r\n");
  TCalendarDialog& d = Shown();
  EXPECT_FALSE(d.MainPanel.Visible());
  EXPECT_TRUE(d.ClockPanel.Visible());
  // 12 - 3 = 9 points: the calendar is hidden, so the size change applies.
  const int side = 8 * PointPixels(9, d.Dpi());
  ExpectRect(d.ClockPanel.Bounds(), 1, 1, side, side, "ClockPanel");
  ExpectRect(d.ClockLabel.Bounds(), 2, 2, side - 4, side - 4, "clock face");
  const RECT window = ScreenRect(d.Handle());
  EXPECT_EQ(Width(window), side + 2);
  EXPECT_EQ(Height(window), side + 2);
  EXPECT_EQ(window.right, GetSystemMetrics(SM_CXSCREEN));
}

TEST_F(MainWindowLayout, WithEverythingHiddenDateAndTimeShowAnyway) {
  WriteIni(
      "[Calendar]\r\nHideCalendar=1\r\n"
      "[DateTime]\r\nHideNowDate=1\r\nHideNowTime=1\r\nShowClock=1\r\nFontSizeChange=4\r\n");
  TCalendarDialog& d = Shown();
  EXPECT_TRUE(d.MainPanel.Visible());
  EXPECT_TRUE(d.DateLabel.Visible());
  EXPECT_TRUE(d.TimeLabel.Visible());
  EXPECT_FALSE(d.MainCalendar.Visible());
  EXPECT_FALSE(d.ClockPanel.Visible());
  // The settings themselves stay as read.
  EXPECT_TRUE(d.Settings.HideNowDate);

  // The labels use the area font, 12 + 4 points; the window font keeps its own size.
  EXPECT_EQ(FontOf(d.DateLabel.Handle()).lfHeight, -PointPixels(16, d.Dpi()));
  LOGFONTW windowFont{};
  GetObjectW(d.WindowFont(), sizeof windowFont, &windowFont);
  EXPECT_EQ(windowFont.lfHeight, -PointPixels(12, d.Dpi()));

  const RECT date = d.DateLabel.Bounds();
  const RECT time = d.TimeLabel.Bounds();
  const RECT window = ScreenRect(d.Handle());
  EXPECT_EQ(Width(window), Width(date) + 2);
  EXPECT_EQ(Height(window), Height(date) + Height(time) + 2);
}

// Records, in order, the main window's layered-style switches and its size changes.
class LayoutRecorder {
 public:
  explicit LayoutRecorder(HWND hwnd) : hwnd_(hwnd) {
    SetWindowSubclass(hwnd_, &Proc, kId, reinterpret_cast<DWORD_PTR>(this));
  }
  ~LayoutRecorder() {
    if (IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, &Proc, kId);
  }
  LayoutRecorder(const LayoutRecorder&) = delete;
  LayoutRecorder& operator=(const LayoutRecorder&) = delete;
  std::vector<std::string> events;

 private:
  static constexpr UINT_PTR kId = 0x4C59;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<LayoutRecorder*>(ref);
    if (msg == WM_STYLECHANGED && wp == static_cast<WPARAM>(GWL_EXSTYLE)) {
      const auto* change = reinterpret_cast<const STYLESTRUCT*>(lp);
      if ((change->styleOld ^ change->styleNew) & WS_EX_LAYERED) {
        self->events.push_back(change->styleNew & WS_EX_LAYERED ? "layered" : "opaque");
      }
    }
    if (msg == WM_WINDOWPOSCHANGED &&
        !(reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_NOSIZE)) {
      self->events.push_back("sized");
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  HWND hwnd_;
};

TEST_F(MainWindowLayout, TransparencyIsOffWhileThePartsMove) {
  WriteIni(
      "[ColorSet]\r\nTransparency=1\r\nAlphaBlend=1\r\nAlphaValue=128\r\nTransColor=clRed\r\n");
  TCalendarDialog& d = Shown();
  const auto expectLayered = [&] {
    ASSERT_TRUE(GetWindowLongPtrW(d.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(d.Handle(), &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(255, 0, 0));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags, DWORD{LWA_COLORKEY | LWA_ALPHA});
  };
  expectLayered();

  LayoutRecorder recorder(d.Handle());
  d.SetMonthGrid(0x21);
  d.LayoutWindow();
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"opaque", "sized", "layered"}));
  expectLayered();
}

TEST_F(MainWindowLayout, WithACaptionBarTheClientAreaIsStillTheContent) {
  TCalendarDialog& d = Shown();
  const RECT before = ScreenRect(d.Handle());
  // The mini title bar: a tool-window caption outside the content.
  SetWindowLongPtrW(d.Handle(), GWL_STYLE, GetWindowLongPtrW(d.Handle(), GWL_STYLE) | WS_CAPTION);
  SetWindowLongPtrW(d.Handle(), GWL_EXSTYLE,
                    GetWindowLongPtrW(d.Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
  SetWindowPos(d.Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  d.LayoutWindow();
  RECT client{};
  GetClientRect(d.Handle(), &client);
  const RECT back = d.BackPanel.Bounds();
  EXPECT_EQ(client.right, Width(back));
  EXPECT_EQ(client.bottom, Height(back));
  const RECT after = ScreenRect(d.Handle());
  EXPECT_GT(Height(after), Height(before));
  EXPECT_EQ(after.right, before.right);
}

TEST_F(MainWindowLayout, DpiChangeLaysOutAgainAtTheSuggestedPlace) {
  TCalendarDialog& d = Shown();
  const RECT before = ScreenRect(d.Handle());
  RECT suggested{200, 150, 200 + Width(before), 150 + Height(before)};
  SendMessageW(d.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  const RECT after = ScreenRect(d.Handle());
  EXPECT_EQ(after.right, suggested.right);
  EXPECT_EQ(after.top, suggested.top);
  EXPECT_EQ(Width(after), Width(before));
  EXPECT_EQ(Height(after), Height(before));
}

}  // namespace
}  // namespace mirovane

namespace mirovane {
namespace {

// Watches a label while the layout measures on it: what the display and the alarm engine see
// as now at every text the label is given.
class NowWatcher {
 public:
  NowWatcher(HWND label, const TCalendarDialog& d, double past)
      : label_(label), d_(d), past_(past) {
    SetWindowSubclass(label_, &Proc, kId, reinterpret_cast<DWORD_PTR>(this));
  }
  ~NowWatcher() { RemoveWindowSubclass(label_, &Proc, kId); }
  NowWatcher(const NowWatcher&) = delete;
  NowWatcher& operator=(const NowWatcher&) = delete;

  std::vector<double> displayed;  // the displayed moment at each text
  int engineSawThePast = 0;       // texts at which the engine's clock was past `past`

 private:
  static constexpr UINT_PTR kId = 0x40E;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    if (msg == WM_SETTEXT) {
      auto& self = *reinterpret_cast<NowWatcher*>(ref);
      self.displayed.push_back(self.d_.Display.Current().Value);
      if (self.d_.Alarms.IsPast(self.past_, false)) ++self.engineSawThePast;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  HWND label_;
  const TCalendarDialog& d_;
  double past_;
};

TEST_F(MainWindowLayout, MeasuringOnTheSampleNeverMovesTheDisplayedNowNorTheEnginesNow) {
  TCalendarDialog& d = Shown();
  const double clock = 46366.5;  // 2026-12-10 12:00
  d.nowSource = [&] { return clock; };
  d.RefreshDisplay();
  ASSERT_EQ(d.Display.Current().Value, clock);
  const std::wstring date = testing::WindowText(d.DateLabel.Handle());

  const double aMinuteAgo = clock - 1.0 / 1440.0;
  NowWatcher watcher(d.DateLabel.Handle(), d, aMinuteAgo);
  d.LayoutWindow();
  // The label was given the sample text and then today's again; all the while the display held
  // 12:00 and the engine found a minute ago past (on the 1922 sample it would not have).
  ASSERT_GE(watcher.displayed.size(), 2u);
  for (double seen : watcher.displayed) EXPECT_EQ(seen, clock);
  EXPECT_EQ(watcher.engineSawThePast, static_cast<int>(watcher.displayed.size()));
  EXPECT_EQ(d.Display.Current().Value, clock);
  EXPECT_EQ(testing::WindowText(d.DateLabel.Handle()), date);
}

}  // namespace
}  // namespace mirovane
