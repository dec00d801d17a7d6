#include "app/calendar_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "../../res/resource.h"
#include "alarms/alarm_list_dialog.h"
#include "alarms/busy_scope.h"
#include "app/app_paths.h"
#include "dialogs/option_dialog.h"
#include "format/formatter.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/ini_file.h"
#include "settings/colors_win.h"
#include "settings/layout.h"
#include "settings/settings_codec.h"
#include "settings/window_rules.h"
#include "ui/shell.h"

namespace mirovane {

namespace {

// A Shift-JIS font of a settings font at `points` points, for `dpi`.
ui::FontHandle CreatePointFont(const FontSetting& font, int points, UINT dpi) {
  return ui::CreateShiftJisFont(Cp932ToWide(font.Name), ui::PointsToPixels(points, dpi), font.Bold,
                                font.Italic);
}

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

// EnumDisplayMonitors callback: adds the monitor to the list at `list`, the primary in front.
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  auto& monitors = *reinterpret_cast<std::vector<Rect>*>(list);
  const RECT& r = info.rcMonitor;
  const Rect full{r.left, r.top, r.right - r.left, r.bottom - r.top};
  if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
    monitors.insert(monitors.begin(), full);
  } else {
    monitors.push_back(full);
  }
  return TRUE;
}

// Every monitor's full rectangle, the primary first, as the position rules take them; the
// primary screen alone when the system lists none.
std::vector<Rect> MonitorRects() {
  std::vector<Rect> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty()) {
    monitors.push_back({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  }
  return monitors;
}

RECT WindowRect(HWND hwnd) {
  RECT r{0, 0, 0, 0};
  GetWindowRect(hwnd, &r);
  return r;
}

// Broadcast to every top-level window when the shell's task bar is (re)created.
UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

void Place(ui::Window& w, const Rect& r) { w.SetBounds(r.x, r.y, r.w, r.h); }
void Place(ui::Control& c, const Rect& r) { c.SetBounds(r.x, r.y, r.w, r.h); }

}  // namespace

TCalendarDialog::TCalendarDialog()
    : Timer1(*this, 100, false),
      Timer2(*this, 5000, false),
      Timer3(*this, 0, false),
      Timer4(*this, 500, false),
      color_(GetSysColor(COLOR_BTNFACE)),
      labelBack_(GetSysColor(COLOR_BTNFACE)),
      labelText_(GetSysColor(COLOR_WINDOWTEXT)) {
  IniPath = std::filesystem::path(ExecutablePath()).replace_extension(AsciiPath(".ini"));
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
  if (!trayShellReady_) {
    // The window has painted: only now is the shell told about the icon that FormCreate asked
    // for, so that loading the shell and its answer do not hold up the window's first paint.
    trayShellReady_ = true;
    if (TrayIconPresent) ui::NotifyIcon(NIM_ADD, &trayRecord_);
  }
}

void TCalendarDialog::CreateControls() {
  const HWND self = Handle();
  BackPanel.Create(self, kBackPanelId, color_);
  ClockPanel.Create(BackPanel.Handle(), kClockPanelId, labelBack_);
  ClockLabel.Create(ClockPanel.Handle(), kClockLabelId, labelBack_);
  ClockLabel.onPaint = [this](HDC dc, const RECT&) { clockRenderer_.Paint(dc); };
  MainPanel.Create(BackPanel.Handle(), kMainPanelId, labelBack_);
  DateLabel.Create(MainPanel.Handle(), kDateLabelId);
  TimeLabel.Create(MainPanel.Handle(), kTimeLabelId, " ");
  DateLabel.SetColors(labelBack_, labelText_);
  TimeLabel.SetColors(labelBack_, labelText_);
  MainCalendar.Create(MainPanel.Handle(), kMainCalendarId);
  ConnectInput();
}

