#include "app/calendar_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "../../res/resource.h"
#include "app/app_paths.h"
#include "format/formatter.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace mirovane {

namespace {

SYSTEMTIME ToSystemTime(const DateTimeRecord& dt) {
  SYSTEMTIME st{};
  st.wYear = dt.Year;
  st.wMonth = dt.Month;
  st.wDay = dt.Day;
  st.wDayOfWeek = static_cast<WORD>(dt.DayOfWeek - 1);
  return st;
}

}  // namespace

TCalendarDialog::TCalendarDialog()
    : Timer1(*this, 100, false),
      Timer2(*this, 5000, false),
      Timer3(*this, 0, false),
      Timer4(*this, 500, false),
      color_(GetSysColor(COLOR_BTNFACE)),
      labelBack_(GetSysColor(COLOR_BTNFACE)),
      labelText_(GetSysColor(COLOR_WINDOWTEXT)) {
  Timer1.onTimer = [this] { Timer1Timer(); };
  Timer2.onTimer = [this] { Timer2Timer(); };
  Timer3.onTimer = [this] { Timer3Timer(); };
  Timer4.onTimer = [this] { Timer4Timer(); };
}

TCalendarDialog::~TCalendarDialog() {
  // Destroy while the derived handlers still run (WM_DESTROY ends the message loop).
  Destroy();
}

void TCalendarDialog::Create(HWND owner) {
  WNDCLASSEXW wc{};
  wc.style = CS_DBLCLKS;
  wc.hIcon = LoadIconW(ui::ModuleInstance(), MAKEINTRESOURCEW(IDI_APP));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kCalendarDialogClass;
  RegisterClassOnce(wc);
  // No border and no caption; auto-sized by the layout at the first showing.
  CreateHandle(0, kCalendarDialogClass, L"Mirovane", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, owner,
               0);
}

void TCalendarDialog::Show() {
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
}

void TCalendarDialog::CreateControls() {
  const HWND self = Handle();
  BackPanel.Create(self, kBackPanelId, color_);
  ClockPanel.Create(BackPanel.Handle(), kClockPanelId, labelBack_);
  ClockLabel.Create(ClockPanel.Handle(), kClockLabelId, labelBack_);
  ClockLabel.onPaint = [this](HDC, const RECT&) { DrawClockFace(); };
  MainPanel.Create(BackPanel.Handle(), kMainPanelId, labelBack_);
  DateLabel.Create(MainPanel.Handle(), kDateLabelId);
  TimeLabel.Create(MainPanel.Handle(), kTimeLabelId, " ");
  DateLabel.SetColors(labelBack_, labelText_);
  TimeLabel.SetColors(labelBack_, labelText_);
  MainCalendar.Create(0, MONTHCAL_CLASSW, WS_TABSTOP | MCS_NOTODAY, MainPanel.Handle(),
                      kMainCalendarId);
}

void TCalendarDialog::FormCreate() {
  LoadSettings();
  SetDateTimeEx(LocalNow());

  Tag = 0;
  BusyFlag = true;
  InTray = false;
  TrayIconPresent = false;
  DragPending = false;
  DragDone = false;
  HideCountdown = 0;
  NextAlarmIndex = 255;

  // The calendar shows today.
  SYSTEMTIME today = ToSystemTime(CurrentDateTime());
  SendMessageW(MainCalendar.Handle(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&today));

  SetWindowTextW(Handle(), L"Mirovane");

  const std::filesystem::path exe = ExecutablePath();
  AlarmListPath = AlarmListPathFor(exe);
  ReadmePath = ReadmePathFor(exe);

  ApplyWindowStyle(true);
  UpdateTrayIcon();
  LoadAlarms(true);
  SelectNextAlarm(true);
}

void TCalendarDialog::FormShow() {
  if (Tag != 0) return;  // later showings after a hide change nothing
  Tag = 1;
  ApplyVisibility();
  Timer1.SetEnabled(true);
  Timer2.SetEnabled(true);
  BusyFlag = false;
}

void TCalendarDialog::FormClose() {
  // Nothing is written at exit.
  if (TrayIconPresent) DeleteTrayIcon();
}

void TCalendarDialog::LoadSettings() {
  ApplyFonts();
  ApplyRefreshPeriod();
}

void TCalendarDialog::ApplyFonts() {
  ui::FontHandle font = ui::CreateUiFont(fontSpec_, Dpi());
  DateLabel.SetFont(font.get());
  TimeLabel.SetFont(font.get());
  // The labels have let go of the old font: it can be deleted now.
  font_ = std::move(font);
}

