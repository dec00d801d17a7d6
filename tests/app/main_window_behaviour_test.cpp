// The main window driven as a user drives it, in-process under the real message loop: the hide
// countdown and its timing, the 5-second position rules, the frozen display, the mini title bar,
// the key reactions, the tray, the popup menu, dragging and the calendar's key navigation.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "alarms/message_window_win.h"
#include "app/main_window_fixture.h"
#include "dialogs/option_rules.h"
#include "platform/files.h"

namespace mirovane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::Height;
using testing::PumpMessagesFor;
using testing::ScreenRect;
using testing::Width;
using testing::WindowText;

// Pumps messages until `done` holds or `timeout` passes; returns the time it took (or timeout).
Clock::duration PumpUntil(const std::function<bool()>& done, Clock::duration timeout) {
  const auto start = Clock::now();
  while (!done()) {
    if (Clock::now() - start > timeout) return timeout;
    PumpMessagesFor(10ms);
  }
  return Clock::now() - start;
}

LPARAM ClientPoint(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return MAKELPARAM(r.right / 2, r.bottom / 2);
}

void Key(HWND hwnd, WPARAM key) { SendMessageW(hwnd, WM_KEYDOWN, key, 1); }

// Holds Ctrl down in this thread's key state while it lives (GetKeyState reads that state).
class CtrlHeld {
 public:
  CtrlHeld() { Set(0x80); }
  ~CtrlHeld() { Set(0); }

 private:
  static void Set(BYTE state) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = state;
    SetKeyboardState(keys);
  }
};

SYSTEMTIME Day(int y, int m, int d) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  return st;
}

std::string Ymd(const SYSTEMTIME& st) {
  return std::to_string(st.wYear) + "-" + std::to_string(st.wMonth) + "-" + std::to_string(st.wDay);
}

// A visible top-level window of this process with `className`, or null.
HWND FindOwnWindow(const wchar_t* className) {
  struct Search {
    const wchar_t* className;
    HWND found;
  } search{className, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
        if (testing::ClassName(hwnd) != s->className) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForOwnWindow(const wchar_t* className, Clock::duration timeout = 10s) {
  const auto end = Clock::now() + timeout;
  while (Clock::now() < end) {
    if (HWND w = FindOwnWindow(className)) return w;
    Sleep(20);
  }
  return nullptr;
}

// The visible push buttons of a message window.
int VisibleButtons(HWND box) {
  int buttons = 0;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM lp) -> BOOL {
        if (_wcsicmp(testing::ClassName(child).c_str(), L"Button") == 0 && IsWindowVisible(child))
          ++*reinterpret_cast<int*>(lp);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&buttons));
  return buttons;
}

class MainWindowBehaviour : public testing::MainWindowTest {};

// ---- Hide countdown ----------------------------------------------------------------------------

// Defaults: HideWait 5 and HideTime 20 ticks of Timer1's 100 ms. The window comes back shown and
// active, even when another window took the focus while it was away.
TEST_F(MainWindowBehaviour, RightButtonHeldHidesAfterHideWaitAndReturnsActiveAfterHideTime) {
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  EXPECT_EQ(d.Timer1.Interval(), 100u);
  const testing::ManualTimer timer1(w, d.Timer1);

  SendMessageW(d.DateLabel.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(d.DateLabel.Handle()));
  EXPECT_EQ(d.HideCountdown, 5);
  timer1.Tick(4);
  EXPECT_TRUE(IsWindowVisible(w));
  timer1.Tick();
  EXPECT_FALSE(IsWindowVisible(w));

  const testing::OtherWindow other;
  timer1.Tick(19);
  EXPECT_FALSE(IsWindowVisible(w));
  timer1.Tick();
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(d.HideCountdown, 0);
  EXPECT_EQ(GetForegroundWindow(), w);
  EXPECT_EQ(GetActiveWindow(), w);
  // So the keys reach it: Enter toggles the calendar.
  ASSERT_TRUE(d.MainCalendar.Visible());
  keybd_event(VK_RETURN, 0, 0, 0);
  keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
  PumpUntil([&] { return !d.MainCalendar.Visible(); }, 10s);
  EXPECT_FALSE(d.MainCalendar.Visible());
}

