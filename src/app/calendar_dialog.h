// The main window: a borderless, topmost window showing the date and the time, a grid of month
// calendars and the analog clock, sized to its content and driven by four timers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "alarms/alarm_engine.h"
#include "alarms/alarm_host_win.h"
#include "app/clock_canvas_win.h"
#include "app/settings.h"
#include "format/formatter.h"
#include "controls/month_calendar_ex.h"
#include "ui/control.h"
#include "ui/dpi.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/timer.h"
#include "ui/window.h"

namespace mirovane {

inline constexpr wchar_t kCalendarDialogClass[] = L"TCalendarDialog";

// Control identifiers (GetDlgCtrlID) of the main window's children; other processes find the
// controls by them.
enum CalendarDialogControlId : int {
  kBackPanelId = 1001,
  kClockPanelId,
  kClockLabelId,
  kMainPanelId,
  kDateLabelId,
  kTimeLabelId,
  kMainCalendarId,
};

// The moment the labels are measured on: 25 October 1922, 13:10:12.863. Label sizes come from
// this fixed date, so the window does not change size while the clock runs.
inline constexpr double kMeasuringSample = 8334.54875998845;

// The pixel value of a settings colour: system colours (0x80000000 + index) through
// GetSysColor, anything else by its low 24 bits.
COLORREF ResolveColor(ColorValue value);

class TCalendarDialog : public ui::Window {
 public:
  TCalendarDialog();
  ~TCalendarDialog() override;

  // Creates the window owned by `owner` (the hidden application window); FormCreate runs
  // during the creation. Throws when the window cannot be created.
  void Create(HWND owner);
  // Shows the window; the first showing lays it out (FormShow).
  void Show();

  // Brings the date text, time text and clock up to the current time; does nothing while the
  // shown moment has not changed.
  void RefreshDisplay();

  // Settings store. LoadSettings reads IniPath (a missing or unreadable file gives the
  // defaults) and applies every value to the window; it does not lay out. SaveSettings writes
  // the record and the window's position into IniPath, keeping everything else the file holds;
  // the file is replaced whole or not at all, and a failure is reported ("... に書き込めません").
  void LoadSettings();
  bool SaveSettings();

  // Layout: which parts are shown and at which font size, then every size and position.
  void ApplyVisibility();
  void LayoutWindow();
  // Month grid, packed as ShowMonthCount: columns in the high 4 bits, rows in the low 4 bits.
  // Sets the calendar's scroll step to the whole grid; does not lay out.
  void SetMonthGrid(std::uint8_t packed);
  int MonthColumns() const noexcept { return columns_; }
  int MonthRows() const noexcept { return rows_; }
  // FirstDayOfWeek: 0..6 Monday..Sunday, 7 the regional setting, anything else no change.
  void ApplyFirstDayOfWeek();

  // Controls, by their design names.
  ui::Panel BackPanel;
  ui::Panel ClockPanel;
  ui::Panel ClockLabel;  // paint surface of the clock face
  ui::Panel MainPanel;
  ui::Label DateLabel;
  ui::Label TimeLabel;
  TMonthCalendarEx MainCalendar;
  ui::Timer Timer1;  // 100 ms: temporary hide countdown
  ui::Timer Timer2;  // 5 s: position pinning or clamping
  ui::Timer Timer3;  // DspCycle x 10 ms: display refresh
  ui::Timer Timer4;  // alarm tick

  TCalendarSettings Settings;
  // The settings file: the executable's path with the extension ".ini".
  std::filesystem::path IniPath;

  // Main-window state.
  int Tag = 0;  // first-show marker: 1 once the first FormShow has run
  bool BusyFlag = true;
  bool InTray = false;
  bool TrayIconPresent = false;
  bool DragPending = false;
  bool DragDone = false;
  std::uint8_t HideCountdown = 0;
  // The alarm engine owns the pending alarm (NextAlarmIndex, 255 = none, and NextAlarmDue).
  WinAlarmHost AlarmHost;
  AlarmEngine Alarms{AlarmHost, BusyFlag, CurrentDateTime()};
  std::filesystem::path AlarmListPath;
  std::filesystem::path ReadmePath;

  // Shows an error text to the user; empty = a message box ("Mirovane", error icon). The main
  // window is busy while it runs.
  std::function<void(const std::wstring& text)> onErrorMessage;

  // The window's own colour, visible as the border around the content.
  COLORREF Color() const noexcept { return color_; }
  // The date/time font at its own size, and the copy the date/time and clock areas use (its
  // size changed by FontSizeChange while the calendar is hidden).
  HFONT WindowFont() const noexcept { return font_.get(); }
  HFONT AreaFont() const noexcept { return areaFont_.get(); }
  HFONT CalendarFont() const noexcept { return calendarFont_.get(); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateControls();
  void FormCreate();
  void FormShow();
  void FormClose();

  void ApplyCalendarFont();
  void ApplyWindowFont();
  void ApplyAreaFont();
  void ApplyColors();
  // Layered window: colour key and/or whole-window alpha, or neither (not layered).
  void ApplyTransparency(bool colorKey, bool alpha);
  void ApplyRefreshPeriod();
  void ShowError(const std::wstring& text);
  // Window style: stay-on-top now; the mini title bar and the tray-icon record come later.
  void ApplyWindowStyle(bool initial);
  // Tray icon and alarms: filled in with those features.
  void UpdateTrayIcon() {}
  void DeleteTrayIcon() {}
  void LoadAlarms(bool initial) { Alarms.LoadAlarms(initial); }
  void SelectNextAlarm(bool recompute) { Alarms.SelectNextAlarm(recompute); }

  // The analog clock face on ClockLabel: drawn by the clock feature.
  // Draws the clock face for the current time onto ClockLabel (double-buffered; WM_PAINT
  // repaints the last drawing).
  void DrawClockFace();
  ClockFaceRenderer clockRenderer_;

  void Timer1Timer() {}  // hide countdown: comes with the window behaviour
  void Timer2Timer() {}  // position pinning: comes with the window behaviour
  void Timer3Timer() { RefreshDisplay(); }
  void Timer4Timer() { Alarms.Timer4Timer(); }

  ui::FontHandle font_;
  ui::FontHandle areaFont_;
  ui::FontHandle calendarFont_;
  int areaFontSize_ = 12;  // points
  COLORREF color_;
  COLORREF labelBack_;
  COLORREF labelText_;
  std::uint8_t columns_ = 1;
  std::uint8_t rows_ = 1;
};

}  // namespace mirovane