void TCalendarDialog::FormCreate() {
  LoadSettings();
  Display.SetDateTimeEx(Now());

  Tag = 0;
  BusyFlag = true;
  InTray = false;
  TrayIconPresent = false;
  DragPending = false;
  DragDone = false;
  HideCountdown = 0;

  // The calendar shows today.
  const DateTimeRecord& today = Display.Current();
  MainCalendar.SetDate(ToSystemTime(CalendarDate{today.Year, today.Month, today.Day}));

  SetWindowTextW(Handle(), L"Mirovane");
  // The task bar's restart message also reaches a window of an elevated process.
  ChangeWindowMessageFilterEx(Handle(), TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);

  const std::filesystem::path exe = ExecutablePath();
  AlarmListPath = AlarmListPathFor(exe);
  ReadmePath = ReadmePathFor(exe);

  ApplyWindowStyle(true);
  UpdateTrayIcon();

  AlarmHost.owner = Handle();
  AlarmHost.beforeMessage = [this] {
    // A message over the visible window ends a pending hide and the stored-in-tray state.
    if (IsWindowVisible(Handle())) {
      HideCountdown = 0;
      InTray = false;
    }
  };
  AlarmHost.alarmTimer = [this](bool on, unsigned ms) {
    Timer4.SetEnabled(false);
    if (on) {
      Timer4.SetInterval(ms);
      Timer4.SetEnabled(true);
    }
  };
  if (!AlarmHost.alarmListDialog) {
    AlarmHost.alarmListDialog = [this](std::uint8_t index) { return ShowAlarmListDialog(index); };
  }
  Alarms.SetAlarmListPath(AlarmListPath);
  Alarms.SetCheckInterval(Settings.AlarmChk);
  LoadAlarms(true);
  SelectNextAlarm(true);
}

void TCalendarDialog::FormShow() {
  if (Tag != 0) return;  // later showings after a hide change nothing
  Tag = 1;
  ApplyVisibility();
  // The layout has given the window its size: a remembered place on a monitor that has gone
  // must not start it out of sight.
  BringOntoAMonitor();
  Timer1.SetEnabled(true);
  Timer2.SetEnabled(true);
  BusyFlag = false;
}

void TCalendarDialog::FormClose() {
  // Nothing is written at exit; the tray icon goes with the window.
  RemoveTrayIcon();
}

void TCalendarDialog::RemoveTrayIcon() {
  if (!TrayIconPresent) return;
  TrayIconPresent = false;
  if (trayShellReady_) ui::NotifyIcon(NIM_DELETE, &trayRecord_);
}

// ---- Settings store ----------------------------------------------------------------------------

bool TCalendarDialog::LoadSettings() {
  // A missing file gives every key its default. So does a folder in the file's place, which holds
  // no settings to lose (and which no save replaces).
  std::string text, reason;
  const ReadStatus read = ReadWholeFile(IniPath, text, kMaxWholeFileBytes, &reason);
  const bool first = !settingsLoaded_;
  settingsLoaded_ = true;
  if (read == ReadStatus::Error || read == ReadStatus::TooLarge) {
    if (IsExistingFile(IniPath)) {
      settingsUnread_ = true;
      ShowError(Utf8ToWide(CannotReadText(IniPath, read, reason)));
      // A revert keeps what is in use; the first load goes on with the defaults.
      if (!first) return false;
    }
    text.clear();
  } else {
    settingsUnread_ = false;
  }
  // A file saved with a byte-order mark (UTF-8 or UTF-16) reads as the system's reader reads it.
  const IniDocument doc(DecodeIniFile(text).text);

  TCalendarSettings s;
  // The two font faces default to the ones in use.
  s.CalendarFont.Name = Settings.CalendarFont.Name;
  s.DateTimeFont.Name = Settings.DateTimeFont.Name;
  ReadSettings(doc, s);
  Settings = std::move(s);

  // [MainForm]: the position at once; the left edge counts from the screen's right edge with
  // AlignRight, for the window's current width (the layout keeps that right edge).
  const RECT now = WindowRect(Handle());
  const int left = LeftFromSetting(Settings, now.right - now.left, ScreenWidth());
  SetWindowPos(Handle(), nullptr, left, Settings.TopPosition, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);

  ApplySettingsToWindow();
  return !settingsUnread_;
}