TEST_F(MainWindowBehaviour, ReactionFourHidesAtOnceAndReturns) {
  WriteIni("[Reaction]\r\nEnterKeyDown=4\r\n");
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  const testing::ManualTimer timer1(w, d.Timer1);
  Key(w, VK_RETURN);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(d.HideCountdown, 20);
  timer1.Tick(19);
  EXPECT_FALSE(IsWindowVisible(w));
  timer1.Tick();
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(GetForegroundWindow(), w);
}

TEST_F(MainWindowBehaviour, ZeroHideTimeStaysHiddenUntilShownFromTheTray) {
  // Even with the tray icon switched off: the icon appears, or the window could never return.
  WriteIni("[MainForm]\r\nHideTrayIcon=1\r\n[Reaction]\r\nHideTime=0\r\n");
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  const testing::ManualTimer timer1(w, d.Timer1);
  EXPECT_FALSE(d.TrayIconPresent);
  d.DoReaction(kReactionHide);
  timer1.Tick(300);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_TRUE(d.TrayIconPresent);
  SendMessageW(w, kTrayMessage, 0, WM_LBUTTONDOWN);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_FALSE(d.TrayIconPresent);

  // The same after holding the right button.
  SendMessageW(d.DateLabel.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(d.DateLabel.Handle()));
  timer1.Tick(5);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_TRUE(d.TrayIconPresent);
}

// ---- Position rules ----------------------------------------------------------------------------

