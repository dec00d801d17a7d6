// The options dialog of the real Mirovane.exe, started in a temporary folder with a prepared
// Mirovane.ini and driven only by keyboard and mouse input: opened from the popup menu, edited,
// saved, applied, reverted and cancelled, with the settings file and the running window read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/calendar_dialog.h"
#include "app/program_runner.h"
#include "app/test_folder.h"
#include "app/win_test_support.h"
#include "dialogs/color_test_dialog.h"
#include "dialogs/option_dialog.h"
#include "dialogs/option_rules.h"
#include "format/formatter.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/ini.h"
#include "platform/regional.h"
#include "settings/settings_codec.h"

namespace mirovane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::FindDescendantById;
using testing::Program;
using testing::TempFolder;
using testing::WindowText;

// Types `text` as key input of its characters.
void TypeText(const std::wstring& text) {
  std::vector<INPUT> in;
  for (wchar_t c : text) {
    for (bool up : {false, true}) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wScan = c;
      i.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      in.push_back(i);
    }
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void Click(HWND hwnd) { testing::ClickAt(testing::CentreOf(hwnd)); }

// The text of a control of another process (GetWindowText would not ask the control itself).
std::wstring ControlText(HWND hwnd) {
  wchar_t buffer[512] = {};
  DWORD_PTR n = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 10000,
                      &n);
  return std::wstring(buffer, std::min<std::size_t>(n, 511));
}

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

RECT RectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

// The texts `format` gives for today between two readings of the clock.
std::set<std::wstring> TodayTexts(const std::string& format, double from, double to) {
  DateTimeFormatter formatter(SystemRegional());
  std::set<std::wstring> texts;
  for (double v : {from, to}) {
    formatter.SetDateTimeEx(v);
    texts.insert(Cp932ToWide(formatter.FormatDateTimeEx(format)));
  }
  return texts;
}

TCalendarSettings SettingsIn(const std::string& iniBytes) {
  TCalendarSettings s;
  ReadSettings(IniDocument(iniBytes), s);
  return s;
}

// Mirovane.exe in a temporary folder, with its settings file, and the ways into its options
// dialog.
class OptionDialogEndToEnd : public ::testing::Test {
 protected:
  // Left edge 40, top 30, one month, the date as "yyyy/mm/dd"; a comment and a section the
  // program does not know, which a save must keep.
  const std::string kSettings = Utf8ToCp932(
      "; 設定ファイル\r\n"
      "[MainForm]\r\nAlignRight=0\r\nLeftPosition=40\r\nTopPosition=30\r\n"
      "[Calendar]\r\nShowMonthCount=17\r\n"
      "[DateTime]\r\nDateFormat=yyyy/mm/dd\r\nUnknownKey=残す\r\n"
      "[Other]\r\n; kept\r\nValue=1\r\n");

  void SetUp() override {
    exe_ = temp_.CopyProgram(L"Options");
    ini_ = fs::path(exe_).replace_extension(L".ini");
    temp_.Write(fs::path(L"Options") / ini_.filename(), kSettings);
    program_ = std::make_unique<Program>(exe_);
    ASSERT_TRUE(program_->Started());
    window_ = program_->WaitForMainWindow();
    ASSERT_NE(window_, nullptr) << "the main window did not appear";
  }

  // Right-click on the date, "オプション設定(&O)" in the popup menu; the dialog once it shows.
  HWND OpenDialog() {
    // A right click that the busy machine delivers slowly can end as a peek (the window hides
    // while the button is held) instead of the menu: then the window comes back and the user
    // clicks again.
    for (int attempt = 0; attempt < 3; ++attempt) {
      testing::WaitFor([&] { return IsWindowVisible(window_) != FALSE; });
      testing::RightClickAt(testing::CentreOf(FindDescendantById(window_, kDateLabelId)));
      HWND menu = nullptr;
      const bool shown = testing::WaitFor(
          [&] {
            return (menu = program_->FindWindowOf(L"#32768", nullptr)) != nullptr &&
                   IsWindowVisible(menu);
          },
          std::chrono::seconds(10));
      if (!shown) continue;
      PostMessageW(menu, WM_CHAR, L'o', 0);
      const HWND dialog = program_->WaitForVisibleWindow(
          L"MirovaneForm", Utf8ToWide("オプション設定").c_str(), std::chrono::seconds(10));
      if (!dialog) {
        if (IsWindow(menu)) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        continue;
      }
      // The first control has the focus once the modal loop runs.
      testing::WaitFor([&] { return GetForegroundWindow() == dialog; });
      return dialog;
    }
    return nullptr;
  }