bool TCalendarDialog::SaveSettings() {
  // Start from the file as it is, so sections, keys and comments we do not know survive. A file
  // that exists but cannot be read is not overwritten: that would lose them.
  std::string text, reason;
  const ReadStatus read = ReadWholeFile(IniPath, text, kMaxWholeFileBytes, &reason);
  if (read == ReadStatus::Error || read == ReadStatus::TooLarge) {
    ShowError(Utf8ToWide(CannotWriteText(
        IniPath, read == ReadStatus::TooLarge ? "ファイルが大きすぎます" : reason)));
    return false;
  }
  if (settingsUnread_ && read == ReadStatus::Ok) {
    // Readable again, but what it holds never reached the window: the values in use would
    // replace every setting in it.
    const std::wstring question =
        IniPath.wstring() + Utf8ToWide(
                                " は読み込めなかったため、その設定は今の設定に入っていません。\r\n"
                                "上書きすると、ファイルにある設定は失われます。上書きしますか？");
    const BusyScope busy(BusyFlag);
    const bool overwrite = onConfirmOverwrite
                               ? onConfirmOverwrite(question)
                               : MessageBoxW(Handle(), question.c_str(), L"Mirovane",
                                             MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2) == IDYES;
    if (!overwrite) return false;
  }
  // Written back in the encoding the file had.
  const DecodedIniFile file = DecodeIniFile(text);
  IniDocument doc(file.text);

  TCalendarSettings s = Settings;
  const RECT r = WindowRect(Handle());
  s.TopPosition = r.top;
  s.LeftPosition = LeftToSetting(s, r.left, r.right - r.left, ScreenWidth());
  WriteSettings(doc, s);
  // Replaced whole or not at all: a failed save leaves the previous file as it was.
  std::string error;
  if (!WriteWholeFileAtomic(IniPath, EncodeIniFile(doc.Text(), file.format), &error)) {
    ShowError(Utf8ToWide(CannotWriteText(IniPath, error)));
    return false;
  }
  settingsUnread_ = false;
  Settings.TopPosition = s.TopPosition;
  Settings.LeftPosition = s.LeftPosition;
  return true;
}

int TCalendarDialog::ShowAlarmListDialog(std::uint8_t selectIndex) {
  TAlarmListDialog dialog(AlarmListPath, [this] { return AlarmEditorStartValues(); });
  if (!dialog.Loaded()) {
    // Opening it empty would let a save wipe the list.
    ShowError(Cp932ToWide(dialog.LoadError()));
    return kModalCancel;
  }
  dialog.SelectEntry(selectIndex);
  return dialog.ShowModal(Handle());
}

AlarmEditorStart TCalendarDialog::AlarmEditorStartValues() const {
  DateTimeRecord now;
  now.Set(Now());
  AlarmEditorStart start;
  start.Date = CivilDate{now.Year, now.Month, now.Day};
  if (MainCalendar.Visible()) {
    const SYSTEMTIME selected = MainCalendar.Date();
    start.Date = CivilDate{selected.wYear, selected.wMonth, selected.wDay};
  }
  start.Hour = now.Hour;
  start.Minute = now.Minute;
  return start;
}

// ---- Options dialog ----------------------------------------------------------------------------

int TCalendarDialog::RunOptionSetDialog() {
  // The dialog reads the window as it is now: place, month grid, week numbers and today circle.
  const RECT r = WindowRect(Handle());
  OptionDialogTarget target;
  target.settings = &Settings;
  target.window.top = r.top;
  target.window.left = r.left;
  target.window.columns = columns_;
  target.window.rows = rows_;
  target.window.weekNumbers = MainCalendar.ShowWeekNumbers();
  target.window.todayCircle = MainCalendar.ShowTodayCircle();
  target.mainWindow = Handle();
  target.display = &Display;
  target.applyToWindow = [this](const OptionApplyResult& applied) { ApplyOptionResult(applied); };
  TOptionSetDialog dialog(std::move(target));
  return dialog.ShowModal(Handle());
}

