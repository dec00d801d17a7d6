// The main window on two monitors side by side (the test runner runs these tests in a prefix
// whose display has a second monitor right of the primary; elsewhere they are skipped): a window
// on the second monitor stays there, InnerDesktop keeps it inside that monitor, and a window or a
// remembered place on no monitor comes onto the primary one.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "app/main_window_fixture.h"

namespace mirovane {
namespace {

using testing::Height;
using testing::ScreenRect;
using testing::Width;

std::vector<RECT> Monitors() {
  std::vector<RECT> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR, HDC, LPRECT r, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<RECT>*>(lp)->push_back(*r);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

class TwoMonitors : public testing::MainWindowTest {
 protected:
  void SetUp() override {
    const std::vector<RECT> monitors = Monitors();
    if (monitors.size() < 2) GTEST_SKIP() << "one monitor here";
    primary_ = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    for (const RECT& m : monitors) {
      if (m.left >= primary_.right) second_ = m;
    }
    if (second_.right == 0) GTEST_SKIP() << "no monitor right of the primary";
    MainWindowTest::SetUp();
  }

  void MoveTo(HWND w, int x, int y) {
    SetWindowPos(w, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  RECT primary_{};
  RECT second_{};
};

TEST_F(TwoMonitors, InnerDesktopKeepsTheWindowOnTheMonitorItIsOn) {
  WriteIni("[MainForm]\r\nInnerDesktop=1\r\nMemoryPosition=0\r\n");
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  const testing::ManualTimer timer2(w, d.Timer2);
  const RECT size = ScreenRect(w);

  // Put on the second monitor by the user: the 5-second ticks leave it there.
  MoveTo(w, second_.left + 100, 120);
  timer2.Tick(3);
  EXPECT_EQ(ScreenRect(w).left, second_.left + 100);
  EXPECT_EQ(ScreenRect(w).top, 120);

  // Half over the second monitor's right edge: pulled back inside that monitor, not the first.
  MoveTo(w, second_.right - Width(size) / 2, second_.bottom - Height(size) / 2);
  timer2.Tick();
  EXPECT_EQ(ScreenRect(w).right, second_.right);
  EXPECT_EQ(ScreenRect(w).bottom, second_.bottom);
  EXPECT_TRUE(Inside(ScreenRect(w), second_));
}

TEST_F(TwoMonitors, APlaceOnNoMonitorComesOntoThePrimary) {
  // Remembered on a monitor that is gone, far right of both: shown on the primary at start, and
  // kept there by the position pinning.
  WriteIni(
      "[MainForm]\r\nInnerDesktop=0\r\nMemoryPosition=1\r\nAlignRight=0\r\nLeftPosition=9000\r\n"
      "TopPosition=100\r\n");
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  const testing::ManualTimer timer2(w, d.Timer2);
  EXPECT_TRUE(Inside(ScreenRect(w), primary_)) << ScreenRect(w).left;
  timer2.Tick(2);
  EXPECT_TRUE(Inside(ScreenRect(w), primary_)) << ScreenRect(w).left;

  // A place on the second monitor is kept: it is simply a larger left position.
  MoveTo(w, second_.left + 200, 100);
  EXPECT_EQ(ScreenRect(w).left, second_.left + 200);

  // Moved off every monitor and put into the tray: a click on the icon shows it where it can be
  // seen.
  MoveTo(w, second_.right + 500, 100);
  d.DoReaction(kReactionTray);
  EXPECT_FALSE(IsWindowVisible(w));
  SendMessageW(w, kTrayMessage, 0, WM_LBUTTONDOWN);
  EXPECT_TRUE(IsWindowVisible(w));
  const RECT shown = ScreenRect(w);
  EXPECT_TRUE(Inside(shown, primary_) || Inside(shown, second_)) << shown.left;
}

}  // namespace
}  // namespace mirovane
