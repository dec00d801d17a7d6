// Every window's text drawn in a font that has its characters: digits, Latin letters, kana and
// kanji alike. On a Japanese Windows the configured faces have them all; on one without those
// faces (the test runner also runs these tests in an English-locale prefix that has no stand-ins
// for them) the program must pick fonts that do.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

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

using testing::ClassName;
using testing::WindowText;

// "class: text" of every visible window under `root` whose text has characters its font cannot
// draw. The month calendar is checked for the digits of its days and title. (The caption of
// `root` itself is the system's to draw, in its own caption font.)
std::vector<std::string> UndrawableTexts(HWND root) {
  std::vector<std::string> found;
  const auto check = [&found](HWND hwnd) {
    if (!IsWindowVisible(hwnd)) return;
    const std::wstring cls = ClassName(hwnd);
    std::wstring text = WindowText(hwnd);
    if (cls == MONTHCAL_CLASSW) text = Utf8ToWide("0123456789 2026年12月 日月火水木金土");
    if (text.empty()) return;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    const HFONT drawn = font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    if (ui::MissingGlyphs(drawn, text) > 0) found.push_back(WideToUtf8(cls + L": " + text));
  };
  EnumChildWindows(
      root,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        (*reinterpret_cast<decltype(check)*>(lp))(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&check));
  return found;
}

// The visible top-level window of this thread with `className` other than `except`, or null.
HWND WaitForThreadWindow(DWORD thread, const wchar_t* className, HWND except = nullptr) {
  HWND found = nullptr;
  testing::WaitFor([&] {
    struct Search {
      const wchar_t* cls;
      HWND except;
      HWND found;
    } search{className, except, nullptr};
    EnumThreadWindows(
        thread,
        [](HWND hwnd, LPARAM lp) -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          if (hwnd != s->except && IsWindowVisible(hwnd) && ClassName(hwnd) == s->cls) {
            s->found = hwnd;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    found = search.found;
    return found != nullptr;
  });
  return found;
}

class AnyLanguage : public testing::MainWindowTest {
 protected:
  // Shows `form` modally on this thread and checks its texts once it is up; then closes it.
  void CheckForm(ui::Form& form, const char* name) {
    std::vector<std::string> missing;
    bool seen = false;
    std::thread user([&] {
      const HWND w = WaitForThreadWindow(thread_, L"MirovaneForm");
      if (!w) return;
      seen = true;
      missing = UndrawableTexts(w);
      PostMessageW(w, WM_CLOSE, 0, 0);
    });
    form.ShowModal(nullptr);
    user.join();
    EXPECT_TRUE(seen) << name;
    EXPECT_EQ(missing, std::vector<std::string>{}) << name;
  }

  DWORD thread_ = GetCurrentThreadId();
};

TEST_F(AnyLanguage, EveryWindowDrawsEveryCharacterOfItsTexts) {
  WriteIni(
      "[MainForm]\nDateFormat=yyyy'年'm'月'd'日（'aaa'） 'ggge'年 'ddd\nTimeFormat=AM/PM "
      "h:nn:ss\nAnalogClock=1\n");
  TCalendarDialog& d = Shown();
  EXPECT_EQ(UndrawableTexts(d.Handle()), std::vector<std::string>{}) << "main window";

  {
    // The message window of an alarm, with the confirm button.
    std::vector<std::string> missing;
    std::thread user([&] {
      const HWND box = WaitForThreadWindow(thread_, kMessageWindowClass);
      if (!box) return;
      missing = UndrawableTexts(box);
      PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    });
    d.AlarmHost.ShowMessageWindow(Utf8ToCp932("会議 Meeting 10:30 ＡＢＣ１２３"),
                                  kMessageInformation, true, false);
    user.join();
    EXPECT_EQ(missing, std::vector<std::string>{}) << "message window";
  }
  {
    TAlarmSetDialog editor(AlarmEditorStart{CivilDate{2026, 12, 9}, 17, 5});
    editor.EntryText = Utf8ToCp932("xxxx/xx/xx 015分* Que$Meeting 会議\\nRoom 101");
    CheckForm(editor, "alarm editor");
  }
  {
    const std::filesystem::path list = folder_.Path() / "Mirovane.txt";
    std::ofstream(list, std::ios::binary)
        << Utf8ToCp932("*2024/05/06 12:30  Inf$会議 Meeting\r\n [7]:平日   S05rt  Msg:OK\r\n");
    TAlarmListDialog dialog(list, nullptr);
    CheckForm(dialog, "alarm list");
  }
  {
    // The options dialog as the menu opens it, on each of its tabs in turn.
    std::vector<std::string> missing;
    d.optionsDialog = nullptr;
    std::thread user([&] {
      const HWND w = WaitForThreadWindow(thread_, L"MirovaneForm");
      if (!w) return;
      const HWND tabs = FindWindowExW(w, nullptr, WC_TABCONTROLW, nullptr);
      for (int page = 0; page < 3; ++page) {
        SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(page), 0);
        testing::WaitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == page; });
        for (const std::string& m : UndrawableTexts(w)) missing.push_back(m);
      }
      PostMessageW(w, WM_CLOSE, 0, 0);
    });
    SendMessageW(d.Handle(), WM_COMMAND, kCmdOptions, 0);
    user.join();
    EXPECT_EQ(missing, std::vector<std::string>{}) << "options dialog";
  }
}

// The face as configured when it is installed, even one without kanji; a face that is not
// installed is replaced by one that draws every character the windows need.
TEST_F(AnyLanguage, MissingFacesAreReplacedInstalledOnesKept) {
  EXPECT_EQ(ui::DrawableFace(L"Tahoma"), L"Tahoma");
  for (const std::wstring& face :
       {Utf8ToWide("存在しない書体"), ui::DefaultFontFace(), Utf8ToWide("ＭＳ ゴシック")}) {
    const ui::FontHandle font = ui::CreateShiftJisFont(face, 16, false, false);
    EXPECT_EQ(ui::MissingGlyphs(font.get(), Utf8ToWide("0123456789 ABCxyz 年月日時分 あア ０９")),
              0u)
        << WideToUtf8(face) << " drawn as " << WideToUtf8(ui::DrawableFace(face));
  }
}

}  // namespace
}  // namespace mirovane
