// The Win32 toolkit: window ownership and the procedure boundary, notification routing, label
// text caching, panel mouse events, timers and GDI handles.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/win_test_support.h"
#include "platform/codec.h"
#include "ui/dpi.h"
#include "ui/gdi.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/timer.h"
#include "ui/window.h"

namespace mirovane::ui {
namespace {

using namespace std::chrono_literals;
using mirovane::testing::PumpMessagesFor;
using mirovane::testing::SetTextCounter;
using mirovane::testing::WindowText;

constexpr UINT kThrowMessage = WM_APP + 1;

// A top-level test window that records what reaches its own handler.
class HostWindow : public Window {
 public:
  ~HostWindow() override { Destroy(); }
  void Create() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"MirovaneTestHost";
    RegisterClassOnce(wc);
    CreateHandle(0, L"MirovaneTestHost", L"host", WS_POPUP, 0, 0, 200, 100, nullptr, 0);
  }
  std::vector<UINT> commands;  // WM_COMMAND codes that were not handled by a control
  int destroyed = 0;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case kThrowMessage:
        throw std::runtime_error("handler failed");
      case WM_COMMAND:
        commands.push_back(HIWORD(wp));
        return 0;
      case WM_DESTROY:
        ++destroyed;
        return 0;
      default:
        return DefaultHandling(msg, wp, lp);
    }
  }
};

TEST(UiWindow, ExceptionsStopAtTheWindowProcedure) {
  std::string reported;
  SetExceptionReporter([&](const char* what) { reported = what; });
  HostWindow host;
  host.Create();
  SendMessageW(host.Handle(), kThrowMessage, 0, 0);
  EXPECT_EQ(reported, "handler failed");
  EXPECT_TRUE(IsWindow(host.Handle()));
  SetExceptionReporter(nullptr);
}

TEST(UiWindow, ChildrenDestroyedWithTheirParentLeaveEmptyWrappers) {
  HostWindow host;
  host.Create();
  Panel panel;
  Label label;
  panel.Create(host.Handle(), 7, RGB(1, 2, 3));
  label.Create(panel.Handle(), 8, "x");
  EXPECT_EQ(Window::FromHandle(panel.Handle()), &panel);
  EXPECT_EQ(Control::FromHandle(label.Handle()), &label);

  const HWND hostHandle = host.Handle();
  host.Destroy();
  EXPECT_EQ(host.destroyed, 1);  // the derived handler still saw WM_DESTROY
  EXPECT_FALSE(IsWindow(hostHandle));
  EXPECT_EQ(host.Handle(), nullptr);
  EXPECT_EQ(panel.Handle(), nullptr);
  EXPECT_EQ(label.Handle(), nullptr);
}

TEST(UiWindow, WrapperDestroyedBeforeItsParentDestroysItsWindow) {
  HostWindow host;
  host.Create();
  HWND panelHandle = nullptr;
  HWND labelHandle = nullptr;
  {
    Panel panel;
    panel.Create(host.Handle(), 7, RGB(1, 2, 3));
    Label label;
    label.Create(host.Handle(), 8, "x");
    panelHandle = panel.Handle();
    labelHandle = label.Handle();
  }
  EXPECT_FALSE(IsWindow(panelHandle));
  EXPECT_FALSE(IsWindow(labelHandle));
  EXPECT_TRUE(IsWindow(host.Handle()));
}

TEST(UiLabel, SetsItsTextOnlyWhenItChanges) {
  HostWindow host;
  host.Create();
  Label label;
  label.Create(host.Handle(), 8, " ");
  SetTextCounter sets(label.Handle());

  const std::string text = Utf8ToCp932("既に起動 & 表示");  // cp932 trail bytes 0x5C, an '&'
  EXPECT_TRUE(label.SetText(text));
  EXPECT_FALSE(label.SetText(text));
  EXPECT_FALSE(label.SetText(std::string(text)));
  EXPECT_EQ(sets.count(), 1);
  EXPECT_EQ(WindowText(label.Handle()), Utf8ToWide("既に起動 & 表示"));
  EXPECT_TRUE(label.SetText(""));
  EXPECT_EQ(sets.count(), 2);
  EXPECT_EQ(WindowText(label.Handle()), L"");
}