TEST_F(MainWindowBehaviour, MemoryPositionSnapsBackToTheRightEdgeDistance) {
  WriteIni(
      "[MainForm]\r\nMemoryPosition=1\r\nAlignRight=1\r\nLeftPosition=10\r\nTopPosition=40\r\n");
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  EXPECT_EQ(d.Timer2.Interval(), 5000u);
  const testing::ManualTimer timer2(w, d.Timer2);
  const int screen = GetSystemMetrics(SM_CXSCREEN);
  EXPECT_EQ(ScreenRect(w).right, screen - 10);
  SetWindowPos(w, nullptr, 100, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  timer2.Tick();  // the next 5-second tick
  EXPECT_EQ(ScreenRect(w).right, screen - 10);
  EXPECT_EQ(ScreenRect(w).top, 40);
}

TEST_F(MainWindowBehaviour, InnerDesktopPullsTheWindowBackOnScreen) {
  WriteIni("[MainForm]\r\nMemoryPosition=0\r\nInnerDesktop=1\r\nAlignRight=0\r\n");
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  const testing::ManualTimer timer2(w, d.Timer2);
  const int screenH = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(w, nullptr, -30, -20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  timer2.Tick();
  EXPECT_EQ(ScreenRect(w).top, 0);
  EXPECT_EQ(ScreenRect(w).left, 0);
  // Past the bottom edge: the window's bottom goes to the screen's.
  SetWindowPos(w, nullptr, 50, screenH - 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  timer2.Tick();
  EXPECT_EQ(ScreenRect(w).bottom, screenH);
  EXPECT_EQ(ScreenRect(w).left, 50);
}

TEST_F(MainWindowBehaviour, ZeroRefreshPeriodFreezesTheTexts) {
  WriteIni("[Reaction]\r\nDspCycle=0\r\n");
  TCalendarDialog& d = Shown();
  const std::wstring time = WindowText(d.TimeLabel.Handle());
  const double value = d.Display.Current().Value;
  PumpMessagesFor(2200ms);
  EXPECT_EQ(WindowText(d.TimeLabel.Handle()), time);
  EXPECT_EQ(d.Display.Current().Value, value);
  EXPECT_FALSE(d.Timer3.Enabled());
}

// ---- Window style ------------------------------------------------------------------------------

TEST_F(MainWindowBehaviour, MiniTitleBarIsAToolCaptionAroundTheSameContent) {
  WriteIni("[MainForm]\r\nTitleBar=1\r\n");
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  EXPECT_NE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  EXPECT_NE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  RECT client{};
  GetClientRect(w, &client);
  const RECT back = d.BackPanel.Bounds();
  EXPECT_EQ(client.right, Width(back));
  EXPECT_EQ(client.bottom, Height(back));
  EXPECT_GT(Height(ScreenRect(w)), client.bottom);  // the caption is outside the content
  EXPECT_EQ(WindowText(w), L"Mirovane");
}

TEST_F(MainWindowBehaviour, TitleBarSwitchedByTheOptionsKeepsTheHandleAndTheTrayIcon) {
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & WS_CAPTION, 0);
  ASSERT_TRUE(d.TrayIconPresent);
  const int heightBefore = Height(ScreenRect(w));
  d.optionsDialog = [&] {
    d.Settings.TitleBar = true;
    return 5;  // apply now
  };
  d.DoReaction(kReactionOptions);
  EXPECT_EQ(d.Handle(), w);
  EXPECT_EQ(d.TrayRecord().hWnd, w);
  EXPECT_TRUE(d.TrayIconPresent);
  EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  EXPECT_GT(Height(ScreenRect(w)), heightBefore);
  EXPECT_FALSE(d.BusyFlag);
}

TEST_F(MainWindowBehaviour, TrayRecordIsTheFirstVersionWithCallbackIconAndTip) {
  TCalendarDialog& d = Created();
  const NOTIFYICONDATAW& r = d.TrayRecord();
  EXPECT_EQ(r.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE));
  EXPECT_EQ(r.hWnd, d.Handle());
  EXPECT_EQ(r.uID, 0u);
  EXPECT_EQ(r.uFlags, 7u);
  EXPECT_EQ(r.uCallbackMessage, 0x464u);
  EXPECT_NE(r.hIcon, nullptr);
  EXPECT_EQ(std::wstring(r.szTip), L"Mirovane");
}

// ---- Reactions and tray ------------------------------------------------------------------------

TEST_F(MainWindowBehaviour, SpaceCyclesYearHiddenOneMonthAndEnterTogglesTheCalendar) {
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  const int oneMonthWidth = Width(ScreenRect(w));
  ASSERT_TRUE(d.MainCalendar.Visible());

  Key(w, VK_SPACE);
  EXPECT_TRUE(d.MainCalendar.Visible());
  EXPECT_EQ(d.MonthColumns(), 3);
  EXPECT_EQ(d.MonthRows(), 4);
  EXPECT_EQ(d.MainCalendar.MonthDelta(), 12);
  EXPECT_GT(Width(ScreenRect(w)), oneMonthWidth * 2);

  Key(w, VK_SPACE);
  EXPECT_FALSE(d.MainCalendar.Visible());
  EXPECT_TRUE(d.Settings.HideCalendar);

  Key(w, VK_SPACE);
  EXPECT_TRUE(d.MainCalendar.Visible());
  EXPECT_EQ(d.MonthColumns(), 1);
  EXPECT_EQ(d.MonthRows(), 1);
  EXPECT_EQ(Width(ScreenRect(w)), oneMonthWidth);
  EXPECT_EQ(d.Settings.ShowMonthCount, 0x11);  // the setting itself never changes here

  Key(w, VK_RETURN);
  EXPECT_FALSE(d.MainCalendar.Visible());
  Key(w, VK_RETURN);
  EXPECT_TRUE(d.MainCalendar.Visible());
}

TEST_F(MainWindowBehaviour, EscapeStoresInTheTrayAndATrayClickBringsItBack) {
  WriteIni("[MainForm]\r\nHideTrayIcon=1\r\n");
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  EXPECT_FALSE(d.TrayIconPresent);

  Key(w, VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_TRUE(d.InTray);
  EXPECT_TRUE(d.TrayIconPresent);  // even with HideTrayIcon, while stored
  PumpMessagesFor(300ms);
  EXPECT_FALSE(IsWindowVisible(w));

  SendMessageW(w, kTrayMessage, 0, WM_LBUTTONDOWN);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_FALSE(d.InTray);
  EXPECT_FALSE(d.TrayIconPresent);

  // A double-click on the icon shows on its first press, then runs IconDblClick (the tray).
  SendMessageW(w, kTrayMessage, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(d.InTray);
  EXPECT_FALSE(IsWindowVisible(w));
}

TEST_F(MainWindowBehaviour, TransparencyReactionTogglesOnlyTheColourKey) {
  WriteIni("[Reaction]\r\nSpaceBarDown=7\r\n[ColorSet]\r\nAlphaBlend=1\r\nAlphaValue=180\r\n");
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  const auto flags = [&] {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD f = 0;
    GetLayeredWindowAttributes(w, &key, &alpha, &f);
    return f;
  };
  EXPECT_EQ(flags(), static_cast<DWORD>(LWA_ALPHA));
  Key(w, VK_SPACE);
  EXPECT_EQ(flags(), static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY));
  Key(w, VK_SPACE);
  EXPECT_EQ(flags(), static_cast<DWORD>(LWA_ALPHA));
}

TEST_F(MainWindowBehaviour, OptionsResultsRevertSaveAndCancel) {
  WriteIni("[MainForm]\r\nAlignRight=0\r\nLeftPosition=30\r\nTopPosition=60\r\n");
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  SetWindowPos(w, nullptr, 200, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  // Revert: the file's position and the calendar shown again.
  d.Settings.HideCalendar = true;
  d.ApplyVisibility();
  d.optionsDialog = [] { return 4; };
  d.DoReaction(kReactionOptions);
  EXPECT_EQ(ScreenRect(w).left, 30);
  EXPECT_EQ(ScreenRect(w).top, 60);
  EXPECT_TRUE(d.MainCalendar.Visible());

  // Cancel changes nothing; save writes the window's position.
  SetWindowPos(w, nullptr, 120, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  d.optionsDialog = [] { return 2; };
  d.DoReaction(kReactionOptions);
  EXPECT_EQ(ScreenRect(w).left, 120);
  d.optionsDialog = [&] {
    // As the dialog's apply step: the record changes, then the window follows it.
    d.Settings.PopupMenuItem = 5;
    OptionApplyResult applied;
    applied.windowPos = {120, 140};
    d.ApplyOptionResult(applied);
    return 1;
  };
  d.DoReaction(kReactionOptions);
  EXPECT_EQ(d.UserMenuCaptionText(), Utf8ToWide("カレンダー可視切替(&U)"));
  std::string text;
  ASSERT_EQ(ReadWholeFile(IniPath(), text), ReadStatus::Ok);
  EXPECT_NE(text.find("LeftPosition=120"), std::string::npos) << text;
  EXPECT_NE(text.find("PopupMenuItem=5"), std::string::npos) << text;
  EXPECT_FALSE(d.BusyFlag);
  EXPECT_TRUE(errors_.empty());
}

// The options dialog's apply step reaches the window itself (grid, refresh period, week numbers,
// fonts, colours, translucency), and after every result a running alarm timer takes AlarmChk at
// once: the applied one, the file's after a revert, the record's after a cancel.
TEST_F(MainWindowBehaviour, OptionsApplyReachesTheWindowAndEveryResultRetimesTheAlarmTimer) {
  WriteIni("[Reaction]\r\nAlarmChk=5\r\n");
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  ASSERT_TRUE(d.Timer4.Enabled());
  ASSERT_EQ(d.Timer4.Interval(), 5000u);
  ASSERT_TRUE(d.Timer3.Enabled());

  d.optionsDialog = [&] {
    OptionWindowState state;
    state.columns = d.MonthColumns();
    state.rows = d.MonthRows();
    OptionValues v = LoadOptions(d.Settings, state);
    v.alarmChk = 30;
    v.dspCycle = 0;
    v.weekNumbers = true;
    v.monthColumns = 3;
    v.calendarFont.Size = 20;
    v.colorSlots = ColorPresetSlots(ColorPreset::Navy);
    v.transparency = TransparencyMode::Alpha;
    v.alpha = 100;
    d.ApplyOptionResult(ApplyOptions(v, OptionScreen{1280, 200}, d.Settings));
    return 5;
  };
  d.DoReaction(kReactionOptions);
  EXPECT_EQ(d.Timer4.Interval(), 30000u);
  EXPECT_TRUE(d.Timer4.Enabled());
  EXPECT_FALSE(d.Timer3.Enabled());
  EXPECT_TRUE(d.MainCalendar.ShowWeekNumbers());
  EXPECT_EQ(d.MainCalendar.MonthDelta(), 3);
  EXPECT_EQ(d.MainCalendar.GetColor(CalendarColor::MonthBack), RGB(0, 0, 128));
  EXPECT_EQ(d.Color(), RGB(166, 202, 240));
  LOGFONTW font{};
  GetObjectW(d.CalendarFont(), sizeof font, &font);
  EXPECT_EQ(std::abs(font.lfHeight), MulDiv(20, static_cast<int>(d.Dpi()), 72));
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED);
  GetLayeredWindowAttributes(w, nullptr, &alpha, &flags);
  EXPECT_EQ(alpha, 100);
  EXPECT_EQ(flags, DWORD{LWA_ALPHA});

  // Revert: the file's period, opaque again.
  d.optionsDialog = [] { return 4; };
  d.DoReaction(kReactionOptions);
  EXPECT_EQ(d.Timer4.Interval(), 5000u);
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_TRUE(d.Timer3.Enabled());

  // Cancel after the record changed (as after an earlier apply): 0 checks every half second.
  d.optionsDialog = [&] {
    d.Settings.AlarmChk = 0;
    return 2;
  };
  d.DoReaction(kReactionOptions);
  EXPECT_EQ(d.Timer4.Interval(), 500u);
  EXPECT_TRUE(errors_.empty());
}

// ---- Popup menu and message windows ------------------------------------------------------------

// The popup menu's item texts, read from its open menu window.
std::vector<std::wstring> MenuItems(HWND menuWindow) {
  std::vector<std::wstring> items;
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    items.emplace_back(text);
  }
  return items;
}

TEST_F(MainWindowBehaviour, RightClickOpensTheMenuWithoutHidingAndItsExitItemCloses) {
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  const HWND label = d.TimeLabel.Handle();
  const testing::ManualTimer timer1(w, d.Timer1);

  std::vector<std::wstring> items;
  std::atomic<bool> sawMenu{false};
  std::atomic<bool> stayedWhileOpen{false};
  std::thread user([&] {
    const HWND menu = WaitForOwnWindow(L"#32768");
    if (!menu) return;
    sawMenu = true;
    items = MenuItems(menu);
    timer1.Tick(10);  // longer than HideWait: the menu cancelled the peek
    stayedWhileOpen = IsWindowVisible(w) != FALSE;
    PostMessageW(menu, WM_CHAR, L'x', 0);  // "Mirovaneの終了(&X)"
  });
  SendMessageW(label, WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(label));
  SendMessageW(label, WM_RBUTTONUP, 0, ClientPoint(label));  // the menu runs until chosen
  user.join();
  ASSERT_TRUE(sawMenu);
  EXPECT_TRUE(stayedWhileOpen);
  EXPECT_EQ(d.HideCountdown, 0);
  const std::vector<std::wstring> expected{
      Utf8ToWide("タスクトレイ収納(&U)"), L"", Utf8ToWide("オプション設定(&O)"),
      Utf8ToWide("アラーム設定(&A)"),     L"", Utf8ToWide("ヘルプ(&H)"),
      Utf8ToWide("Mirovaneの終了(&X)")};
  EXPECT_EQ(items, expected);

  PumpUntil([&] { return !IsWindow(w); }, 5s);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(MainWindowBehaviour, ReactionsAreSilentWhileAMessageWindowIsOpen) {
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  const HWND calendar = d.MainCalendar.Handle();

  std::atomic<bool> sawBox{false};
  std::atomic<int> buttons{0};
  std::atomic<bool> calendarStayed{false};
  std::thread user([&] {
    const HWND box = WaitForOwnWindow(kMessageWindowClass);
    if (!box) return;
    sawBox = true;
    buttons = VisibleButtons(box);
    // Space, Enter and a tray click while the box is up.
    SendMessageW(w, WM_KEYDOWN, VK_SPACE, 1);
    SendMessageW(w, WM_KEYDOWN, VK_RETURN, 1);
    SendMessageW(w, kTrayMessage, 0, WM_LBUTTONDBLCLK);
    calendarStayed = IsWindowVisible(calendar) && IsWindowVisible(w);
    PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);  // Enter presses OK
  });
  // No Readme beside the program: the about box has OK alone.
  SendMessageW(w, WM_COMMAND, kCmdAbout, 0);
  user.join();
  ASSERT_TRUE(sawBox);
  EXPECT_EQ(buttons, 1);
  EXPECT_TRUE(calendarStayed);
  EXPECT_EQ(d.MonthColumns(), 1);
  EXPECT_FALSE(d.InTray);
  EXPECT_FALSE(d.BusyFlag);
  Key(w, VK_RETURN);  // and afterwards they act again
  EXPECT_FALSE(d.MainCalendar.Visible());
}

// Opens a message window through `open` (run on this thread), and from another thread reads its
// text and visible button count, then presses OK.
struct MessageSeen {
  bool shown = false;
  std::wstring text;
  int buttons = 0;
};

MessageSeen WatchMessage(const std::function<void()>& open) {
  MessageSeen seen;
  std::thread user([&] {
    const HWND box = WaitForOwnWindow(kMessageWindowClass);
    if (!box) return;
    seen.shown = true;
    seen.text = WindowText(GetDlgItem(box, kMessageTextId));
    seen.buttons = VisibleButtons(box);
    PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);  // Esc presses OK
  });
  open();
  user.join();
  return seen;
}

TEST_F(MainWindowBehaviour, ReadmeMissingIsReportedAndAnExistingOneIsOfferedByTheAboutBox) {
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  d.ReadmePath = folder_ / "Readme.txt";

  const MessageSeen missing = WatchMessage([&] { SendMessageW(w, WM_COMMAND, kCmdReadme, 0); });
  ASSERT_TRUE(missing.shown);
  EXPECT_EQ(missing.text, d.ReadmePath.wstring() + Utf8ToWide("が見付かりません。"));
  EXPECT_EQ(missing.buttons, 1);

  folder_.Write("Readme.txt", "readme");
  const MessageSeen about = WatchMessage([&] { SendMessageW(w, WM_COMMAND, kCmdAbout, 0); });
  ASSERT_TRUE(about.shown);
  // The program's name and the project's version (the one of the version resource and the CLI).
  EXPECT_EQ(about.text.rfind(Utf8ToWide("Mirovane バージョン " MIROVANE_VERSION "\r\n"), 0), 0u)
      << WideToUtf8(about.text);
  EXPECT_EQ(about.buttons, 2);  // OK and "確認(&C)", which would open the Readme
  EXPECT_FALSE(d.BusyFlag);
}

// ---- Mouse -------------------------------------------------------------------------------------

TEST_F(MainWindowBehaviour, DraggingTheDateLabelMovesTheWindow) {
  WriteIni("[MainForm]\r\nAlignRight=0\r\nLeftPosition=100\r\nTopPosition=100\r\n");
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  d.MainCalendar.SetDate(Day(2019, 5, 5));
  PumpMessagesFor(200ms);
  const RECT before = ScreenRect(w);
  RECT label{};
  GetWindowRect(d.DateLabel.Handle(), &label);
  const POINT grab{(label.left + label.right) / 2, (label.top + label.bottom) / 2};

  std::thread user([&] {
    const auto mouse = [](DWORD flags) {
      INPUT in{};
      in.type = INPUT_MOUSE;
      in.mi.dwFlags = flags;
      SendInput(1, &in, sizeof in);
    };
    SetCursorPos(grab.x, grab.y);
    Sleep(100);
    mouse(MOUSEEVENTF_LEFTDOWN);
    // The first movement starts the move; the window follows the mouse from there on.
    Sleep(40);
    SetCursorPos(grab.x + 1, grab.y + 1);
    mouse(MOUSEEVENTF_MOVE);
    for (int i = 1; i <= 10; ++i) {
      Sleep(40);
      SetCursorPos(grab.x + 6 * i, grab.y + 4 * i);
      mouse(MOUSEEVENTF_MOVE);
    }
    Sleep(100);
    mouse(MOUSEEVENTF_LEFTUP);
  });
  PumpUntil(
      [&] {
        return ScreenRect(w).left >= before.left + 59 && ScreenRect(w).top >= before.top + 39;
      },
      30s);
  user.join();
  PumpMessagesFor(200ms);
  EXPECT_GE(ScreenRect(w).left, before.left + 59);
  EXPECT_LE(ScreenRect(w).left, before.left + 60);
  EXPECT_GE(ScreenRect(w).top, before.top + 39);
  EXPECT_LE(ScreenRect(w).top, before.top + 40);
  EXPECT_TRUE(d.DragDone);
  // A press that became a drag is no click: the calendar still shows its month.
  EXPECT_EQ(Ymd(d.MainCalendar.Date()), "2019-5-5");
}

TEST_F(MainWindowBehaviour, ClickOnTheTimeBringsTheCalendarBackToToday) {
  TCalendarDialog& d = Shown();
  d.MainCalendar.SetDate(Day(2019, 5, 5));
  ASSERT_EQ(Ymd(d.MainCalendar.Date()), "2019-5-5");
  const HWND label = d.TimeLabel.Handle();
  SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(label));
  SendMessageW(label, WM_LBUTTONUP, 0, ClientPoint(label));
  PumpMessagesFor(50ms);
  const DateTimeRecord& now = d.Display.Current();
  EXPECT_EQ(Ymd(d.MainCalendar.Date()), Ymd(Day(now.Year, now.Month, now.Day)));

  // The press alone does nothing, nor a release after the mouse left the label.
  d.MainCalendar.SetDate(Day(2019, 5, 5));
  SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(label));
  EXPECT_EQ(Ymd(d.MainCalendar.Date()), "2019-5-5");
  SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(-5, -5));
  EXPECT_EQ(Ymd(d.MainCalendar.Date()), "2019-5-5");
}