  HWND Control(HWND dialog, int id) const { return FindDescendantById(dialog, id); }

  // Ctrl+Tab until the page with `id` on it shows.
  void ShowPageOf(HWND dialog, int id) {
    const HWND target = Control(dialog, id);
    const HWND tabs = Control(dialog, kOptTabsId);
    const auto page = [&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0); };
    for (int i = 0; i < 3 && !IsWindowVisible(target); ++i) {
      const LRESULT shown = page();
      testing::PressKeys({VK_CONTROL, VK_TAB});
      testing::WaitFor([&] { return page() != shown; });
    }
    ASSERT_TRUE(IsWindowVisible(target));
  }

  // Clicks into the edit (or the edit of the combo box) `id`, replaces its text by typing.
  void Retype(HWND dialog, int id, const std::wstring& text) {
    HWND field = Control(dialog, id);
    if (HWND inner = FindWindowExW(field, nullptr, L"Edit", nullptr)) field = inner;
    // Near its left end, clear of a spin edit's arrows.
    // A click that arrives while the dialog is still activating can be lost on a busy machine:
    // clicked again until the field has the focus, three times at most.
    const RECT r = RectOf(field);
    const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    for (int attempt = 0; attempt < 3; ++attempt) {
      testing::ClickAt(POINT{r.left + 6, (r.top + r.bottom) / 2});
      if (testing::WaitFor([&] { return testing::FocusOf(thread) == field; },
                           std::chrono::seconds(10))) {
        break;
      }
    }
    ASSERT_EQ(testing::FocusOf(thread), field) << "the field did not take the focus";
    testing::PressKeys({VK_HOME});
    testing::PressKeys({VK_SHIFT, VK_END});
    TypeText(text);
    testing::WaitFor([&] { return ControlText(field) == text; });
    EXPECT_EQ(ControlText(field), text);
  }

  // Clicks the button `id` and waits until the dialog has gone; a click lost on a busy machine is
  // repeated, three times at most.
  void Finish(HWND dialog, int id) {
    const HWND button = Control(dialog, id);
    for (int attempt = 0; attempt < 3 && IsWindow(dialog); ++attempt) {
      Click(button);
      testing::WaitFor([&] { return !IsWindow(dialog); }, std::chrono::seconds(10));
    }
    EXPECT_FALSE(IsWindow(dialog)) << "the dialog stayed open";
    // The main window has handled the result once it answers again.
    SendMessageW(window_, WM_NULL, 0, 0);
  }

  std::wstring DateText() const { return WindowText(FindDescendantById(window_, kDateLabelId)); }
  int MonthDelta() const {
    return static_cast<int>(
        SendMessageW(FindDescendantById(window_, kMainCalendarId), MCM_GETMONTHDELTA, 0, 0));
  }
  std::string IniBytes() const { return testing::ReadBytes(ini_); }

  TempFolder temp_;
  fs::path exe_;
  fs::path ini_;
  std::unique_ptr<Program> program_;
  HWND window_ = nullptr;
};