void TCalendarDialog::ApplyRefreshPeriod() {
  if (Settings.DspCycle > 0) {
    const int cycle = std::min(Settings.DspCycle, 6000);
    Timer3.SetInterval(static_cast<UINT>(cycle) * 10);
    Timer3.SetEnabled(true);
  } else {
    Timer3.SetEnabled(false);
    Timer3.SetInterval(0);
  }
}

void TCalendarDialog::ApplyWindowStyle(bool /*initial*/) {
  // Into or out of the topmost band, without moving, sizing or activating.
  SetWindowPos(Handle(), Settings.StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCalendarDialog::ApplyVisibility() {
  // Until the calendar and the clock face exist, the date and time are shown alone; with both
  // hidden the window would be empty, so then both show anyway.
  const bool bothHidden = Settings.HideNowDate && Settings.HideNowTime;
  DateLabel.SetVisible(!Settings.HideNowDate || bothHidden);
  TimeLabel.SetVisible(!Settings.HideNowTime || bothHidden);
  MainCalendar.SetVisible(false);
  ClockPanel.SetVisible(false);
  InvalidateRect(Handle(), nullptr, TRUE);
  LayoutWindow();
}

void TCalendarDialog::LayoutWindow() {
  const UINT dpi = Dpi();
  const int lb = ui::Scale(Settings.LabelBorder, dpi);
  const int bw = ui::Scale(Settings.BorderWidth, dpi);

  struct Row {
    ui::Label* label;
    const std::string* format;
    int height;
  };
  Row rows[] = {{&DateLabel, &Settings.DateFormat, 0}, {&TimeLabel, &Settings.TimeFormat, 0}};

  // Each visible label is as large as its text for the sample moment plus two blanks, with the
  // label border around it; the labels stack at the width of the widest.
  int width = 0;
  int height = 0;
  if (DateLabel.Visible() || TimeLabel.Visible()) {
    SetDateTimeEx(kMeasuringSample);
    for (Row& row : rows) {
      if (!row.label->Visible()) continue;
      const std::string text = FormatDateTimeEx(*row.format) + "  ";
      row.label->SetText(text);
      const SIZE extent = row.label->MeasureText(text);
      row.height = extent.cy + lb + ui::Scale(2, dpi);
      width = std::max(width, static_cast<int>(extent.cx) + lb);
      height += row.height;
    }
  }
  int top = 0;
  for (const Row& row : rows) {
    if (!row.label->Visible()) continue;
    row.label->SetBounds(0, top, width, row.height);
    top += row.height;
  }

  BackPanel.SetBounds(0, 0, width + 2 * bw, height + 2 * bw);
  MainPanel.SetBounds(bw, bw, width, height);

  // The window's client area is exactly BackPanel.
  RECT frame{0, 0, width + 2 * bw, height + 2 * bw};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)),
                           FALSE, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)),
                           dpi);
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);

  // Back to now: the sample texts give way to the current ones.
  RefreshDisplay();
}

void TCalendarDialog::RefreshDisplay() {
  if (!SetDateTimeEx(LocalNow())) return;
  InvalidateRect(BackPanel.Handle(), nullptr, FALSE);
  FormatBuffer buffer;
  if (DateLabel.Visible()) DateLabel.SetText(TheFormatter().FormatInto(Settings.DateFormat, buffer));
  if (TimeLabel.Visible()) TimeLabel.SetText(TheFormatter().FormatInto(Settings.TimeFormat, buffer));
  if (ClockPanel.Visible()) DrawClockFace();
}

LRESULT TCalendarDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      try {
        CreateControls();
        FormCreate();
      } catch (...) {
        ui::ReportCurrentException();
        return -1;  // the creation fails and Create throws
      }
      return 0;
    case WM_SHOWWINDOW:
      if (wp) FormShow();
      break;
    case WM_CLOSE:
      FormClose();
      Destroy();
      return 0;
    case WM_DESTROY:
      // Closing the main window ends the program.
      PostQuitMessage(0);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // BackPanel covers the whole client area
    case WM_DPICHANGED: {
      const RECT& suggested = *reinterpret_cast<const RECT*>(lp);
      ApplyFonts();
      SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      if (Tag != 0) LayoutWindow();
      return 0;
    }
    default:
      break;
  }
  return DefaultHandling(msg, wp, lp);
}

}  // namespace mirovane
