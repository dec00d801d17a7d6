// The main window: a borderless, topmost window showing the date and the time, a grid of month
// calendars and the analog clock, sized to its content and driven by four timers.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "alarms/alarm_editor_rules.h"
#include "alarms/alarm_engine.h"
#include "alarms/alarm_host_win.h"
#include "app/calendar_navigation.h"
#include "controls/clock_canvas_win.h"
#include "controls/month_calendar_ex.h"
#include "dialogs/option_rules.h"
#include "format/formatter.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "settings/settings.h"
#include "ui/control.h"
#include "ui/dpi.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/timer.h"
#include "ui/window.h"

namespace mirovane {

inline constexpr wchar_t kCalendarDialogClass[] = L"TCalendarDialog";

// The tray icon's callback message: mouse messages on the icon arrive in its LPARAM.
inline constexpr UINT kTrayMessage = WM_USER + 100;  // 0x464

// Popup menu commands (WM_COMMAND identifiers); other processes may send them.
enum CalendarDialogCommand : UINT {
  kCmdUserMenu = 40001,
  kCmdOptions,
  kCmdAlarms,
  kCmdReadme,
  kCmdAbout,
  kCmdExit,
};

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

// The calendar control's day of a date (the time of day left at midnight), and back.
SYSTEMTIME ToSystemTime(const CalendarDate& date);
CalendarDate FromSystemTime(const SYSTEMTIME& st);

class TCalendarDialog : public ui::Window {
 public:
  TCalendarDialog();
  ~TCalendarDialog() override;

  // Creates the window owned by `owner` (the hidden application window); FormCreate runs
  // during the creation. Throws when the window cannot be created.
  void Create(HWND owner);
  // Shows the window; the first showing lays it out (FormShow) and, once the window has
  // painted, adds the tray icon that FormCreate asked for.
  void Show();

  // Brings Display, the date text, time text and clock up to the current time; does nothing
  // while the shown moment has not changed.
  void RefreshDisplay();

  // Settings store. LoadSettings reads IniPath (a missing file gives the defaults) and applies
  // every value to the window; it does not lay out. A file that is there but cannot be read
  // (held open by another program, no access) is reported at once; the first load then goes on
  // with the defaults, a later one keeps the settings in use, and both return false.
  // SaveSettings writes the record and the window's position into IniPath, keeping everything
  // else the file holds; the file is replaced whole or not at all, and a failure is reported
  // ("... に書き込めません（reason）。"). A file whose settings were never read is overwritten
  // only once the user agreed to it.
  bool LoadSettings();
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

  // Reactions (ReactionCode): nothing while busy.
  void DoReaction(std::uint8_t code);
  // Temporary hide: the window goes now and comes back after HideTime (reaction 4).
  void HideForAWhile();
  // One step of the month-count cycle: hidden, one month, the configured grid (reaction 6).
  void SwitchMonthCount();
  // The popup menu's user item from PopupMenuItem.
  void UpdateUserMenu();
  // Tray icon present exactly when HideTrayIcon is off or the window is stored in the tray.
  void UpdateTrayIcon();
  void StoreInTray();
  void ShowFromTray();
  // Moves a window that lies on no monitor onto the primary one; one on a monitor stays.
  void BringOntoAMonitor();
  // Opens the popup menu at a screen point.
  void ShowPopupMenu(POINT screen);
  // Runs the options dialog and applies its result (save, apply, revert, abort or cancel).
  void OpenOptionsDialog();
  // The live part of the options dialog's apply step, after it has written the record: the
  // window moves to the given place and is brought in line with the record
  // (ApplySettingsToWindow); the frame, the layout and the tray icon follow when it closes.
  void ApplyOptionResult(const OptionApplyResult& applied);
  // Brings the window in line with the settings record, the one way for the start, a revert and
  // every apply or save: month grid, week numbers, today circle, calendar font, first day of the
  // week, date/time fonts and eras, colours, transparency, the menu's user item, the refresh
  // period and the alarm check interval. Not the place, the frame, the layout or the tray icon.
  void ApplySettingsToWindow();
  void OpenReadme();
  // Calendar moves by key code (Page Up/Down, End, Home, arrows); false when nothing moved.
  bool NavigateCalendar(WORD key, bool ctrl);
  void ShiftCalendarMonths(int n);
  void ShiftCalendarDays(int n);

