// The main window's direct manipulation: mouse and keys on its shared controls, the reactions
// they are bound to, the popup menu, the tray icon and the options dialog's result.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "alarms/alarm_action.h"
#include "alarms/busy_scope.h"
#include "app/calendar_dialog.h"
#include "app/calendar_navigation.h"
#include "dialogs/option_dialog.h"
#include "format/datetime.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "ui/gdi.h"
#include "ui/shell.h"

// MIROVANE_VERSION comes from the build (the project's version in the top CMakeLists.txt).
#ifndef MIROVANE_VERSION
#error "MIROVANE_VERSION is not defined"
#endif

namespace mirovane {

SYSTEMTIME ToSystemTime(const CalendarDate& d) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(d.year);
  st.wMonth = static_cast<WORD>(d.month);
  st.wDay = static_cast<WORD>(d.day);
  st.wHour = static_cast<WORD>(d.hour);
  st.wMinute = static_cast<WORD>(d.minute);
  st.wSecond = static_cast<WORD>(d.second);
  st.wMilliseconds = static_cast<WORD>(d.millisecond);
  st.wDayOfWeek =
      static_cast<WORD>(DayOfWeekFromDayNumber(DayNumberFromCivil(d.year, d.month, d.day)) - 1);
  return st;
}

CalendarDate FromSystemTime(const SYSTEMTIME& st) {
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

namespace {

std::wstring Utf16(const char* utf8) { return Utf8ToWide(utf8); }

// The about text: the program, its version and what it does.
std::string AboutText() {
  return Utf8ToCp932("Mirovane バージョン " MIROVANE_VERSION
                     "\r\n和暦や漢数字にも対応した書式で日付と時刻を表示し、月カレンダー、"
                     "アナログ時計とアラームを備えたデスクトップ時計です。");
}

class MenuHandle {
 public:
  MenuHandle() : menu_(CreatePopupMenu()) {}
  ~MenuHandle() {
    if (menu_) DestroyMenu(menu_);
  }
  MenuHandle(const MenuHandle&) = delete;
  MenuHandle& operator=(const MenuHandle&) = delete;
  HMENU get() const noexcept { return menu_; }
  // Hands the menu to a parent menu, which destroys it with itself.
  HMENU release() noexcept {
    const HMENU m = menu_;
    menu_ = nullptr;
    return m;
  }
  void Add(UINT id, const std::wstring& caption, UINT flags = MF_STRING) {
    AppendMenuW(menu_, flags, id, caption.c_str());
  }
  void Separator() { AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr); }

 private:
  HMENU menu_;
};

}  // namespace

void TCalendarDialog::ConnectInput() {
  const auto down = [this](const ui::MouseEvent& e) { PanelMouseDown(e); };
  const auto move = [this](const ui::MouseEvent& e) { PanelMouseMove(e); };
  const auto up = [this](const ui::MouseEvent& e) { PanelMouseUp(e); };
  const auto dbl = [this] { PanelDblClick(); };
  for (ui::Panel* panel : {&BackPanel, &ClockPanel, &ClockLabel, &MainPanel}) {
    panel->onMouseDown = down;
    panel->onMouseMove = move;
    panel->onMouseUp = up;
    panel->onDblClick = dbl;
  }
  for (ui::Label* label : {&DateLabel, &TimeLabel}) {
    label->onMouseDown = down;
    label->onMouseMove = move;
    label->onMouseUp = up;
    label->onDblClick = dbl;
    label->onClick = [this] { LabelClick(); };
  }
  MainCalendar.onMouseDown = down;
  MainCalendar.onMouseMove = move;
  MainCalendar.onMouseUp = up;
  MainCalendar.onDblClick = dbl;
  MainCalendar.onKeyDown = [this](WPARAM key) { FormKeyDown(key); };
  MainCalendar.onWheel = [this](int delta, WPARAM keys) { FormMouseWheel(delta, keys); };
}

// ---- Mouse -------------------------------------------------------------------------------------

void TCalendarDialog::PanelMouseDown(const ui::MouseEvent& event) {
  if (event.keys & MK_RBUTTON) {
    // Held until the countdown ends, the right button hides the window for a peek below it.
    HideCountdown = Settings.HideWait;
  } else if (event.keys & MK_LBUTTON) {
    DragPending = true;
  }
  DragDone = false;
}

void TCalendarDialog::PanelMouseMove(const ui::MouseEvent& event) {
  if (DragPending) {
    DragPending = false;
    if (!(event.keys & MK_LBUTTON)) return;
    DragDone = true;
    // Let the system move the window as if its caption had been grabbed; SendMessage returns
    // when the button is released.
    ReleaseCapture();
    POINT at{};
    GetCursorPos(&at);
    SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
  } else if (DragDone) {
    // The control under the mouse saw the press but not the release that ended the move.
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
  }
}

void TCalendarDialog::PanelMouseUp(const ui::MouseEvent& event) {
  if (event.button != ui::MouseButton::Right) return;
  POINT at{};
  GetCursorPos(&at);
  ShowPopupMenu(at);
}

