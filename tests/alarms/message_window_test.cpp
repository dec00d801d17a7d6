#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "alarms/message_window_win.h"
#include "app/win_test_support.h"
#include "platform/codec.h"

namespace mirovane {
namespace {

using testing::ClassName;
using testing::WindowText;

std::string Sj(std::string_view utf8) { return Utf8ToCp932(utf8); }
std::wstring W(std::string_view utf8) { return Utf8ToWide(utf8); }

// Runs `steps` on the message window from a thread timer, i.e. from inside its modal loop, one
// step per tick: what a step posts has been handled when the next one runs (a timer message comes
// only once the queue is empty). A window still open 100 ticks after its last step is closed, so
// a failing test cannot hang.
struct Probe {
  std::vector<std::function<void(HWND)>> steps;
  std::size_t done = 0;
  bool ran = false;  // the first step ran
  bool timedOut = false;
  int ticks = 0;
  int otherTicks = 0;  // ticks of an unrelated timer while the window was open
};
Probe* g_probe = nullptr;

void CALLBACK ProbeTimer(HWND, UINT, UINT_PTR, DWORD) {
  HWND w = FindWindowW(kMessageWindowClass, nullptr);
  if (!w) return;
  if (g_probe->done < g_probe->steps.size() && IsWindowVisible(w)) {
    g_probe->ran = true;
    g_probe->steps[g_probe->done++](w);
  } else if (++g_probe->ticks > 100) {
    g_probe->timedOut = true;
    PostMessageW(w, WM_CLOSE, 0, 0);
  }
}

void CALLBACK OtherTimer(HWND, UINT, UINT_PTR, DWORD) { ++g_probe->otherTicks; }

bool ShowAndRun(HWND owner, const std::string& cp932Text, int kind, bool withConfirm,
                std::vector<std::function<void(HWND)>> steps, Probe* probe = nullptr) {
  Probe local;
  Probe& p = probe ? *probe : local;
  p.steps = std::move(steps);
  g_probe = &p;
  const UINT_PTR probeTimer = SetTimer(nullptr, 0, 20, &ProbeTimer);
  const UINT_PTR otherTimer = SetTimer(nullptr, 0, 10, &OtherTimer);
  const bool result = ShowMessageWindow(owner, cp932Text, kind, withConfirm, false);
  KillTimer(nullptr, probeTimer);
  KillTimer(nullptr, otherTimer);
  EXPECT_TRUE(p.ran) << "the message window never showed";
  EXPECT_EQ(FindWindowW(kMessageWindowClass, nullptr), nullptr) << "destroyed when closed";
  EXPECT_EQ(p.done, p.steps.size()) << "the window closed before the last step";
  EXPECT_FALSE(p.timedOut) << "the last step did not close the window";
  g_probe = nullptr;
  return result;
}

bool ShowAndDo(HWND owner, std::string_view utf8Text, int kind, bool withConfirm,
               std::function<void(HWND)> action, Probe* probe = nullptr) {
  return ShowAndRun(owner, Sj(utf8Text), kind, withConfirm, {std::move(action)}, probe);
}

RECT WorkAreaOf(HWND hwnd) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

RECT ScreenRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

// Sends a key to the focused control the way the keyboard would: through the message queue.
void PostKey(HWND window, UINT msg, WPARAM key, LPARAM flags = 0) {
  HWND focus = GetFocus();
  PostMessageW(focus && (focus == window || IsChild(window, focus)) ? focus : window, msg, key,
               flags);
}

TEST(MessageWindow, AlarmMessageWithConfirmButton) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                               100, nullptr, nullptr, nullptr, nullptr);
  Probe probe;
  const bool result = ShowAndDo(
      owner, "会議\r\n資料", 2, true,
      [&](HWND w) {
        EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(GetWindow(w, GW_OWNER), owner);
        EXPECT_FALSE(IsWindowEnabled(owner)) << "modal: the owner waits";
        EXPECT_EQ(WindowText(w), L"Mirovane");
        EXPECT_EQ(WindowText(GetDlgItem(w, kMessageTextId)), W("会議\r\n資料"));
        HWND ok = GetDlgItem(w, IDOK);
        HWND confirm = GetDlgItem(w, kMessageConfirmId);
        ASSERT_TRUE(ok && confirm);
        EXPECT_EQ(WindowText(ok), L"OK");
        EXPECT_EQ(WindowText(confirm), W("確認(&C)"));
        RECT okRect, confirmRect, textRect, client;
        GetWindowRect(ok, &okRect);
        GetWindowRect(confirm, &confirmRect);
        EXPECT_GE(confirmRect.left, okRect.right) << "確認 stands right of OK";
        EXPECT_EQ(confirmRect.top, okRect.top);
        HWND icon = GetDlgItem(w, kMessageIconId);
        ASSERT_NE(icon, nullptr);
        EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0);
        // The whole text fits inside the window.
        GetWindowRect(GetDlgItem(w, kMessageTextId), &textRect);
        GetWindowRect(w, &client);
        EXPECT_LT(textRect.right, client.right);
        EXPECT_LT(textRect.bottom, okRect.top);
        SendMessageW(ok, BM_CLICK, 0, 0);
      },
      &probe);
  EXPECT_FALSE(result);
  EXPECT_GT(probe.otherTicks, 0) << "other timers keep ticking meanwhile";
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
}

