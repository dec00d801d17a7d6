// TSpinEditEx on a real window, driven by real mouse and keyboard input: arrow clicks, the Up and
// Down keys, the wheel, the read-only and disabled states, the key filter and the change event.
//
// Set MIROVANE_SPIN_PICTURE to a .bmp path and the layout test saves a picture of the window that
// holds every spin edit of the dialogs.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win_test_support.h"
#include "controls/spin_edit.h"
#include "platform/codec.h"
#include "ui/dpi.h"
#include "ui/gdi.h"
#include "ui/window.h"

namespace mirovane {
namespace {

using namespace std::chrono_literals;

class SpinHost : public ui::Window {
 public:
  ~SpinHost() override { Destroy(); }
  void Create(int width96, int height96) {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"MirovaneSpinHost";
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassOnce(wc);
    CreateHandle(0, L"MirovaneSpinHost", L"spin", WS_POPUP | WS_BORDER, 40, 40, width96, height96,
                 nullptr, 0);
    const UINT dpi = Dpi();
    SetBounds(40, 40, ui::Scale(width96, dpi), ui::Scale(height96, dpi));
    font_ = ui::CreateUiFont(ui::FontSpec{}, dpi);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    UpdateWindow(Handle());
  }
  HFONT Font() const noexcept { return font_.get(); }

 private:
  ui::FontHandle font_;
};

// A spin edit that counts its beeps, its change events and its arrow clicks.
class Spin : public TSpinEditEx {
 public:
  Spin() {
    onChange = [this] { ++changes; };
    const auto up = Button().onUpClick;
    const auto down = Button().onDownClick;
    Button().onUpClick = [this, up] {
      ++clicks;
      up();
    };
    Button().onDownClick = [this, down] {
      ++clicks;
      down();
    };
  }
  int beeps = 0;
  int changes = 0;
  int clicks = 0;

 protected:
  void Beep() override { ++beeps; }
};

// Dispatches messages until `condition` holds; false after a generous time without it.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::seconds limit = 30s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (condition()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

// No input waiting and no button holding the mouse: every queued click has been handled.
bool InputDone() { return GetCapture() == nullptr && HIWORD(GetQueueStatus(QS_INPUT)) == 0; }

class SpinEdit : public ::testing::Test {
 protected:
  void SetUp() override { host_.Create(260, 120); }

  // Creates `spin` at a place given in 96-DPI pixels.
  void Place(Spin& spin, int id, const SpinSetup& setup, int x, int y, int w = 60, int h = 21) {
    spin.Create(host_.Handle(), id, setup);
    spin.SetFont(host_.Font());
    const UINT dpi = host_.Dpi();
    spin.SetBounds(ui::Scale(x, dpi), ui::Scale(y, dpi), ui::Scale(w, dpi), ui::Scale(h, dpi));
  }