void TCalendarDialog::LabelClick() {
  if (!MainCalendar.Visible()) return;
  const DateTimeRecord& now = Display.Current();
  MainCalendar.SetDate(ToSystemTime(CalendarDate{now.Year, now.Month, now.Day}));
}

// ---- Keyboard and wheel ------------------------------------------------------------------------

void TCalendarDialog::FormKeyDown(WPARAM key) {
  switch (key) {
    case VK_RETURN:
      DoReaction(Settings.EnterKeyDown);
      break;
    case VK_ESCAPE:
      DoReaction(Settings.EscapeKeyDown);
      break;
    case VK_SPACE:
      DoReaction(Settings.SpaceBarDown);
      break;
    default:
      NavigateCalendar(static_cast<WORD>(key), GetKeyState(VK_CONTROL) < 0);
      break;
  }
}

void TCalendarDialog::FormMouseWheel(int delta, WPARAM keys) {
  if (delta == 0) return;
  NavigateCalendar(delta > 0 ? kKeyPageUp : kKeyPageDown, (keys & MK_CONTROL) != 0);
}

bool TCalendarDialog::NavigateCalendar(WORD key, bool ctrl) {
  if (!MainCalendar.Visible()) return false;
  const auto to =
      ::mirovane::NavigateCalendar(FromSystemTime(MainCalendar.Date()), key, ctrl, columns_, rows_);
  if (!to) return false;
  MainCalendar.SetDate(ToSystemTime(*to));
  return true;
}

void TCalendarDialog::ShiftCalendarMonths(int n) {
  MainCalendar.SetDate(
      ToSystemTime(::mirovane::ShiftCalendarMonths(FromSystemTime(MainCalendar.Date()), n)));
}

void TCalendarDialog::ShiftCalendarDays(int n) {
  MainCalendar.SetDate(
      ToSystemTime(::mirovane::ShiftCalendarDays(FromSystemTime(MainCalendar.Date()), n)));
}

// ---- Reactions ---------------------------------------------------------------------------------

void TCalendarDialog::DoReaction(std::uint8_t code) {
  if (BusyFlag) return;
  switch (code) {
    case kReactionOptions:
      OpenOptionsDialog();
      break;
    case kReactionAlarmList:
      Alarms.OpenAlarmList();
      break;
    case kReactionTray:
      StoreInTray();
      break;
    case kReactionHide:
      HideForAWhile();
      break;
    case kReactionToggleCalendar:
      Settings.HideCalendar = !Settings.HideCalendar;
      ApplyVisibility();
      break;
    case kReactionMonthCount:
      SwitchMonthCount();
      break;
    case kReactionTransparency:
      // The colour key only; the translucency stays as it is.
      Settings.Transparency = !Settings.Transparency;
      ApplyTransparency(Settings.Transparency, Settings.AlphaBlend);
      break;
    default:
      break;
  }
}

void TCalendarDialog::HideForAWhile() {
  ShowWindow(Handle(), SW_HIDE);
  HideCountdown = Settings.HideTime;
  KeepHiddenWindowReachable();
}

void TCalendarDialog::SwitchMonthCount() {
  const MonthCountStep step =
      NextMonthCountStep(Settings.HideCalendar, MainCalendar.MonthDelta(), Settings.ShowMonthCount);
  switch (step.kind) {
    case MonthCountStep::ShowOneMonth:
      SetMonthGrid(0x11);
      Settings.HideCalendar = false;
      ApplyVisibility();
      break;
    case MonthCountStep::ShowGrid:
      SetMonthGrid(step.grid);
      LayoutWindow();
      break;
    case MonthCountStep::HideCalendar:
      Settings.HideCalendar = true;
      ApplyVisibility();
      break;
  }
}

// ---- Options dialog ----------------------------------------------------------------------------

void TCalendarDialog::OpenOptionsDialog() {
  const BusyScope busy(BusyFlag);
  const int result = optionsDialog ? optionsDialog() : RunOptionSetDialog();
  switch (result) {
    case kOptionResultSave:
    case kOptionResultApply:
      // The dialog's apply step has brought the window in line with the record
      // (ApplyOptionResult); the frame, the layout and the tray icon follow now.
      ApplyWindowStyle(false);
      ApplyVisibility();
      UpdateTrayIcon();
      if (result == kOptionResultSave) SaveSettings();
      break;
    case kOptionResultRevert:
      // Back to the file's values, position included, with the calendar shown before the
      // visibility rules decide again. A file that cannot be read now changes nothing (the
      // user has been told).
      if (!LoadSettings()) break;
      ApplyWindowStyle(false);
      MainCalendar.SetVisible(true);
      ApplyVisibility();
      UpdateTrayIcon();
      break;
    default:
      // Cancel keeps the record as it stands, even after an earlier apply; a running alarm
      // timer still takes its AlarmChk.
      Alarms.SetCheckInterval(Settings.AlarmChk);
      if (Timer4.Enabled()) SelectNextAlarm(false);
      break;
  }
}

// ---- Popup menu --------------------------------------------------------------------------------

void TCalendarDialog::UpdateUserMenu() {
  const char* caption = UserMenuCaption(Settings.PopupMenuItem);
  userMenuCaption_ = caption ? Utf16(caption) : std::wstring();
}