TEST(MessageWindow, CaptionsIconsAndButtonsOfEachKind) {
  const char* captions[] = {"警告", "エラー", "情報", "確認", "Mirovane"};
  for (int kind = 0; kind <= 4; ++kind) {
    const bool result = ShowAndDo(nullptr, "x", kind, false, [&](HWND w) {
      EXPECT_EQ(WindowText(w), W(captions[kind])) << kind;
      EXPECT_EQ(GetDlgItem(w, kMessageIconId) != nullptr, kind != 4) << kind;
      EXPECT_EQ(GetDlgItem(w, kMessageConfirmId), nullptr);
      PostMessageW(w, WM_CLOSE, 0, 0);
    });
    EXPECT_FALSE(result);
  }
  // A text with '&' shows it as written, and an empty text still gives a window.
  ShowAndDo(nullptr, "A&B", 4, true, [](HWND w) {
    EXPECT_EQ(WindowText(GetDlgItem(w, kMessageTextId)), L"A&B");
    EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(w, kMessageTextId), GWL_STYLE) & SS_NOPREFIX);
    PostMessageW(w, WM_CLOSE, 0, 0);
  });
  ShowAndDo(nullptr, "", 4, true,
            [](HWND w) { SendMessageW(GetDlgItem(w, IDOK), BM_CLICK, 0, 0); });
}

TEST(MessageWindow, OnlyTheConfirmButtonReturnsTrue) {
  EXPECT_FALSE(
      ShowAndDo(nullptr, "enter", 2, true, [](HWND w) { PostKey(w, WM_KEYDOWN, VK_RETURN); }));
  EXPECT_FALSE(
      ShowAndDo(nullptr, "escape", 2, true, [](HWND w) { PostKey(w, WM_KEYDOWN, VK_ESCAPE); }));
  EXPECT_FALSE(
      ShowAndDo(nullptr, "close", 2, true, [](HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); }));
  EXPECT_TRUE(ShowAndDo(nullptr, "click", 2, true, [](HWND w) {
    SendMessageW(GetDlgItem(w, kMessageConfirmId), BM_CLICK, 0, 0);
  }));
  EXPECT_TRUE(ShowAndDo(nullptr, "alt+c", 2, true,
                        [](HWND w) { PostKey(w, WM_SYSCHAR, 'c', static_cast<LPARAM>(1) << 29); }));
}

