// TMonthCalendarEx on the real common control: the month step of the scroll arrows, the options
// that are window styles, and the mouse events the main window shares with its panels.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "app/application.h"
#include "controls/month_calendar_ex.h"
#include "ui/window.h"

namespace mirovane {
namespace {

class CalendarHost : public ui::Window {
 public:
  ~CalendarHost() override { Destroy(); }
  void Create() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"MirovaneCalendarHost";
    RegisterClassOnce(wc);
    CreateHandle(0, L"MirovaneCalendarHost", L"host", WS_POPUP, 0, 0, 1200, 1000, nullptr, 0);
  }
};

class MonthCalendarEx : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitCommonControlsForProgram(); }
  void SetUp() override { host_.Create(); }
  CalendarHost host_;
  TMonthCalendarEx calendar_;
};

LONG_PTR StyleOf(const TMonthCalendarEx& c) { return GetWindowLongPtrW(c.Handle(), GWL_STYLE); }

TEST_F(MonthCalendarEx, MonthDeltaWrittenBeforeTheWindowExistsTakesEffectAtCreation) {
  calendar_.SetMonthDelta(12);
  EXPECT_EQ(calendar_.MonthDelta(), 12);
  calendar_.Create(host_.Handle(), 1);
  EXPECT_EQ(SendMessageW(calendar_.Handle(), MCM_GETMONTHDELTA, 0, 0), 12);
  calendar_.SetMonthDelta(3);
  EXPECT_EQ(SendMessageW(calendar_.Handle(), MCM_GETMONTHDELTA, 0, 0), 3);
  EXPECT_EQ(calendar_.MonthDelta(), 3);
  // Created hidden, without the "today" line.
  EXPECT_FALSE(calendar_.Visible());
  EXPECT_TRUE(StyleOf(calendar_) & MCS_NOTODAY);
}

TEST_F(MonthCalendarEx, WeekNumbersAndTodayCircleAreStyles) {
  calendar_.SetShowTodayCircle(false);
  calendar_.Create(host_.Handle(), 1);
  EXPECT_TRUE(StyleOf(calendar_) & MCS_NOTODAYCIRCLE);
  EXPECT_FALSE(StyleOf(calendar_) & MCS_WEEKNUMBERS);
  const SIZE plain = calendar_.MinimumMonthSize();

  calendar_.SetShowWeekNumbers(true);
  calendar_.SetShowTodayCircle(true);
  EXPECT_TRUE(StyleOf(calendar_) & MCS_WEEKNUMBERS);
  EXPECT_FALSE(StyleOf(calendar_) & MCS_NOTODAYCIRCLE);
  EXPECT_TRUE(StyleOf(calendar_) & MCS_NOTODAY);
  // The week-number column makes a month wider.
  EXPECT_GT(calendar_.MinimumMonthSize().cx, plain.cx);
  EXPECT_EQ(calendar_.MinimumMonthSize().cy, plain.cy);
}

TEST_F(MonthCalendarEx, MouseDownAndMoveReachTheForm) {
  calendar_.Create(host_.Handle(), 1);
  std::vector<ui::MouseEvent> downs, moves;
  calendar_.onMouseDown = [&](const ui::MouseEvent& e) { downs.push_back(e); };
  calendar_.onMouseMove = [&](const ui::MouseEvent& e) { moves.push_back(e); };
  // (No right-button release here: the control answers it with a modal "today" menu of its own.)
  SendMessageW(calendar_.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(12, 34));
  SendMessageW(calendar_.Handle(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(15, 36));
  SendMessageW(calendar_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 90));
  SendMessageW(calendar_.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(40, 90));
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].button, ui::MouseButton::Right);
  EXPECT_EQ(downs[0].x, 12);
  EXPECT_EQ(downs[0].y, 34);
  EXPECT_EQ(downs[1].button, ui::MouseButton::Left);
  EXPECT_EQ(downs[1].y, 90);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].x, 15);
  EXPECT_EQ(moves[0].keys, WPARAM{MK_RBUTTON});
}

TEST_F(MonthCalendarEx, ThreeByFourGridTurnsTwelveMonthsPerArrowClick) {
  calendar_.SetMonthDelta(12);
  calendar_.Create(host_.Handle(), 1);
  const SIZE month = calendar_.MinimumMonthSize();
  calendar_.SetBounds(0, 0, 3 * (month.cx + 6) - 4, 15 + 4 * (month.cy + 6));
  calendar_.SetVisible(true);
  SYSTEMTIME day{};
  day.wYear = 2026;
  day.wMonth = 1;
  day.wDay = 15;
  calendar_.SetDate(day);

  SYSTEMTIME range[2]{};
  ASSERT_EQ(SendMessageW(calendar_.Handle(), MCM_GETMONTHRANGE, GMR_VISIBLE,
                         reinterpret_cast<LPARAM>(range)),
            12);
  EXPECT_EQ(range[0].wYear, 2026);
  EXPECT_EQ(range[0].wMonth, 1);

  // The "next" arrow sits in the title of the top right month.
  POINT next{-1, -1};
  for (int x = 3 * (month.cx + 6) - 5; x > 0 && next.x < 0; --x) {
    for (int y = 1; y < month.cy / 4 && next.x < 0; ++y) {
      MCHITTESTINFO hit{};
      hit.cbSize = sizeof hit;
      hit.pt = {x, y};
      SendMessageW(calendar_.Handle(), MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.uHit == MCHT_TITLEBTNNEXT) next = hit.pt;
    }
  }
  ASSERT_GE(next.x, 0) << "no next arrow found";
  SendMessageW(calendar_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(next.x, next.y));
  SendMessageW(calendar_.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(next.x, next.y));
  SendMessageW(calendar_.Handle(), MCM_GETMONTHRANGE, GMR_VISIBLE, reinterpret_cast<LPARAM>(range));
  EXPECT_EQ(range[0].wYear, 2027);
  EXPECT_EQ(range[0].wMonth, 1);
}

}  // namespace
}  // namespace mirovane
