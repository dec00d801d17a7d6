// TMonthCalendarEx: the common-controls month calendar ("SysMonthCal32") as the main window uses
// it. Besides the base control's date, colours, first day of the week, week numbers and today
// circle it makes available the month step of the scroll arrows (MonthDelta) and the raw mouse
// events (onMouseDown and onMouseMove of ui::Control, raised by the subclass before the calendar
// handles the message itself). It never shows the "today" line at its foot.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "ui/control.h"
#include "ui/gdi.h"

namespace mirovane {

// The month calendar's colour slots (MCM_SETCOLOR indices).
enum class CalendarColor : int {
  Background = MCSC_BACKGROUND,      // 0, not used by the program
  Text = MCSC_TEXT,                  // 1, day numbers of the shown month
  TitleBack = MCSC_TITLEBK,          // 2
  TitleText = MCSC_TITLETEXT,        // 3
  MonthBack = MCSC_MONTHBK,          // 4
  TrailingText = MCSC_TRAILINGTEXT,  // 5, days of the previous and next month
};

class TMonthCalendarEx : public ui::Control {
 public:
  TMonthCalendarEx() = default;

  // Creates the calendar, hidden, as a child of `parent`. Values set before (month delta, week
  // numbers, today circle) take effect now.
  void Create(HWND parent, int id);

  // How many months one click on a scroll arrow moves. Stored, and passed to the control
  // whenever its window exists.
  int MonthDelta() const noexcept { return monthDelta_; }
  void SetMonthDelta(int months);

  bool ShowWeekNumbers() const noexcept { return weekNumbers_; }
  void SetShowWeekNumbers(bool show);
  // Today's date circled in red.
  bool ShowTodayCircle() const noexcept { return todayCircle_; }
  void SetShowTodayCircle(bool show);

  // 0 = Monday ... 6 = Sunday, as the control and LOCALE_IFIRSTDAYOFWEEK count them.
  void SetFirstDayOfWeek(int day);
  int FirstDayOfWeek() const;

  void SetColor(CalendarColor slot, COLORREF color);
  COLORREF GetColor(CalendarColor slot) const;

  // Gives the calendar `font`, kept alive in `owner` (which held the calendar's font so far),
  // unless it draws exactly like the font the calendar has: then the calendar keeps that one and
  // `font` is released. The system's calendar makes a bold copy of every font it is given and,
  // under Wine, never frees the one before: setting the same font at every apply and preview
  // would lose a GDI object each time.
  void TakeFont(ui::FontHandle& owner, ui::FontHandle font);

  // The selected date. Setting it also brings its month into view.
  void SetDate(const SYSTEMTIME& date);
  SYSTEMTIME Date() const;

  // Keys and the wheel go to the owner instead of the control's own handling, so that a key
  // moves the calendar once, by the owner's rules. Right-button presses and releases are
  // reported through onMouseDown/onMouseUp and not passed on (the control has no use for them).
  std::function<void(WPARAM virtualKey)> onKeyDown;
  std::function<void(int wheelDelta, WPARAM keys)> onWheel;
  // A left double-click anywhere on the calendar. The control's class does not ask the system
  // for double-clicks, so a second press within the double-click time and distance counts as one.
  std::function<void()> onDblClick;

  // The smallest size that shows one whole month with the current font and options.
  SIZE MinimumMonthSize() const;

 protected:
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  DWORD OptionStyles() const noexcept;
  void ApplyOptionStyles();

  // Whether a left press is a double-click's second one; remembers the first otherwise.
  bool IsSecondClick(LPARAM lp);

  int monthDelta_ = 1;
  bool havePress_ = false;
  DWORD pressTime_ = 0;
  POINT pressAt_{0, 0};
  bool weekNumbers_ = false;
  bool todayCircle_ = true;
};

// The first day of the week of the user's regional settings (0 = Monday ... 6 = Sunday).
int SystemFirstDayOfWeek();

}  // namespace mirovane