  // Real clicks on an arrow: the cursor over it, `count` presses and releases queued at once.
  // Returns once the spin edit has read every click and the up-down has let the mouse go.
  ::testing::AssertionResult Click(Spin& spin, bool up, int count = 1) {
    RECT r{};
    GetWindowRect(spin.Button().Handle(), &r);
    const int quarter = (r.bottom - r.top) / 4;
    SetCursorPos((r.left + r.right) / 2, up ? r.top + quarter : r.bottom - 1 - quarter);
    std::vector<INPUT> in(static_cast<std::size_t>(2 * count));
    for (std::size_t i = 0; i < in.size(); ++i) {
      in[i].type = INPUT_MOUSE;
      in[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    const int before = spin.clicks;
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    if (!PumpUntil([&] { return spin.clicks >= before + count && InputDone(); })) {
      return ::testing::AssertionFailure() << "clicks read: " << spin.clicks - before;
    }
    if (spin.clicks != before + count) {
      return ::testing::AssertionFailure() << "clicks read: " << spin.clicks - before;
    }
    return ::testing::AssertionSuccess();
  }

  // A real key press and release with the focus where it is.
  static void PressKey(WORD key) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
  }

  static void Wheel(HWND target, int delta) {
    SendMessageW(target, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                 0);
  }

  SpinHost host_;
};

TEST_F(SpinEdit, EveryArrowClickStepsOnceAlsoAtALimitAndWhenReversing) {
  Spin minute;
  Spin other;
  Place(minute, 10, kSpinAlarmMinute, 10, 10);
  Place(other, 11, kSpinBorder, 10, 50);
  EXPECT_EQ(minute.Text(), "30");
  minute.SetValue(710);
  other.Focus();
  minute.changes = 0;

  ASSERT_TRUE(Click(minute, true));
  EXPECT_EQ(minute.Value(), 715);
  // Clicking an arrow of a field without the focus moves the focus to it.
  EXPECT_EQ(GetFocus(), minute.Handle());
  ASSERT_TRUE(Click(minute, true));
  EXPECT_EQ(minute.Value(), 720);
  ASSERT_TRUE(Click(minute, true));
  ASSERT_TRUE(Click(minute, true));
  EXPECT_EQ(minute.Value(), 720);
  ASSERT_TRUE(Click(minute, false));
  EXPECT_EQ(minute.Value(), 715);
  ASSERT_TRUE(Click(minute, true));
  EXPECT_EQ(minute.Value(), 720);
  ASSERT_TRUE(Click(minute, false));
  ASSERT_TRUE(Click(minute, false));
  EXPECT_EQ(minute.Value(), 710);
  // Two quick clicks (a double click to the system) are two steps.
  ASSERT_TRUE(Click(minute, false, 2));
  EXPECT_EQ(minute.Value(), 700);
  ASSERT_TRUE(Click(minute, true, 2));
  EXPECT_EQ(minute.Value(), 710);
  // One event per real change: the clicks at the limit changed nothing.
  EXPECT_EQ(minute.changes, 10);
  EXPECT_EQ(minute.beeps, 0);
}

TEST_F(SpinEdit, UpAndDownKeysStepAndStillReachTheFormKeyHandler) {
  Spin font;
  Place(font, 10, kSpinFontSize, 10, 10);
  font.SetValue(98);
  std::vector<std::string> seen;  // key and the text at that moment
  font.onKeyDown = [&](WPARAM key) { seen.push_back(std::to_string(key) + ":" + font.Text()); };
  SetForegroundWindow(host_.Handle());
  font.Focus();
  ASSERT_EQ(GetFocus(), font.Handle());

  PressKey(VK_UP);
  PressKey(VK_UP);
  PressKey(VK_DOWN);
  ASSERT_TRUE(PumpUntil([&] { return seen.size() >= 3 && InputDone(); }));
  const std::vector<std::string> expected{std::to_string(VK_UP) + ":+99",
                                          std::to_string(VK_UP) + ":+99",
                                          std::to_string(VK_DOWN) + ":+98"};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(font.Value(), 98);
  EXPECT_EQ(font.changes, 3);  // 98 at the start, 99, and 98 again
  // The number is selected after a key step, so a typed one replaces it.
  DWORD start = 1, end = 0;
  SendMessageW(font.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, font.Text().size());
}

// The arrows stay drawn while the field has the focus and the user types and steps: the pixels
// of the button are the same as before the focus came. (An edit that clips its children paints
// its text and selection over them all the same, and they are never asked to draw again.)
TEST_F(SpinEdit, ArrowsStayDrawnWhileTheFieldHasTheFocus) {
  Spin minute;
  Place(minute, 10, kSpinAlarmMinute, 10, 10);
  minute.SetValue(30);
  SetForegroundWindow(host_.Handle());
  SetCursorPos(0, 0);  // the arrows in their normal look, not under the pointer
  const auto buttonPixels = [&] {
    RedrawWindow(host_.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpUntil([] { return InputDone(); });
    // Read from the window's own drawing, which is what the screen shows once it is brought up
    // to date.
    const HWND button = minute.Button().Handle();
    RECT r{};
    GetClientRect(button, &r);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(button);
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(button, dc);
    return pixels;
  };
  const std::vector<COLORREF> unfocused = buttonPixels();
  ASSERT_FALSE(unfocused.empty());
  ASSERT_NE(std::count(unfocused.begin(), unfocused.end(), unfocused.front()),
            static_cast<std::ptrdiff_t>(unfocused.size()))
      << "no arrows drawn to begin with";

  minute.Focus();
  EXPECT_EQ(buttonPixels(), unfocused) << "focused";
  PressKey('4');
  EXPECT_EQ(buttonPixels(), unfocused) << "after typing";
  PressKey(VK_DOWN);
  EXPECT_EQ(buttonPixels(), unfocused) << "after a key step";
  SendMessageW(minute.Handle(), EM_SETSEL, 0, -1);
  EXPECT_EQ(buttonPixels(), unfocused) << "with the number selected";
}

// A held arrow steps once at the press and once per tick of its repeat timer, only while the
// pointer stays on it; the up-down's own timers step nothing, and the release ends the repeat.
// The ticks are sent as messages: what the test counts does not depend on the machine's pace.
TEST_F(SpinEdit, HoldingAnArrowStepsOncePerRepeatTick) {
  Spin minute;
  Place(minute, 10, kSpinAlarmMinute, 10, 10);
  minute.SetValue(0);
  const auto steps = [&] { return minute.Value() / minute.Increment(); };
  const HWND button = minute.Button().Handle();
  RECT r{};
  GetClientRect(button, &r);
  const LPARAM onUp = MAKELPARAM(r.right / 2, r.bottom / 4);
  const LPARAM onDown = MAKELPARAM(r.right / 2, r.bottom * 3 / 4);
  const auto tick = [&](UINT_PTR id, int times) {
    for (int i = 0; i < times; ++i) SendMessageW(button, WM_TIMER, id, 0);
  };

  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, onUp);
  EXPECT_EQ(steps(), 1);  // the press
  tick(TUpDownLimited::kRepeatTimer, 12);
  EXPECT_EQ(steps(), 13);
  // The up-down's own repeat and acceleration timers do nothing.
  for (UINT_PTR own : {1, 2, 3}) tick(own, 5);
  EXPECT_EQ(steps(), 13);
  // Off the arrow that was pressed, the repeat pauses; back on it, it goes on.
  SendMessageW(button, WM_MOUSEMOVE, MK_LBUTTON, onDown);
  tick(TUpDownLimited::kRepeatTimer, 4);
  EXPECT_EQ(steps(), 13);
  SendMessageW(button, WM_MOUSEMOVE, MK_LBUTTON, onUp);
  tick(TUpDownLimited::kRepeatTimer, 2);
  EXPECT_EQ(steps(), 15);
  SendMessageW(button, WM_LBUTTONUP, 0, onUp);
  tick(TUpDownLimited::kRepeatTimer, 3);
  EXPECT_EQ(steps(), 15);

  // The down arrow the same way.
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, onDown);
  tick(TUpDownLimited::kRepeatTimer, 5);
  SendMessageW(button, WM_LBUTTONUP, 0, onDown);
  EXPECT_EQ(steps(), 9);
  EXPECT_EQ(GetCapture(), nullptr);
}

// The arrows inside the 3D border at the right edge: left = width - arrow width - 3, top = -1,
// height = height - 2 (in the edit's client area, at 96 DPI; scaled at others).
TEST_F(SpinEdit, ArrowsSitAtTheRightEdgeOverTheClientArea) {
  Spin minute;
  Place(minute, 10, kSpinAlarmMinute, 10, 10, 61, 23);
  const UINT dpi = host_.Dpi();
  RECT outer{}, arrows{};
  GetWindowRect(minute.Handle(), &outer);
  GetWindowRect(minute.Button().Handle(), &arrows);
  MapWindowPoints(nullptr, minute.Handle(), reinterpret_cast<POINT*>(&arrows), 2);
  const int width = GetSystemMetricsForDpi(SM_CXVSCROLL, dpi);
  EXPECT_EQ(arrows.left, (outer.right - outer.left) - width - ui::Scale(3, dpi));
  EXPECT_EQ(arrows.top, -ui::Scale(1, dpi));
  EXPECT_EQ(arrows.right - arrows.left, width);
  EXPECT_EQ(arrows.bottom - arrows.top, (outer.bottom - outer.top) - ui::Scale(2, dpi));
}

// The first repeat comes after the keyboard's repeat delay, the next ones a few a second.
TEST(SpinEditPace, FirstRepeatAfterTheKeyboardDelayThenAFewASecond) {
  EXPECT_EQ(ArrowFirstRepeatMs(0), 250u);
  EXPECT_EQ(ArrowFirstRepeatMs(1), 500u);
  EXPECT_EQ(ArrowFirstRepeatMs(3), 1000u);
  EXPECT_EQ(ArrowFirstRepeatMs(9), 1000u);
  EXPECT_GE(1000u / kArrowRepeatMs, 4u);
  EXPECT_LE(1000u / kArrowRepeatMs, 10u);
}

TEST_F(SpinEdit, WheelStepsWithoutTakingTheFocus) {
  Spin alpha;
  Spin other;
  Place(alpha, 10, kSpinAlpha, 10, 10);
  Place(other, 11, kSpinBorder, 10, 50);
  alpha.SetEnabled(true);
  other.Focus();

  Wheel(alpha.Handle(), 120);
  EXPECT_EQ(alpha.Value(), 205);
  Wheel(alpha.Handle(), -360);
  EXPECT_EQ(alpha.Value(), 190);
  Wheel(alpha.Handle(), 60);  // half a notch from a fine wheel: no step yet
  EXPECT_EQ(alpha.Value(), 190);
  Wheel(alpha.Handle(), 60);
  EXPECT_EQ(alpha.Value(), 195);
  // Over the arrows it is the same wheel, not a click.
  Wheel(alpha.Button().Handle(), 120);
  EXPECT_EQ(alpha.Value(), 200);
  EXPECT_EQ(alpha.clicks, 0);
  EXPECT_EQ(GetFocus(), other.Handle());

  // A form's wheel handler may take the event.
  alpha.onMouseWheel = [](int delta) { return delta > 0; };
  Wheel(alpha.Handle(), 120);
  EXPECT_EQ(alpha.Value(), 200);
  Wheel(alpha.Handle(), -120);
  EXPECT_EQ(alpha.Value(), 195);
}

TEST_F(SpinEdit, ReadOnlyIgnoresArrowsKeysAndWheel) {
  Spin month;
  Place(month, 10, kSpinMonthCount, 10, 10);
  month.SetValue(6);
  month.SetReadOnly(true);
  month.changes = 0;
  int keys = 0;
  month.onKeyDown = [&](WPARAM) { ++keys; };

  ASSERT_TRUE(Click(month, true));
  ASSERT_TRUE(Click(month, false));
  month.Focus();
  PressKey(VK_UP);
  PressKey(VK_DOWN);
  ASSERT_TRUE(PumpUntil([&] { return keys == 2 && InputDone(); }));
  Wheel(month.Handle(), 240);
  for (wchar_t c : {L'-', L'+', L'7', L'\b'}) SendMessageW(month.Handle(), WM_CHAR, c, 0);
  EXPECT_EQ(month.Text(), "6");
  EXPECT_EQ(month.changes, 0);

  // Editable again, the same input steps.
  month.SetReadOnly(false);
  ASSERT_TRUE(Click(month, true));
  Wheel(month.Handle(), 120);
  EXPECT_EQ(month.Value(), 8);
}

TEST_F(SpinEdit, DisabledShowsDisableColorAndDisablesItsArrows) {
  Spin alpha;
  Place(alpha, 10, kSpinAlpha, 10, 10);  // starts disabled
  constexpr COLORREF kGrey = RGB(200, 190, 180);
  constexpr COLORREF kWhite = RGB(250, 250, 240);
  alpha.SetDisableColor(kGrey);
  alpha.SetEnableColor(kWhite);
  EXPECT_FALSE(IsWindowEnabled(alpha.Handle()));
  EXPECT_FALSE(IsWindowEnabled(alpha.Button().Handle()));

  // The background the parent hands the edit, and the pixels it paints with it.
  const auto background = [&] {
    HDC dc = GetDC(alpha.Handle());
    const UINT msg = IsWindowEnabled(alpha.Handle()) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    const auto brush =
        reinterpret_cast<HBRUSH>(SendMessageW(host_.Handle(), msg, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(alpha.Handle())));
    LOGBRUSH lb{};
    GetObjectW(brush, sizeof lb, &lb);
    EXPECT_EQ(GetBkColor(dc), lb.lbColor);
    ReleaseDC(alpha.Handle(), dc);
    return lb.lbColor;
  };
  const auto pixel = [&] {
    RedrawWindow(alpha.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(alpha.Handle());
    const COLORREF c = GetPixel(dc, 1, 1);  // top left, clear of the right-aligned text
    ReleaseDC(alpha.Handle(), dc);
    return c;
  };
  EXPECT_EQ(background(), kGrey);
  EXPECT_EQ(pixel(), kGrey);

  // Disabled arrows take no click (the up-down ignores the press).
  SendMessageW(alpha.Button().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(alpha.Button().Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(alpha.clicks, 0);

  alpha.SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(alpha.Button().Handle()));
  EXPECT_EQ(background(), kWhite);
  EXPECT_EQ(pixel(), kWhite);
  ASSERT_TRUE(Click(alpha, true));
  EXPECT_EQ(alpha.Value(), 205);

  // EditorEnabled false: not editable (DisableColor) but the arrows still step.
  alpha.SetEditorEnabled(false);
  EXPECT_EQ(background(), kGrey);
  ASSERT_TRUE(Click(alpha, true));
  EXPECT_EQ(alpha.Value(), 210);
  SendMessageW(alpha.Handle(), WM_CHAR, L'5', 0);
  EXPECT_EQ(alpha.Text(), "210");
  EXPECT_EQ(alpha.beeps, 1);
}

TEST_F(SpinEdit, TypingKeepsToDigitsAndEveryRealChangeIsReportedOnce) {
  Spin month;
  Spin other;
  Place(month, 10, kSpinMonthCount, 10, 10);
  Place(other, 11, kSpinBorder, 10, 50);
  month.changes = 0;
  const auto type = [&](std::wstring_view keys) {
    for (wchar_t c : keys) SendMessageW(month.Handle(), WM_CHAR, c, 0);
  };

  month.SetValue(1);  // unchanged: nothing
  month.SetValue(3);
  EXPECT_EQ(month.changes, 1);

  // The focus arriving by the keyboard selects the number; typing replaces it.
  month.Focus();
  type(L"a.x9");
  EXPECT_EQ(month.beeps, 3);
  EXPECT_EQ(month.Text(), "9");
  type(L"9");
  EXPECT_EQ(month.Text(), "99");
  EXPECT_EQ(month.changes, 3);
  // Leaving the field normalises it.
  other.Focus();
  EXPECT_EQ(month.Text(), "12");
  EXPECT_EQ(month.changes, 4);

  // Enter normalises too (and is not inserted); "-" cannot make a month negative.
  month.Focus();
  type(L"\b\b0-");
  EXPECT_EQ(month.Text(), "0");
  type(L"\r");
  EXPECT_EQ(month.Text(), "1");
  EXPECT_EQ(month.beeps, 3);
  // In a dialog, Enter goes to the default button; the number is normalised all the same.
  SendMessageW(month.Handle(), EM_SETSEL, 0, -1);
  type(L"99");
  MSG enter{month.Handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  IsDialogMessageW(host_.Handle(), &enter);
  EXPECT_EQ(month.Text(), "12");

  // Pasting: the pasted text becomes a number at once; while the editor is disabled, nothing.
  const auto paste = [&](const wchar_t* text) {
    ASSERT_TRUE(OpenClipboard(host_.Handle()));
    EmptyClipboard();
    const std::size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendMessageW(month.Handle(), EM_SETSEL, 0, -1);
    SendMessageW(month.Handle(), WM_PASTE, 0, 0);
  };
  month.changes = 0;
  paste(L"11");
  EXPECT_EQ(month.Text(), "11");
  paste(L"250");
  EXPECT_EQ(month.Text(), "12");
  EXPECT_EQ(month.changes, 2);
  paste(L"junk");  // the last value read: 12
  EXPECT_EQ(month.Text(), "12");
  EXPECT_EQ(month.changes, 2);
  month.SetEditorEnabled(false);
  paste(L"5");
  SendMessageW(month.Handle(), WM_CUT, 0, 0);
  EXPECT_EQ(month.Text(), "12");
  EXPECT_EQ(month.changes, 2);

  // A left click into the field places the caret instead of selecting the number.
  other.Focus();
  RECT r{};
  GetWindowRect(month.Handle(), &r);
  SetCursorPos(r.left + 4, (r.top + r.bottom) / 2);
  INPUT click[2]{};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, click, sizeof(INPUT));
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == month.Handle() && InputDone(); }));
  DWORD start = 1;
  DWORD end = 2;
  SendMessageW(month.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, end);
}

// Every spin edit of the dialogs, at the height the dialogs give them: the formatting area ends
// before the arrows, the arrows lie inside the field, and the widest number fits the area.
TEST_F(SpinEdit, EverySpinEditOfTheDialogsShowsItsNumbersClearOfItsArrows) {
  SpinHost& host = host_;
  const UINT dpi = host.Dpi();
  host.SetBounds(40, 40, ui::Scale(300, dpi),
                 ui::Scale(10 + 26 * static_cast<int>(kAllSpinSetups.size() / 2) + 10, dpi));
  std::vector<std::unique_ptr<Spin>> spins;
  for (std::size_t i = 0; i < kAllSpinSetups.size(); ++i) {
    const SpinSetup& setup = kAllSpinSetups[i];
    auto spin = std::make_unique<Spin>();
    spin->Create(host.Handle(), static_cast<int>(100 + i), setup);
    spin->SetFont(host.Font());
    // Room for MaxLength wide digits, the arrows and the borders (96-DPI pixels).
    const int width = 30 + 8 * setup.maxLength;
    const int x = 10 + static_cast<int>(i % 2) * 140;
    const int y = 10 + static_cast<int>(i / 2) * 26;
    spin->SetBounds(ui::Scale(x, dpi), ui::Scale(y, dpi), ui::Scale(width, dpi),
                    ui::Scale(21, dpi));
    // The widest text the field shows (the initial value, which may be the disabled alpha).
    spin->SetValue(setup.min < 0 ? setup.min : setup.max);
    spins.push_back(std::move(spin));
  }
  RedrawWindow(host.Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

  for (const auto& spin : spins) {
    const HWND edit = spin->Handle();
    RECT client{};
    GetClientRect(edit, &client);
    RECT arrows{};
    GetWindowRect(spin->Button().Handle(), &arrows);
    MapWindowPoints(HWND_DESKTOP, edit, reinterpret_cast<POINT*>(&arrows), 2);
    // At the right edge, over the client area's top, right and bottom by the border's overlap.
    RECT outer{};
    GetWindowRect(edit, &outer);
    EXPECT_EQ(arrows.right, (outer.right - outer.left) - ui::Scale(3, dpi));
    EXPECT_EQ(arrows.top, -ui::Scale(1, dpi));
    EXPECT_EQ(arrows.bottom, (outer.bottom - outer.top) - ui::Scale(3, dpi));
    EXPECT_GE(arrows.right, client.right - 1);
    EXPECT_EQ(arrows.right - arrows.left, GetSystemMetricsForDpi(SM_CXVSCROLL, dpi));

    RECT format{};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_LT(format.right, arrows.left) << spin->Text();
    // The last character ends inside the formatting area.
    const std::wstring text = Cp932ToWide(spin->Text());
    const LRESULT last = SendMessageW(edit, EM_POSFROMCHAR, text.size() - 1, 0);
    const SIZE extent = ui::MeasureText(edit, host.Font(), text.substr(text.size() - 1));
    const int lastRight = static_cast<short>(LOWORD(last)) + extent.cx;
    EXPECT_LE(lastRight, format.right) << spin->Text();
    const int firstLeft = static_cast<short>(LOWORD(SendMessageW(edit, EM_POSFROMCHAR, 0, 0)));
    EXPECT_GE(firstLeft, format.left) << spin->Text();
  }

  if (const char* path = std::getenv("MIROVANE_SPIN_PICTURE")) {
    RECT r{};
    GetWindowRect(host.Handle(), &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    // The window's own pixels, children included (not the screen's, which may lag behind).
    HDC window = GetWindowDC(host.Handle());
    HDC memory = CreateCompatibleDC(window);
    ui::BitmapHandle bitmap(CreateCompatibleBitmap(window, w, h));
    const HGDIOBJ old = SelectObject(memory, bitmap.get());
    BitBlt(memory, 0, 0, w, h, window, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    ReleaseDC(host.Handle(), window);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const int stride = (w * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<std::size_t>(stride * h));
    GetDIBits(memory, bitmap.get(), 0, static_cast<UINT>(h), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteDC(memory);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  }
}

}  // namespace
}  // namespace mirovane