  // The options dialog: returns its modal result (an OptionResult).
  // Unset, the real dialog (TOptionSetDialog) opens; tests put their own in.
  std::function<int()> optionsDialog;
  // The local date-time the display follows (LocalNow); tests run the window on a clock of their
  // own.
  std::function<double()> nowSource;
  // The window's tray-icon record (owner, id 0, callback message, icon and tip).
  const NOTIFYICONDATAW& TrayRecord() const noexcept { return trayRecord_; }
  // The user item's caption in the popup menu (UTF-16), empty when it is hidden.
  const std::wstring& UserMenuCaptionText() const noexcept { return userMenuCaption_; }

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
  // The displayed date-time and the formatter over it, with the system's regional settings. Only
  // the display refresh (and the return to now after a layout) moves it; the alarm engine reads
  // it as now. Nothing else changes it: the layout measures and the options dialog previews on
  // copies of their own.
  DateTimeFormatter Display{SystemRegional()};
  // The alarm engine owns the pending alarm (NextAlarmIndex, 255 = none, and NextAlarmDue).
  WinAlarmHost AlarmHost;
  AlarmEngine Alarms{AlarmHost, BusyFlag, Display.Current()};
  std::filesystem::path AlarmListPath;
  std::filesystem::path ReadmePath;

  // Shows an error text to the user; empty = a message box ("Mirovane", error icon). The main
  // window is busy while it runs.
  std::function<void(const std::wstring& text)> onErrorMessage;
  // Asks whether a settings file that could not be read may be overwritten; empty = a message box
  // (question icon, "はい" / "いいえ", "いいえ" the default). True to overwrite.
  std::function<bool(const std::wstring& text)> onConfirmOverwrite;

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
  // Takes the tray icon away if it is there; every way out of the window runs it.
  void RemoveTrayIcon();
  double Now() const { return nowSource ? nowSource() : LocalNow(); }

  void ApplyCalendarFont();
  void ApplyWindowFont();
  void ApplyAreaFont();
  void ApplyColors();
  // Layered window: colour key and/or whole-window alpha, or neither (not layered).
  void ApplyTransparency(bool colorKey, bool alpha);
  void ApplyRefreshPeriod();
  // Opens TOptionSetDialog over the window and returns its result.
  int RunOptionSetDialog();
  void ShowError(const std::wstring& text);
  // Stay-on-top and the mini title bar (a tool-window caption, no resizing); with `initial` it
  // also fills the tray-icon record. The window keeps its handle when the frame changes.
  void ApplyWindowStyle(bool initial);
  void LoadAlarms(bool initial) { Alarms.LoadAlarms(initial); }
  // The alarm list dialog over this window, on entry `selectIndex`; its modal result.
  int ShowAlarmListDialog(std::uint8_t selectIndex);
  // Where a new alarm starts: the calendar's selected date while it shows (else today), now's
  // hour and minute.
  AlarmEditorStart AlarmEditorStartValues() const;
  void SelectNextAlarm(bool recompute) { Alarms.SelectNextAlarm(recompute); }

  // The texts and the clock face for Display's moment.
  void ShowDisplayedMoment();
  // Draws the clock face for Display's moment onto ClockLabel (double-buffered; WM_PAINT
  // repaints the last drawing).
  void DrawClockFace();
  ClockFaceRenderer clockRenderer_;

  void Timer1Timer();
  // A temporary hide that never ends by itself (HideTime 0) counts as stored in the tray.
  void KeepHiddenWindowReachable();
  void Timer2Timer();
  void Timer3Timer() { RefreshDisplay(); }
  void Timer4Timer() { Alarms.Timer4Timer(); }

  // Mouse and keyboard of the window and its shared controls.
  void ConnectInput();
  void PanelMouseDown(const ui::MouseEvent& event);
  void PanelMouseMove(const ui::MouseEvent& event);
  void PanelMouseUp(const ui::MouseEvent& event);
  void PanelDblClick() { DoReaction(Settings.MainDblClick); }
  void LabelClick();
  void FormKeyDown(WPARAM key);
  void FormMouseWheel(int delta, WPARAM keys);

  // Popup menu and tray.
  void PopupMenu1Popup();
  void OnMenuCommand(UINT id);
  void OnTrayMessage(UINT mouseMessage);
  void AboutBox();
  bool ReadmeExists() const;
  bool ShowMessage(const std::string& cp932Text, int kind, bool withConfirm);
  // The application's front window: an open dialog or message window, else the main window.
  void BringToFront();

  NOTIFYICONDATAW trayRecord_{};
  // The shell hears of the icon from the end of the first Show on; before that TrayIconPresent
  // alone records the request.
  bool trayShellReady_ = false;
  // The settings file was there when last read but could not be read: the file may hold settings
  // the program never saw, which a save must not wipe without asking.
  bool settingsUnread_ = false;
  bool settingsLoaded_ = false;   // LoadSettings has run once
  std::wstring userMenuCaption_;  // empty: no user item
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