void TCalendarDialog::ApplyOptionResult(const OptionApplyResult& applied) {
  SetWindowPos(Handle(), nullptr, applied.windowPos.x, applied.windowPos.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  ApplySettingsToWindow();
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TCalendarDialog::ApplySettingsToWindow() {
  // [Calendar]
  SetMonthGrid(Settings.ShowMonthCount);
  MainCalendar.SetShowWeekNumbers(Settings.ShowWeekNumber);
  MainCalendar.SetShowTodayCircle(Settings.ShowRedCircle);
  ApplyCalendarFont();
  ApplyFirstDayOfWeek();

  // [DateTime]: the window font is the date/time font; both areas take it as it is until the
  // next ApplyVisibility decides their size. The display renders the era tokens as NewEras asks.
  ApplyWindowFont();
  areaFontSize_ = Settings.DateTimeFont.Size;
  ApplyAreaFont();
  Display.SetNewEras(Settings.NewEras);

  // [ColorSet]
  ApplyColors();
  ApplyTransparency(Settings.Transparency, Settings.AlphaBlend);

  // [Reaction]: the bindings and the hide times are read from the record when they are used. A
  // running alarm timer takes a new AlarmChk at once, keeping the alarm already chosen.
  UpdateUserMenu();
  ApplyRefreshPeriod();
  Alarms.SetCheckInterval(Settings.AlarmChk);
  if (Timer4.Enabled()) SelectNextAlarm(false);
}

void TCalendarDialog::ShowError(const std::wstring& text) {
  // Busy while the message is up: timers and reactions wait, and come back afterwards.
  const BusyScope busy(BusyFlag);
  if (onErrorMessage) {
    onErrorMessage(text);
  } else {
    MessageBoxW(Handle(), text.c_str(), L"Mirovane", MB_ICONERROR | MB_OK);
  }
}

void TCalendarDialog::ApplyCalendarFont() {
  MainCalendar.TakeFont(calendarFont_,
                        CreatePointFont(Settings.CalendarFont, Settings.CalendarFont.Size, Dpi()));
}

void TCalendarDialog::ApplyWindowFont() {
  font_ = CreatePointFont(Settings.DateTimeFont, Settings.DateTimeFont.Size, Dpi());
}

void TCalendarDialog::ApplyAreaFont() {
  ui::FontHandle font = CreatePointFont(Settings.DateTimeFont, areaFontSize_, Dpi());
  DateLabel.SetFont(font.get());
  TimeLabel.SetFont(font.get());
  areaFont_ = std::move(font);
}

void TCalendarDialog::ApplyColors() {
  MainCalendar.SetColor(CalendarColor::MonthBack, ToColorRef(Settings.CalendarBack));
  MainCalendar.SetColor(CalendarColor::Text, ToColorRef(Settings.CalendarText));
  MainCalendar.SetColor(CalendarColor::TrailingText, ToColorRef(Settings.TrailText));
  MainCalendar.SetColor(CalendarColor::TitleBack, ToColorRef(Settings.TitleBack));
  MainCalendar.SetColor(CalendarColor::TitleText, ToColorRef(Settings.TitleText));

  labelBack_ = ToColorRef(Settings.LabelBack);
  labelText_ = ToColorRef(Settings.LabelText);
  color_ = ToColorRef(Settings.BorderColor);
  BackPanel.SetColor(color_);
  MainPanel.SetColor(labelBack_);
  ClockPanel.SetColor(labelBack_);
  ClockLabel.SetColor(labelBack_);
  DateLabel.SetColors(labelBack_, labelText_);
  TimeLabel.SetColors(labelBack_, labelText_);
}

void TCalendarDialog::ApplyTransparency(bool colorKey, bool alpha) {
  ui::SetLayered(Handle(), colorKey, ToColorRef(Settings.TransColor), alpha, Settings.AlphaValue);
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

void TCalendarDialog::ApplyWindowStyle(bool initial) {
  const HWND hwnd = Handle();
  // Into or out of the topmost band, without moving, sizing or activating.
  SetWindowPos(hwnd, Settings.StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  // The mini title bar: a tool-window caption (with its close button) and no sizing border.
  // The frame is changed in place, so the handle the tray icon and other processes hold stays
  // valid; the next layout sizes the window around its content again.
  constexpr LONG_PTR kCaption = WS_CAPTION | WS_SYSMENU;
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  const LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  const bool hasCaption = (style & WS_CAPTION) == WS_CAPTION;
  if (hasCaption != Settings.TitleBar) {
    SetWindowLongPtrW(hwnd, GWL_STYLE, Settings.TitleBar ? style | kCaption : style & ~kCaption);
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                      Settings.TitleBar ? ex | WS_EX_TOOLWINDOW : ex & ~LONG_PTR{WS_EX_TOOLWINDOW});
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  if (initial) {
    trayRecord_ = NOTIFYICONDATAW{};
    // The first version of the record: owner, id, callback message, icon and tip.
    trayRecord_.cbSize = NOTIFYICONDATAW_V1_SIZE;
    trayRecord_.uID = 0;
    trayRecord_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayRecord_.uCallbackMessage = kTrayMessage;
    trayRecord_.hIcon = static_cast<HICON>(
        LoadImageW(ui::ModuleInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wcscpy_s(trayRecord_.szTip, 64, L"Mirovane");
  }
  trayRecord_.hWnd = hwnd;
}

void TCalendarDialog::Timer1Timer() {
  const HWND hwnd = Handle();
  switch (HideTick(BusyFlag, IsWindowVisible(hwnd) != FALSE, Settings.HideTime, HideCountdown)) {
    case HideAction::Hide:
      ShowWindow(hwnd, SW_HIDE);
      KeepHiddenWindowReachable();
      break;
    case HideAction::Show:
      // Back where it was, shown and active, so that Enter, Space and Esc reach it at once.
      ShowWindow(hwnd, SW_SHOW);
      SetForegroundWindow(hwnd);
      break;
    case HideAction::None:
      break;
  }
}

void TCalendarDialog::KeepHiddenWindowReachable() {
  // With HideTime 0 the window does not come back by itself; it waits for the tray icon. Make
  // sure there is one, even with HideTrayIcon on: otherwise nothing could ever show it again.
  if (Settings.HideTime != 0 || IsWindowVisible(Handle())) return;
  InTray = true;
  UpdateTrayIcon();
}

void TCalendarDialog::Timer2Timer() {
  const HWND hwnd = Handle();
  if (BusyFlag || !IsWindowVisible(hwnd)) return;
  const RECT r = WindowRect(hwnd);
  const Rect window{r.left, r.top, r.right - r.left, r.bottom - r.top};
  const std::optional<Point> to = PositionTick(Settings, window, MonitorRects());
  if (!to || (to->x == window.x && to->y == window.y)) return;
  SetWindowPos(hwnd, nullptr, to->x, to->y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void TCalendarDialog::BringOntoAMonitor() {
  const HWND hwnd = Handle();
  const RECT r = WindowRect(hwnd);
  const std::optional<Point> to =
      OntoAMonitor({r.left, r.top, r.right - r.left, r.bottom - r.top}, MonitorRects());
  if (!to) return;
  SetWindowPos(hwnd, nullptr, to->x, to->y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

// ---- Layout ------------------------------------------------------------------------------------

void TCalendarDialog::SetMonthGrid(std::uint8_t packed) {
  columns_ = static_cast<std::uint8_t>(packed >> 4);
  rows_ = static_cast<std::uint8_t>(packed & 15);
  // One click on a scroll arrow turns a whole page of months.
  MainCalendar.SetMonthDelta(columns_ * rows_);
}

void TCalendarDialog::ApplyFirstDayOfWeek() {
  const int day = Settings.FirstDayOfWeek;
  if (day <= 6) {
    MainCalendar.SetFirstDayOfWeek(day);
  } else if (day == 7) {
    MainCalendar.SetFirstDayOfWeek(SystemFirstDayOfWeek());
  }
}

void TCalendarDialog::ApplyVisibility() {
  const Visibility v = ComputeVisibility(Settings);
  if (v.dateTimeFontSize != areaFontSize_) {
    areaFontSize_ = v.dateTimeFontSize;
    ApplyAreaFont();
  }
  MainPanel.SetVisible(v.dateTimeArea);
  MainCalendar.SetVisible(v.calendar);
  DateLabel.SetVisible(v.dateLabel);
  TimeLabel.SetVisible(v.timeLabel);
  ClockPanel.SetVisible(v.clock);
  InvalidateRect(Handle(), nullptr, TRUE);
  LayoutWindow();
}

void TCalendarDialog::LayoutWindow() {
  const HWND self = Handle();
  const UINT dpi = Dpi();

  // Transparency and the clock are off while the parts move; they come back at the end.
  const bool colorKey = Settings.Transparency;
  const bool alpha = Settings.AlphaBlend;
  const bool clockVisible = ClockPanel.Visible();
  ApplyTransparency(false, false);
  ClockPanel.SetVisible(false);
  const RECT before = WindowRect(self);

  LayoutInput in;
  in.visible.dateTimeArea = MainPanel.Visible();
  in.visible.calendar = MainCalendar.Visible();
  in.visible.dateLabel = DateLabel.Visible();
  in.visible.timeLabel = TimeLabel.Visible();
  in.visible.clock = clockVisible;
  in.calendarPosition = Settings.CalendarPosition;
  // The two margins are 96-DPI pixels.
  in.borderWidth = ui::Scale(Settings.BorderWidth, dpi);
  in.labelBorder = ui::Scale(Settings.LabelBorder, dpi);
  in.columns = columns_;
  in.rows = rows_;
  in.clockFontHeight = ui::PointsToPixels(areaFontSize_, dpi);
  if (in.visible.dateTimeArea) {
    if (in.visible.calendar) {
      const SIZE month = MainCalendar.MinimumMonthSize();
      in.calendarMonth = {month.cx, month.cy};
      in.calendarFontHeight = ui::PointsToPixels(Settings.CalendarFont.Size, dpi);
    }
    if (in.visible.dateLabel || in.visible.timeLabel) {
      // Sized for the sample moment, so the window keeps its size while the clock runs. The
      // sample is rendered on a copy: the displayed moment, which the alarm engine reads as now,
      // never leaves the present.
      DateTimeFormatter sample = Display;
      sample.SetDateTimeEx(kMeasuringSample);
      const auto measure = [&sample](ui::Label& label, const std::string& format, Size& size) {
        const std::string text = sample.FormatDateTimeEx(format) + "  ";
        label.SetText(text);
        const SIZE extent = label.MeasureText(text);
        size = {extent.cx, extent.cy};
      };
      if (in.visible.dateLabel) measure(DateLabel, Settings.DateFormat, in.dateText);
      if (in.visible.timeLabel) measure(TimeLabel, Settings.TimeFormat, in.timeText);
    }
  }

  const LayoutResult r = ComputeLayout(in);
  Place(BackPanel, r.backPanel);
  if (in.visible.dateTimeArea) {
    Place(MainPanel, r.mainPanel);
    if (in.visible.calendar) Place(MainCalendar, r.calendar);
    if (in.visible.dateLabel) Place(DateLabel, r.dateLabel);
    if (in.visible.timeLabel) Place(TimeLabel, r.timeLabel);
  }
  if (clockVisible) {
    Place(ClockPanel, r.clockPanel);
    Place(ClockLabel, r.clockFace);
  }

  // The client area is exactly BackPanel; a caption bar, if any, goes outside it. With
  // AlignRight the right edge stays where it was, otherwise the left edge.
  RECT frame{0, 0, r.backPanel.w, r.backPanel.h};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(self, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(self, GWL_EXSTYLE)), dpi);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left =
      Settings.AlignRight ? static_cast<int>(before.right) - width : static_cast<int>(before.left);
  SetWindowPos(self, nullptr, left, before.top, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);

  ClockPanel.SetVisible(clockVisible);
  // Back to now: the sample texts give way to the current ones.
  Display.SetDateTimeEx(Now());
  ShowDisplayedMoment();
  ApplyTransparency(colorKey, alpha);
}

void TCalendarDialog::RefreshDisplay() {
  if (Display.SetDateTimeEx(Now())) ShowDisplayedMoment();
}

void TCalendarDialog::ShowDisplayedMoment() {
  // Only the texts and the clock change; they repaint themselves. (BackPanel itself shows just
  // the border colour, so repainting it on every tick would cost time under every refresh and
  // show nothing new.)
  FormatBuffer buffer;
  if (DateLabel.Visible()) DateLabel.SetText(Display.FormatInto(Settings.DateFormat, buffer));
  if (TimeLabel.Visible()) TimeLabel.SetText(Display.FormatInto(Settings.TimeFormat, buffer));
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
      // However the window goes (closed, destroyed by its owner, the session ending), no icon of
      // it stays behind in the tray. Closing the main window ends the program.
      RemoveTrayIcon();
      PostQuitMessage(0);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // BackPanel covers the whole client area
    case WM_KEYDOWN:
      FormKeyDown(wp);
      return 0;
    case WM_SYSCOLORCHANGE:
      // Settings may name system colours: resolve them again, redraw the clock's dial, and let
      // the month calendar know as well (common controls learn it from their top-level window).
      ApplyColors();
      clockRenderer_.Invalidate();
      SendMessageW(MainCalendar.Handle(), WM_SYSCOLORCHANGE, 0, 0);
      RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      if (ClockPanel.Visible()) DrawClockFace();
      return 0;
    case WM_MOUSEWHEEL:
      FormMouseWheel(GET_WHEEL_DELTA_WPARAM(wp), GET_KEYSTATE_WPARAM(wp));
      return 0;
    case WM_CONTEXTMENU:
      // The menu key or Shift+F10; mouse clicks open the menu on the button's release.
      if (lp == -1) {
        const RECT r = WindowRect(Handle());
        ShowPopupMenu(POINT{r.left, r.top});
        return 0;
      }
      break;
    case WM_COMMAND:
      if (lp == 0 && HIWORD(wp) == 0) {
        OnMenuCommand(LOWORD(wp));
        return 0;
      }
      break;
    case kTrayMessage:
      OnTrayMessage(static_cast<UINT>(LOWORD(lp)));
      return 0;
    case WM_DPICHANGED: {
      // Fonts and margins are rebuilt for the new DPI; the size follows from the layout.
      const RECT& suggested = *reinterpret_cast<const RECT*>(lp);
      ApplyCalendarFont();
      ApplyWindowFont();
      ApplyAreaFont();
      // The suggested rectangle first: the layout then keeps its right (or left) edge.
      SetWindowPos(Handle(), nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      if (Tag != 0) LayoutWindow();
      return 0;
    }
    default:
      // The shell restarted (Explorer crashed or was restarted): its tray starts empty.
      if (msg == TaskbarCreatedMessage() && TrayIconPresent && trayShellReady_) {
        ui::NotifyIcon(NIM_ADD, &trayRecord_);
        return 0;
      }
      break;
  }
  return DefaultHandling(msg, wp, lp);
}

void TCalendarDialog::DrawClockFace() {
  RECT face{};
  GetClientRect(ClockLabel.Handle(), &face);
  const DateTimeRecord& now = Display.Current();
  const ClockColors colors{Settings.LabelBack, Settings.LabelText, Settings.BorderColor,
                           Settings.TitleBack, Settings.TrailText};
  clockRenderer_.Render(ClockLabel.Handle(), face.right, face.bottom, now.Hour, now.Minute,
                        now.Second, colors, AreaFont(), Dpi());
}

}  // namespace mirovane
