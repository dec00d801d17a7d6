// The main window: a borderless, topmost window showing the date and the time (and later the
// month calendar and the analog clock), driven by four timers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>

#include "app/settings.h"
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

  // Controls, by their design names.
  ui::Panel BackPanel;
  ui::Panel ClockPanel;
  ui::Panel ClockLabel;  // paint surface of the clock face
  ui::Panel MainPanel;
  ui::Label DateLabel;
  ui::Label TimeLabel;
  ui::GenericControl MainCalendar;
  ui::Timer Timer1;  // 100 ms: temporary hide countdown
  ui::Timer Timer2;  // 5 s: position pinning or clamping
  ui::Timer Timer3;  // DspCycle x 10 ms: display refresh
  ui::Timer Timer4;  // alarm tick

  TCalendarSettings Settings;

  // Main-window state.
  int Tag = 0;  // first-show marker: 1 once the first FormShow has run
  bool BusyFlag = true;
  bool InTray = false;
  bool TrayIconPresent = false;
  bool DragPending = false;
  bool DragDone = false;
  std::uint8_t HideCountdown = 0;
  std::uint8_t NextAlarmIndex = 255;  // 255 = no pending alarm
  double NextAlarmDue = 0.0;
  std::filesystem::path AlarmListPath;
  std::filesystem::path ReadmePath;

  // The window's own colour, visible as the border around the content.
  COLORREF Color() const noexcept { return color_; }
  HFONT WindowFont() const noexcept { return font_.get(); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateControls();
  void FormCreate();
  void FormShow();
  void FormClose();

  // Settings store: reads the INI file (not yet: the record keeps its defaults) and applies the
  // record to the window.
  void LoadSettings();
  void ApplyFonts();
  void ApplyRefreshPeriod();
  // Window style: stay-on-top now; the mini title bar and the tray-icon record come later.
  void ApplyWindowStyle(bool initial);
  // Tray icon and alarms: filled in with those features.
  void UpdateTrayIcon() {}
  void DeleteTrayIcon() {}
  void LoadAlarms(bool /*initial*/) {}
  void SelectNextAlarm(bool /*recompute*/) {}

  // Layout: which parts show, then their sizes from the measuring sample.
  void ApplyVisibility();
  void LayoutWindow();
  // The analog clock face on ClockLabel: drawn by the clock feature.
  void DrawClockFace() {}

  void Timer1Timer() {}  // hide countdown: comes with the window behaviour
  void Timer2Timer() {}  // position pinning: comes with the window behaviour
  void Timer3Timer() { RefreshDisplay(); }
  void Timer4Timer() {}  // alarm tick: comes with the alarms

  ui::FontSpec fontSpec_;
  ui::FontHandle font_;
  COLORREF color_;
  COLORREF labelBack_;
  COLORREF labelText_;
};

}  // namespace mirovane