// A real double-click on the month calendar runs the window's double-click reaction (by default
// the calendar toggle, which hides it).
TEST_F(MainWindowBehaviour, DoubleClickOnTheCalendarRunsTheDoubleClickReaction) {
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  ASSERT_TRUE(d.MainCalendar.Visible());
  RECT calendar{};
  GetWindowRect(d.MainCalendar.Handle(), &calendar);
  // On the days, clear of the title (whose click opens a month menu).
  const POINT at{(calendar.left + calendar.right) / 2,
                 calendar.top + (calendar.bottom - calendar.top) * 3 / 4};
  // Wide enough for a slow machine between the two clicks.
  const UINT doubleClickTime = GetDoubleClickTime();
  SetDoubleClickTime(10000);
  std::thread user([&] { testing::ClickAt(at, 2); });
  PumpUntil([&] { return !d.MainCalendar.Visible(); }, 30s);
  user.join();
  SetDoubleClickTime(doubleClickTime);
  EXPECT_FALSE(d.MainCalendar.Visible());
  EXPECT_TRUE(IsWindowVisible(w));
}

// A failure inside a busy section (here the options dialog throws) is caught at the window
// procedure and leaves the window working: not busy, and its reactions act again.
TEST_F(MainWindowBehaviour, ExceptionInsideADialogLeavesTheWindowResponsive) {
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  bool reached = false;
  d.optionsDialog = [&]() -> int {
    reached = true;
    EXPECT_TRUE(d.BusyFlag);
    throw std::runtime_error("dialog failed");
  };
  SendMessageW(w, WM_COMMAND, kCmdOptions, 0);
  ASSERT_TRUE(reached);
  EXPECT_FALSE(d.BusyFlag);
  Key(w, VK_RETURN);
  EXPECT_FALSE(d.MainCalendar.Visible());
}