void TCalendarDialog::PopupMenu1Popup() { ShowFromTray(); }

void TCalendarDialog::ShowPopupMenu(POINT screen) {
  PopupMenu1Popup();

  MenuHandle menu;
  if (!userMenuCaption_.empty()) {
    menu.Add(kCmdUserMenu, userMenuCaption_);
    menu.Separator();
  }
  menu.Add(kCmdOptions, Utf16("オプション設定(&O)"));
  menu.Add(kCmdAlarms, Utf16("アラーム設定(&A)"));
  menu.Separator();
  MenuHandle help;
  bool helpItems = false;
  if (ReadmeExists()) {
    help.Add(kCmdReadme, Utf16("Readmeを読む(&R)"));
    helpItems = true;
  }
  if (!BusyFlag) {
    help.Add(kCmdAbout, Utf16("バージョン情報(&A)"));
    helpItems = true;
  }
  AppendMenuW(menu.get(), MF_POPUP | (helpItems ? 0 : MF_GRAYED),
              reinterpret_cast<UINT_PTR>(help.release()), Utf16("ヘルプ(&H)").c_str());
  menu.Add(kCmdExit, Utf16("Mirovaneの終了(&X)"));

  // The menu closes properly when the user clicks elsewhere only if its owner is in front.
  SetForegroundWindow(Handle());
  TrackPopupMenuEx(menu.get(), TPM_RIGHTBUTTON, screen.x, screen.y, Handle(), nullptr);
  PostMessageW(Handle(), WM_NULL, 0, 0);
}

void TCalendarDialog::OnMenuCommand(UINT id) {
  switch (id) {
    case kCmdUserMenu:
      DoReaction(Settings.PopupMenuItem);
      break;
    case kCmdOptions:
      DoReaction(kReactionOptions);
      break;
    case kCmdAlarms:
      DoReaction(kReactionAlarmList);
      break;
    case kCmdReadme:
      OpenReadme();
      break;
    case kCmdAbout:
      AboutBox();
      break;
    case kCmdExit:
      // Closing the main window ends the program; no settings are written.
      PostMessageW(Handle(), WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

bool TCalendarDialog::ReadmeExists() const { return IsExistingFile(ReadmePath); }

bool TCalendarDialog::ShowMessage(const std::string& cp932Text, int kind, bool withConfirm) {
  // Through the alarm host, so the window's hide countdown stops as for an alarm message.
  return AlarmHost.ShowMessageWindow(cp932Text, kind, withConfirm, true);
}

void TCalendarDialog::OpenReadme() {
  if (ReadmeExists()) {
    const std::wstring quoted = L"\"" + ReadmePath.wstring() + L"\"";
    ui::OpenByShell(nullptr, L"open", quoted.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  ShowMessage(WideToCp932(ReadmePath.wstring()) + Utf8ToCp932("が見付かりません。"),
              kMessageWarning, false);
}

void TCalendarDialog::AboutBox() {
  if (BusyFlag) return;
  const BusyScope busy(BusyFlag);
  const bool readme = ReadmeExists();
  // With a Readme the box offers it: "確認(&C)" opens it.
  const bool confirmed = ShowMessage(AboutText(), kMessageInformation, readme);
  if (readme && confirmed) OpenReadme();
}

// ---- Tray icon ---------------------------------------------------------------------------------

void TCalendarDialog::UpdateTrayIcon() {
  const bool wanted = !Settings.HideTrayIcon || InTray;
  if (wanted == TrayIconPresent) return;
  // The shell's answer is not used: the icon's state follows the request.
  TrayIconPresent = wanted;
  if (trayShellReady_) ui::NotifyIcon(wanted ? NIM_ADD : NIM_DELETE, &trayRecord_);
}

void TCalendarDialog::StoreInTray() {
  HideCountdown = 0;
  InTray = true;
  ShowWindow(Handle(), SW_HIDE);
  UpdateTrayIcon();
}

void TCalendarDialog::ShowFromTray() {
  HideCountdown = 0;
  InTray = false;
  BringOntoAMonitor();
  ShowWindow(Handle(), SW_SHOW);
  BringToFront();
  UpdateTrayIcon();
}

void TCalendarDialog::BringToFront() {
  // An open dialog or message window owned by the main window comes first.
  const HWND popup = GetLastActivePopup(Handle());
  SetForegroundWindow(popup && IsWindowVisible(popup) ? popup : Handle());
}

void TCalendarDialog::OnTrayMessage(UINT mouseMessage) {
  if (BusyFlag) {
    if (mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_RBUTTONDOWN) BringToFront();
    return;
  }
  switch (mouseMessage) {
    case WM_LBUTTONDOWN:
      ShowFromTray();
      break;
    case WM_LBUTTONDBLCLK:
      DoReaction(Settings.IconDblClick);
      break;
    case WM_RBUTTONUP: {
      POINT at{};
      GetCursorPos(&at);
      ShowPopupMenu(at);
      break;
    }
    default:
      break;
  }
}

}  // namespace mirovane