TEST_F(OptionDialogEndToEnd, TypedFormatPreviewsAndSaveWritesTheFileAndLaysTheWindowOut) {
  const RECT before = RectOf(window_);
  ASSERT_EQ(before.left, 40);
  ASSERT_EQ(before.top, 30);
  ASSERT_EQ(MonthDelta(), 1);

  const HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr) << "the options dialog did not open";

  // Tab 1: the window's place.
  Retype(dialog, kOptPosXId, L"100");
  Retype(dialog, kOptPosYId, L"60");

  // Tab 2: a typed date format shows in the preview at once; two months across.
  ShowPageOf(dialog, kOptDateFormatId);
  const double from = LocalNow();
  Retype(dialog, kOptDateFormatId, L"yyyy.mm.dd");
  const HWND preview = Control(dialog, kOptDateTestId);
  const std::set<std::wstring> expected = TodayTexts("yyyy.mm.dd", from, LocalNow());
  EXPECT_TRUE(testing::WaitFor([&] { return expected.count(WindowText(preview)) > 0; }))
      << WideToUtf8(WindowText(preview));
  Retype(dialog, kOptMonthXId, L"2");

  Finish(dialog, kOptOkId);

  // The file: the changed keys hold the new values, the rest of the file is still there.
  const std::string saved = IniBytes();
  const TCalendarSettings s = SettingsIn(saved);
  EXPECT_EQ(s.DateFormat, "yyyy.mm.dd");
  EXPECT_EQ(s.LeftPosition, 100);
  EXPECT_EQ(s.TopPosition, 60);
  EXPECT_EQ(s.ShowMonthCount, 0x21);
  EXPECT_FALSE(s.AlignRight);
  EXPECT_NE(saved.find(Utf8ToCp932("; 設定ファイル\r\n")), std::string::npos) << saved;
  EXPECT_NE(saved.find(Utf8ToCp932("UnknownKey=残す\r\n")), std::string::npos) << saved;
  EXPECT_NE(saved.find("[Other]\r\n; kept\r\nValue=1\r\n"), std::string::npos) << saved;

  // The window: at its new place, two months across (wider), the date in the new format.
  const RECT after = RectOf(window_);
  EXPECT_EQ(after.left, 100);
  EXPECT_EQ(after.top, 60);
  EXPECT_EQ(MonthDelta(), 2);
  EXPECT_GT(after.right - after.left, before.right - before.left);
  const std::wstring date = DateText();
  EXPECT_TRUE(TodayTexts("yyyy.mm.dd", from, LocalNow()).count(date)) << WideToUtf8(date);
}

TEST_F(OptionDialogEndToEnd, ApplyThenRevertRestoresTheFileAndApplyThenCancelKeepsTheApplied) {
  const std::wstring fileDate = DateText();

  // "一時適用(&A)": the window takes the values, the file stays as it was.
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  Retype(dialog, kOptPosXId, L"200");
  ShowPageOf(dialog, kOptDateFormatId);
  Retype(dialog, kOptDateFormatId, L"'D'yyyy");
  Finish(dialog, kOptIgnoreId);
  EXPECT_EQ(RectOf(window_).left, 200);
  EXPECT_EQ(DateText().substr(0, 1), L"D") << WideToUtf8(DateText());
  EXPECT_EQ(IniBytes(), kSettings);

  // "元に戻す(&R)": back to the file's values and place.
  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  // The dialog shows where the window is now, not the stored place.
  EXPECT_EQ(ControlText(Control(dialog, kOptPosXId)), L"200");
  Finish(dialog, kOptRetryId);
  EXPECT_EQ(RectOf(window_).left, 40);
  EXPECT_EQ(RectOf(window_).top, 30);
  EXPECT_EQ(DateText().substr(0, 4), fileDate.substr(0, 4));
  EXPECT_NE(DateText().substr(0, 1), L"D");
  EXPECT_EQ(IniBytes(), kSettings);

  // Applied, then "キャンセル(&C)": the applied state stays, the file is untouched.
  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  Retype(dialog, kOptPosXId, L"300");
  Finish(dialog, kOptIgnoreId);
  ASSERT_EQ(RectOf(window_).left, 300);
  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  Retype(dialog, kOptPosXId, L"500");  // typed, then cancelled: goes nowhere
  Finish(dialog, kOptCancelId);
  EXPECT_EQ(RectOf(window_).left, 300);
  EXPECT_EQ(RectOf(window_).top, 30);
  EXPECT_EQ(IniBytes(), kSettings);
}

