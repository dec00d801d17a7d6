// Every window at the DPI it is shown at: fixed distances are 96-DPI pixels scaled, fonts keep
// their point or pixel sizes scaled, and a WM_DPICHANGED (as the system sends it when the window
// moves to a monitor with another DPI) lays the window out again for the new DPI. The test runner
// runs these tests at 96 DPI and again in a prefix at 144 DPI.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "alarms/alarm_list_dialog.h"
#include "alarms/alarm_set_dialog.h"
#include "alarms/message_window_win.h"
#include "app/main_window_fixture.h"
#include "platform/codec.h"
#include "ui/dpi.h"

namespace mirovane {
namespace {

using testing::FontOf;
using testing::Height;
using testing::PointPixels;
using testing::ScreenRect;
using testing::Width;

// `hwnd`'s rectangle in the client coordinates of `parent`.
RECT RectIn(HWND hwnd, HWND parent) {
  RECT r = ScreenRect(hwnd);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Whether `r` is the 96-DPI place scaled to `dpi`, each edge within a pixel.
::testing::AssertionResult IsScaledPlace(const RECT& r, ui::Place p, UINT dpi) {
  const RECT want{ui::Scale(p.x, dpi), ui::Scale(p.y, dpi), ui::Scale(p.x + p.w, dpi),
                  ui::Scale(p.y + p.h, dpi)};
  if (std::abs(r.left - want.left) <= 1 && std::abs(r.top - want.top) <= 1 &&
      std::abs(r.right - want.right) <= 1 && std::abs(r.bottom - want.bottom) <= 1) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "at " << dpi << " DPI: (" << r.left << "," << r.top << ")-(" << r.right << ","
         << r.bottom << "), want (" << want.left << "," << want.top << ")-(" << want.right << ","
         << want.bottom << ")";
}

HWND WaitForForm() {
  HWND found = nullptr;
  testing::WaitFor([&] {
    found = FindWindowW(L"MirovaneForm", nullptr);
    return found && IsWindowVisible(found);
  });
  return found;
}

class AnyDpi : public testing::MainWindowTest {
 protected:
  struct MainLayout {
    RECT window, mainPanel, clockPanel, clockFace, date;
    LONG dateFont, calendarFont;
  };
  static MainLayout Read(TCalendarDialog& d) {
    return {ScreenRect(d.Handle()),
            d.MainPanel.Bounds(),
            d.ClockPanel.Bounds(),
            d.ClockLabel.Bounds(),
            d.DateLabel.Bounds(),
            FontOf(d.DateLabel.Handle()).lfHeight,
            FontOf(d.MainCalendar.Handle()).lfHeight};
  }
  // Checks the main window's fixed distances and fonts for `dpi`: border 1, label border 2, the
  // clock face 2 inside its panel; 12-point date and 11-point calendar fonts.
  static void ExpectMainWindowAt(const MainLayout& m, UINT dpi) {
    SCOPED_TRACE(std::to_string(dpi) + " DPI");
    EXPECT_EQ(m.mainPanel.left, ui::Scale(1, dpi));
    EXPECT_EQ(m.mainPanel.top, ui::Scale(1, dpi));
    EXPECT_EQ(m.clockFace.left, ui::Scale(2, dpi));
    EXPECT_EQ(Width(m.clockPanel) - Width(m.clockFace), 2 * ui::Scale(2, dpi));
    EXPECT_EQ(m.dateFont, -PointPixels(12, dpi));
    EXPECT_EQ(m.calendarFont, -PointPixels(11, dpi));
  }

  using Finder = std::function<HWND(HWND form)>;
  static Finder Control(const ui::DialogControl& control) {
    return [&control](HWND) { return control.Handle(); };
  }
  static Finder Captioned(const char* utf8) {
    return [utf8](HWND form) {
      return FindWindowExW(form, nullptr, L"Button", Utf8ToWide(utf8).c_str());
    };
  }

  // Runs `open` (which shows a form modally); once the form shows, checks its client size, the
  // places of `places` and their fonts, then lays it out for 1.5 times the DPI and checks again.
  void CheckForm(const std::function<void()>& open, SIZE client96,
                 const std::vector<std::pair<Finder, ui::Place>>& places, int fontPixels96) {
    std::thread user([&] {
      const HWND w = WaitForForm();
      if (!w) return;
      const UINT dpi = ui::WindowDpi(w);
      for (UINT at : {dpi, dpi * 3 / 2}) {
        SCOPED_TRACE(std::to_string(at) + " DPI");
        if (at != dpi) {
          RECT r = ScreenRect(w);
          SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(at, at), reinterpret_cast<LPARAM>(&r));
        }
        RECT client{};
        GetClientRect(w, &client);
        EXPECT_TRUE(IsScaledPlace(client, {0, 0, client96.cx, client96.cy}, at));
        for (const auto& [find, place] : places) {
          const HWND control = find(w);
          ASSERT_NE(control, nullptr);
          EXPECT_TRUE(IsScaledPlace(RectIn(control, w), place, at));
          EXPECT_EQ(FontOf(control).lfHeight, -ui::Scale(fontPixels96, at));
        }
      }
      PostMessageW(w, WM_CLOSE, 0, 0);
    });
    open();
    user.join();
  }
};

// The main window at the DPI of its monitor, then moved (by the message) to a monitor with 1.5
// times the DPI: fonts, margins and sizes follow; and back, where it is exactly as it was.
TEST_F(AnyDpi, MainWindowLaysItselfOutForItsDpiAndBack) {
  TCalendarDialog& d = Shown();
  const UINT dpi = d.Dpi();
  EXPECT_EQ(dpi, ui::WindowDpi(d.Handle()));
  RecordProperty("dpi", static_cast<int>(dpi));
  const MainLayout before = Read(d);
  ExpectMainWindowAt(before, dpi);

  const UINT larger = dpi * 3 / 2;
  RECT suggested{100, 80, 100 + Width(before.window) * 3 / 2, 80 + Height(before.window) * 3 / 2};
  SendMessageW(d.Handle(), WM_DPICHANGED, MAKEWPARAM(larger, larger),
               reinterpret_cast<LPARAM>(&suggested));
  const MainLayout moved = Read(d);
  ExpectMainWindowAt(moved, larger);
  EXPECT_EQ(moved.window.top, 80);
  // The size follows the larger fonts: about 1.5 times, as far as the text extents scale.
  EXPECT_NEAR(Width(moved.window), Width(before.window) * 1.5, Width(before.window) * 0.1);
  EXPECT_NEAR(Height(moved.window), Height(before.window) * 1.5, Height(before.window) * 0.1);

  RECT back = before.window;
  SendMessageW(d.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&back));
  const MainLayout again = Read(d);
  ExpectMainWindowAt(again, dpi);
  EXPECT_EQ(Width(again.window), Width(before.window));
  EXPECT_EQ(Height(again.window), Height(before.window));
  EXPECT_EQ(again.window.left, before.window.left);
}

// The dialogs: client areas, control places and fonts of their tables, scaled, also after a DPI
// change while they are open.
TEST_F(AnyDpi, DialogsScaleTheirTables) {
  {
    SCOPED_TRACE("alarm list");
    const std::filesystem::path list = folder_.Path() / "Mirovane.txt";
    std::ofstream(list, std::ios::binary) << "*2099/01/01 12:00  Msg:a\r\n";
    TAlarmListDialog dialog(list, nullptr);
    CheckForm([&] { dialog.ShowModal(nullptr); }, {650, 400},
              {{Control(dialog.Button5), {428, 338, 217, 25}},
               {Control(dialog.btnOk), {428, 368, 103, 25}}},
              15);
  }
  {
    SCOPED_TRACE("alarm editor");
    TAlarmSetDialog dialog(AlarmEditorStart{CivilDate{2026, 12, 9}, 17, 5});
    dialog.EntryText = Utf8ToCp932("2024/05/06 12:30  Inf$会議");
    CheckForm([&] { dialog.ShowModal(nullptr); }, {500, 375},
              {{Control(dialog.btnOk), {10, 341, 109, 26}},
               {Control(dialog.btnCancel), {382, 341, 109, 26}}},
              15);
  }
  {
    SCOPED_TRACE("message window");
    TCalendarDialog& d = Shown();
    LONG fontHeight = 0;
    std::thread user([&] {
      HWND box = nullptr;
      testing::WaitFor([&] {
        box = FindWindowW(kMessageWindowClass, nullptr);
        return box && IsWindowVisible(box);
      });
      if (!box) return;
      fontHeight = FontOf(GetDlgItem(box, kMessageTextId)).lfHeight;
      PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    });
    d.AlarmHost.ShowMessageWindow("OK", kMessageInformation, false, false);
    user.join();
    EXPECT_EQ(fontHeight, -ui::Scale(12, d.Dpi()));
  }
  {
    SCOPED_TRACE("options, as the menu opens it");
    TCalendarDialog& d = Shown();
    d.optionsDialog = nullptr;
    CheckForm([&] { SendMessageW(d.Handle(), WM_COMMAND, kCmdOptions, 0); }, {600, 520},
              {{Captioned("設定保存(&S)"), {56, 484, 128, 28}},
               {Captioned("キャンセル(&C)"), {464, 484, 128, 28}}},
              15);
  }
}

}  // namespace
}  // namespace mirovane