TEST(MessageWindow, TallTextScrollsInsideTheWorkArea) {
  // 300 lines, the first of them long enough to wrap.
  std::string text;
  for (int i = 0; i < 15; ++i) text += Sj("長い行の言葉 ");
  for (int i = 1; i < 300; ++i) text += "\r\n" + Sj("行 ") + std::to_string(i);
  const int length = static_cast<int>(Cp932ToWide(text).size());
  HWND edit = nullptr;
  const bool result = ShowAndRun(
      nullptr, text, 2, true,
      {[&](HWND w) {
         const RECT work = WorkAreaOf(w);
         const RECT window = ScreenRect(w);
         EXPECT_TRUE(Inside(window, work)) << "caption, frame and buttons on the screen";
         for (int id : {static_cast<int>(IDOK), static_cast<int>(kMessageConfirmId)}) {
           HWND button = GetDlgItem(w, id);
           EXPECT_TRUE(IsWindowVisible(button)) << id;
           EXPECT_TRUE(Inside(ScreenRect(button), window)) << id;
         }
         edit = GetDlgItem(w, kMessageTextId);
         EXPECT_EQ(ClassName(edit), L"Edit");
         const LONG_PTR style = GetWindowLongPtrW(edit, GWL_STYLE);
         EXPECT_TRUE((style & WS_VSCROLL) && (style & ES_READONLY) && (style & ES_MULTILINE));
         EXPECT_EQ(GetWindowTextLengthW(edit), length) << "the whole text, nothing cut";
         const RECT box = ScreenRect(edit);
         EXPECT_TRUE(Inside(box, window));
         EXPECT_LE(box.bottom, ScreenRect(GetDlgItem(w, IDOK)).top);
         EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
         // The keyboard scrolls the text once it has the focus.
         SetFocus(edit);
         PostKey(w, WM_KEYDOWN, VK_NEXT);
       },
       [&](HWND w) {
         EXPECT_GT(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "Page Down scrolls";
         EXPECT_EQ(GetFocus(), edit);
         PostKey(w, WM_KEYDOWN, VK_TAB);
       },
       [&](HWND w) {
         EXPECT_EQ(GetFocus(), GetDlgItem(w, IDOK)) << "Tab leaves the text for the buttons";
         // Enter presses "OK" even from inside the text.
         SetFocus(edit);
         PostKey(w, WM_KEYDOWN, VK_RETURN);
       }});
  EXPECT_FALSE(result);
}

TEST(MessageWindow, DpiChangeScalesFontsAndButtonsAndKeepsTheWindowInside) {
  ShowAndDo(nullptr, "会議\r\n資料", 2, true, [](HWND w) {
    HWND ok = GetDlgItem(w, IDOK);
    HWND text = GetDlgItem(w, kMessageTextId);
    const RECT okBefore = ScreenRect(ok);
    const RECT work = WorkAreaOf(w);
    // Dragged half off the bottom right corner of the screen onto a 144-DPI monitor.
    RECT suggested = ScreenRect(w);
    OffsetRect(&suggested, work.right - suggested.left - 40, work.bottom - suggested.top - 20);
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -18);
    const RECT okAfter = ScreenRect(ok);
    EXPECT_EQ(okAfter.bottom - okAfter.top, MulDiv(okBefore.bottom - okBefore.top, 144, 96));
    EXPECT_GE(okAfter.right - okAfter.left, MulDiv(okBefore.right - okBefore.left, 144, 96));
    const RECT window = ScreenRect(w);
    EXPECT_TRUE(Inside(window, work));
    EXPECT_EQ(window.right, work.right);
    EXPECT_EQ(window.bottom, work.bottom);
    EXPECT_TRUE(Inside(ScreenRect(GetDlgItem(w, kMessageConfirmId)), window));
    PostMessageW(w, WM_CLOSE, 0, 0);
  });
}

TEST(MessageWindow, QuitWhileShownClosesItAndReachesTheOuterLoop) {
  EXPECT_FALSE(ShowAndDo(nullptr, "quit", 0, true, [](HWND) { PostQuitMessage(3); }));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
}  // namespace mirovane