TEST_F(OptionDialogEndToEnd, TransparencyIsAskedOncePerOpeningAndThePreviewHidesOnAClick) {
  const std::wstring caption = Utf8ToWide("確認");
  const auto confirmBox = [&] { return program_->FindWindowOf(L"#32770", caption.c_str()); };

  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ShowPageOf(dialog, kOptTransparentId);
  const HWND none = Control(dialog, kOptNoneId);
  const HWND colorKey = Control(dialog, kOptTransparentId);
  const HWND alpha = Control(dialog, kOptAlphaId);
  ASSERT_TRUE(Checked(none));

  // The first choice of colour-key transparency asks, with the whole text; "キャンセル" leaves
  // "透明化なし" selected.
  Click(colorKey);
  HWND box = nullptr;
  ASSERT_TRUE(testing::WaitFor([&] { return (box = confirmBox()) && IsWindowVisible(box); }));
  std::wstring text;
  HWND cancel = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == IDCANCEL) cancel = child;
    if (testing::ClassName(child) == L"Static" && WindowText(child).size() > text.size()) {
      text = WindowText(child);
    }
  }
  EXPECT_EQ(text, Cp932ToWide(TransparencyConfirmText()));
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(WindowText(cancel), Utf8ToWide("キャンセル"));
  EXPECT_EQ(WindowText(GetDlgItem(box, IDOK)), L"OK");
  Click(cancel);
  EXPECT_TRUE(testing::WaitFor([&] { return !IsWindow(box); }));
  EXPECT_TRUE(testing::WaitFor([&] { return Checked(none) && !Checked(colorKey); }));

  // Chosen again in the same opening: accepted without a question. The click on optAlpha after
  // it reaches the dialog only if no question holds it.
  Click(colorKey);
  EXPECT_TRUE(testing::WaitFor([&] { return Checked(colorKey); }));
  Click(alpha);
  EXPECT_TRUE(testing::WaitFor([&] { return Checked(alpha); }));
  EXPECT_EQ(confirmBox(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(Control(dialog, kOptAlphaSpinId)));

  // "配色テスト": the preview opens at the dialog's right edge; a click on it hides it.
  Click(Control(dialog, kOptTestButtonId));
  HWND preview = nullptr;
  ASSERT_TRUE(testing::WaitFor([&] {
    preview = program_->FindWindowOf(kColorTestDialogClass, nullptr);
    return preview && IsWindowVisible(preview);
  }));
  const RECT dialogRect = RectOf(dialog);
  const RECT previewRect = RectOf(preview);
  EXPECT_EQ(previewRect.left, dialogRect.right);
  EXPECT_EQ(previewRect.top, dialogRect.top);
  // On the date below the calendar: the click passes through the children to the form. A click
  // that arrives while the preview is still being shown can be lost on a busy machine: three at
  // most.
  for (int attempt = 0; attempt < 3 && IsWindowVisible(preview); ++attempt) {
    testing::ClickAt(POINT{(previewRect.left + previewRect.right) / 2, previewRect.bottom - 12});
    testing::WaitFor([&] { return !IsWindowVisible(preview); }, std::chrono::seconds(10));
  }
  EXPECT_FALSE(IsWindowVisible(preview)) << "a click on the preview did not hide it";

  // Cancelled: nothing reaches the window or the file; the preview goes with the dialog.
  Finish(dialog, kOptCancelId);
  EXPECT_FALSE(IsWindow(preview));
  EXPECT_FALSE(GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(IniBytes(), kSettings);

  // A new opening asks again.
  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ShowPageOf(dialog, kOptTransparentId);
  Click(Control(dialog, kOptTransparentId));
  ASSERT_TRUE(testing::WaitFor([&] { return (box = confirmBox()) && IsWindowVisible(box); }));
  Click(GetDlgItem(box, IDCANCEL));
  EXPECT_TRUE(testing::WaitFor([&] { return !IsWindow(box); }));
  EXPECT_TRUE(testing::WaitFor([&] { return Checked(Control(dialog, kOptNoneId)); }));
  Finish(dialog, kOptCancelId);
}

}  // namespace
}  // namespace mirovane