TEST(UiLabel, ParentRoutesNotificationsToTheLabel) {
  HostWindow host;
  host.Create();
  Label label;
  label.Create(host.Handle(), 8, "x");
  int clicks = 0;
  int doubleClicks = 0;
  label.onClick = [&] { ++clicks; };
  label.onDblClick = [&] { ++doubleClicks; };

  const auto notify = [&](WORD code) {
    SendMessageW(host.Handle(), WM_COMMAND, MAKEWPARAM(8, code),
                 reinterpret_cast<LPARAM>(label.Handle()));
  };
  notify(STN_CLICKED);
  notify(STN_DBLCLK);
  // The control's STN_CLICKED comes on the press; the click is the release on the label.
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(doubleClicks, 1);
  label.SetBounds(0, 0, 40, 20);
  SendMessageW(label.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  SendMessageW(label.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(host.commands.empty());
  // A notification the label does not know reaches the parent's own handler.
  notify(STN_ENABLE);
  EXPECT_EQ(host.commands, std::vector<UINT>{STN_ENABLE});
}

TEST(UiLabel, ColoursComeFromTheLabel) {
  HostWindow host;
  host.Create();
  Label label;
  label.Create(host.Handle(), 8, "x");
  label.SetColors(RGB(10, 20, 30), RGB(200, 100, 0));
  HDC dc = GetDC(label.Handle());
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(host.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(label.Handle())));
  EXPECT_EQ(GetTextColor(dc), RGB(200, 100, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(10, 20, 30));
  LOGBRUSH lb{};
  ASSERT_TRUE(GetObjectW(brush, sizeof lb, &lb));
  EXPECT_EQ(lb.lbColor, RGB(10, 20, 30));
  ReleaseDC(label.Handle(), dc);
}

TEST(UiPanel, ReportsMouseInput) {
  HostWindow host;
  host.Create();
  Panel panel;
  panel.Create(host.Handle(), 7, RGB(1, 2, 3));
  std::vector<MouseEvent> downs, moves, ups;
  int doubleClicks = 0;
  panel.onMouseDown = [&](const MouseEvent& e) { downs.push_back(e); };
  panel.onMouseMove = [&](const MouseEvent& e) { moves.push_back(e); };
  panel.onMouseUp = [&](const MouseEvent& e) { ups.push_back(e); };
  panel.onDblClick = [&] { ++doubleClicks; };

  SendMessageW(panel.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 7));
  SendMessageW(panel.Handle(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(-3, 9));
  SendMessageW(panel.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(6, 8));
  SendMessageW(panel.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 2));

  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].button, MouseButton::Right);
  EXPECT_EQ(downs[0].x, 5);
  EXPECT_EQ(downs[0].y, 7);
  EXPECT_EQ(downs[1].button, MouseButton::Left);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].x, -3);  // signed coordinates (captured mouse left of the panel)
  EXPECT_EQ(moves[0].keys, static_cast<WPARAM>(MK_RBUTTON));
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(ups[0].button, MouseButton::Right);
  EXPECT_EQ(doubleClicks, 1);
}

TEST(UiTimer, RunsOnlyWhileEnabledWithAnInterval) {
  HostWindow host;
  Timer early(host, 20, true);  // enabled before the owner has a handle
  EXPECT_FALSE(early.Running());
  host.Create();
  EXPECT_TRUE(early.Running());
  early.SetEnabled(false);

  Timer timer(host, 0, true);
  int ticks = 0;
  timer.onTimer = [&] { ++ticks; };
  EXPECT_FALSE(timer.Running());  // interval 0 never runs
  timer.SetInterval(20);
  EXPECT_TRUE(timer.Running());
  // Ticks come from the system clock: wait for two, however slow the machine is.
  for (int i = 0; i < 1000 && ticks < 2; ++i) PumpMessagesFor(10ms);
  EXPECT_GE(ticks, 2);

  // Ticks already queued when the timer stops are dropped.
  Sleep(60);
  timer.SetEnabled(false);
  const int stoppedAt = ticks;
  PumpMessagesFor(100ms);
  EXPECT_EQ(ticks, stoppedAt);
  EXPECT_FALSE(timer.Running());

  EXPECT_NE(timer.Id(), early.Id());
}

TEST(UiGdi, HandlesAreReleasedAndSelectionsRestored) {
  FontHandle font = CreateUiFont(FontSpec{}, 96);
  ASSERT_TRUE(font);
  const HFONT raw = font.get();
  FontHandle moved = std::move(font);
  EXPECT_FALSE(font);
  EXPECT_EQ(moved.get(), raw);

  HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
  {
    SelectedObject selected(dc, moved.get());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), raw);
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original);
  DeleteDC(dc);

  moved.reset();
  EXPECT_EQ(GetObjectType(raw), 0u);  // deleted
}

TEST(UiDpi, FontsAndLengthsScaleWithTheDpi) {
  EXPECT_EQ(Scale(12, 96), 12);
  EXPECT_EQ(Scale(12, 144), 18);
  EXPECT_EQ(Scale(1, 192), 2);
  FontHandle font = CreateUiFont(FontSpec{}, 192);
  LOGFONTW lf{};
  ASSERT_TRUE(GetObjectW(font.get(), sizeof lf, &lf));
  EXPECT_EQ(lf.lfHeight, -24);
  EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(std::wstring(lf.lfFaceName), Utf8ToWide("ＭＳ Ｐゴシック"));
}

}  // namespace
}  // namespace mirovane::ui