// However the window goes, its tray icon goes with it.
TEST_F(MainWindowBehaviour, DestroyedWindowLeavesNoTrayIcon) {
  TCalendarDialog& d = Shown();
  ASSERT_TRUE(d.TrayIconPresent);
  NOTIFYICONDATAW record = d.TrayRecord();
  const bool shellHasIt = Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
  DestroyWindow(d.Handle());  // no WM_CLOSE on this way out
  EXPECT_FALSE(d.TrayIconPresent);
  if (shellHasIt) {
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &record));
  }
}

// The state follows the request from FormCreate on, but the shell hears of the icon only once the
// window has painted, so that loading the shell does not hold up the first paint.
TEST_F(MainWindowBehaviour, TrayIconReachesTheShellOnceTheWindowHasPainted) {
  TCalendarDialog& d = Created();
  ASSERT_TRUE(d.TrayIconPresent);
  NOTIFYICONDATAW record = d.TrayRecord();
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &record));
  d.Show();
  EXPECT_FALSE(GetUpdateRect(d.Handle(), nullptr, FALSE));
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &record));
}

// ---- Calendar navigation -----------------------------------------------------------------------

TEST_F(MainWindowBehaviour, KeysAndWheelMoveTheCalendar) {
  TCalendarDialog& d = Shown();
  const HWND w = d.Handle();
  d.MainCalendar.SetDate(Day(2024, 1, 31));
  Key(w, VK_NEXT);
  EXPECT_EQ(Ymd(d.MainCalendar.Date()), "2024-2-29");
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_EQ(Ymd(d.MainCalendar.Date()), "2024-3-29");
  SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), 0);
  EXPECT_EQ(Ymd(d.MainCalendar.Date()), "2023-3-29");
  // Keys reaching the calendar itself move it once, by the same rules.
  Key(d.MainCalendar.Handle(), VK_RIGHT);
  EXPECT_EQ(Ymd(d.MainCalendar.Date()), "2023-3-30");
  {
    CtrlHeld ctrl;
    Key(w, VK_HOME);
    EXPECT_EQ(Ymd(d.MainCalendar.Date()), "2023-1-1");
  }
  Key(w, VK_END);
  EXPECT_EQ(Ymd(d.MainCalendar.Date()), "2023-1-31");

  // Twelve months: Ctrl+Page Down goes to December of the next year.
  d.SetMonthGrid(0x34);
  d.LayoutWindow();
  d.MainCalendar.SetDate(Day(2024, 3, 15));
  {
    CtrlHeld ctrl;
    Key(w, VK_NEXT);
  }
  EXPECT_EQ(Ymd(d.MainCalendar.Date()), "2025-12-15");

  // Hidden calendar: nothing moves.
  Key(w, VK_RETURN);
  ASSERT_FALSE(d.MainCalendar.Visible());
  Key(w, VK_LEFT);
  EXPECT_EQ(Ymd(d.MainCalendar.Date()), "2025-12-15");
}

}  // namespace
}  // namespace mirovane
