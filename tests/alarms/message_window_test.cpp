#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "alarms/message_window_win.h"
#include "app/win_test_support.h"
#include "platform/codec.h"

namespace mirovane {
namespace {

using testing::WindowText;

std::string Sj(std::string_view utf8) { return Utf8ToCp932(utf8); }
std::wstring W(std::string_view utf8) { return Utf8ToWide(utf8); }

// Runs `action` on the message window from a thread timer, i.e. from inside its modal loop.
// A window still open two seconds later is closed, so a failing test cannot hang.
struct Probe {
  std::function<void(HWND)> action;
  bool ran = false;
  int ticks = 0;
  int otherTicks = 0;  // ticks of an unrelated timer while the window was open
};
Probe* g_probe = nullptr;

void CALLBACK ProbeTimer(HWND, UINT, UINT_PTR, DWORD) {
  HWND w = FindWindowW(kMessageWindowClass, nullptr);
  if (!w) return;
  if (!g_probe->ran && IsWindowVisible(w)) {
    g_probe->ran = true;
    g_probe->action(w);
  } else if (++g_probe->ticks > 100) {
    PostMessageW(w, WM_CLOSE, 0, 0);
  }
}

void CALLBACK OtherTimer(HWND, UINT, UINT_PTR, DWORD) { ++g_probe->otherTicks; }

bool ShowAndDo(HWND owner, std::string_view utf8Text, int kind, bool withConfirm,
               std::function<void(HWND)> action, Probe* probe = nullptr) {
  Probe local;
  Probe& p = probe ? *probe : local;
  p.action = std::move(action);
  g_probe = &p;
  const UINT_PTR probeTimer = SetTimer(nullptr, 0, 20, &ProbeTimer);
  const UINT_PTR otherTimer = SetTimer(nullptr, 0, 10, &OtherTimer);
  const bool result = ShowMessageWindow(owner, Sj(utf8Text), kind, withConfirm, false);
  KillTimer(nullptr, probeTimer);
  KillTimer(nullptr, otherTimer);
  EXPECT_TRUE(p.ran) << "the message window never showed";
  EXPECT_EQ(FindWindowW(kMessageWindowClass, nullptr), nullptr) << "destroyed when closed";
  g_probe = nullptr;
  return result;
}

// Sends a key to the focused control the way the keyboard would: through the message queue.
void PostKey(HWND window, UINT msg, WPARAM key, LPARAM flags = 0) {
  HWND focus = GetFocus();
  PostMessageW(focus && (focus == window || IsChild(window, focus)) ? focus : window, msg, key, flags);
}

TEST(MessageWindow, AlarmMessageWithConfirmButton) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                               nullptr, nullptr, nullptr, nullptr);
  Probe probe;
  const bool result = ShowAndDo(owner, "会議\r\n資料", 2, true, [&](HWND w) {
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
  }, &probe);
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
  ShowAndDo(nullptr, "", 4, true, [](HWND w) { SendMessageW(GetDlgItem(w, IDOK), BM_CLICK, 0, 0); });
}

TEST(MessageWindow, OnlyTheConfirmButtonReturnsTrue) {
  EXPECT_FALSE(ShowAndDo(nullptr, "enter", 2, true, [](HWND w) { PostKey(w, WM_KEYDOWN, VK_RETURN); }));
  EXPECT_FALSE(ShowAndDo(nullptr, "escape", 2, true, [](HWND w) { PostKey(w, WM_KEYDOWN, VK_ESCAPE); }));
  EXPECT_FALSE(ShowAndDo(nullptr, "close", 2, true, [](HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); }));
  EXPECT_TRUE(ShowAndDo(nullptr, "click", 2, true,
                        [](HWND w) { SendMessageW(GetDlgItem(w, kMessageConfirmId), BM_CLICK, 0, 0); }));
  EXPECT_TRUE(ShowAndDo(nullptr, "alt+c", 2, true,
                        [](HWND w) { PostKey(w, WM_SYSCHAR, 'c', static_cast<LPARAM>(1) << 29); }));
}

TEST(MessageWindow, QuitWhileShownClosesItAndReachesTheOuterLoop) {
  EXPECT_FALSE(ShowAndDo(nullptr, "quit", 0, true, [](HWND) { PostQuitMessage(3); }));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
}  // namespace mirovane
