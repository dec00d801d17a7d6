// The alarm dialogs' real windows: entry texts of every kind shown in the editor's controls and
// registered again by the keyboard, the choices a user makes by key presses, the file prompt's
// notices, and the list's answers to a file it cannot read or write.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "alarms/alarm_editor_rules.h"
#include "alarms/alarm_engine.h"
#include "alarms/alarm_list_dialog.h"
#include "alarms/alarm_set_dialog.h"
#include "app/application.h"
#include "app/test_folder.h"
#include "app/win_test_support.h"
#include "platform/codec.h"

namespace mirovane {
namespace {

using testing::FindOwnForm;
using testing::FocusOf;
using testing::PressKeys;
using testing::WaitFor;

std::string Sj(std::string_view utf8) { return Utf8ToCp932(utf8); }

class AlarmSetDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitCommonControlsForProgram(); }

  // Opens the editor on `entry`; once it shows and has the focus, `user` runs on another thread
  // (reading the controls and giving input). Returns the modal result.
  int Edit(TAlarmSetDialog& dialog, const std::string& entry,
           const std::function<void(TAlarmSetDialog&)>& user) {
    dialog.EntryText = entry;
    std::thread t([&] {
      const HWND w = FindOwnForm();
      if (!w) return;
      SetForegroundWindow(w);
      WaitFor([&] { return GetForegroundWindow() == w && FocusOf(thread_) != nullptr; });
      user(dialog);
    });
    const int result = dialog.ShowModal(nullptr);
    t.join();
    return result;
  }

  static AlarmEditorStart Start() {
    AlarmEditorStart start;
    start.Date = CivilDate{2024, 2, 29};
    start.Hour = 10;
    start.Minute = 5;
    return start;
  }

  DWORD thread_ = GetCurrentThreadId();
};

// Every date kind, time type, band, icon, beep and action, shown in the controls and registered
// with Enter unchanged: the text comes back byte for byte.
TEST_F(AlarmSetDialogTest, EntriesOfEveryKindComeBackUnchangedThroughTheControls) {
  const std::vector<std::string> entries{
      Sj("2024/05/06 12:30  Inf$会議\\n資料"),
      Sj("xxxx/02/29*07:00  Msg:leap"),
      Sj("xxxx/xx/31*後:00  Msg:x"),
      Sj("xxxx/xx/15 015分* Que:a\\n\\nb"),
      Sj("xxxx/xx/xx 07:30  Msg:a\\n\\n"),  // ends in an empty line
      Sj("xxxx/xx/xx 07:30  Msg:\\n\\n\\n"),
      Sj("xxxx/xx/xx 000夜  War:w"),
      Sj("[7]:平日   S05rt  Err:e"),
      Sj("[0]:日     xx:45  Msg:"),
      "xxxx/xx/xx Start  Exe:C:\\tools\\run.exe::-x \"a b\"",
      Sj("xxxx/xx/xx S00昼  Exe:C:\\表示.exe"),
  };
  for (const std::string& entry : entries) {
    SCOPED_TRACE(Cp932ToUtf8(entry));
    TAlarmSetDialog dialog(Start());
    EXPECT_EQ(Edit(dialog, entry, [](TAlarmSetDialog&) { PressKeys({VK_RETURN}); }), kModalOk);
    EXPECT_EQ(dialog.EntryText, entry);
  }
}

// Replaces the whole text of an edit as a paste would, so the edit reports it as the user's.
void Paste(const ui::Edit& edit, const std::wstring& text) {
  SendMessageW(edit.Handle(), EM_SETSEL, 0, -1);
  SendMessageW(edit.Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

// Nothing is registered in another form than the one the user typed: a path Shift_JIS cannot
// hold (best fit would make "Jürgen" a "Jurgen", another folder), a line break in a one-line
// field, or a path and command line longer together than the alarm reads.
TEST_F(AlarmSetDialogTest, RegistersOnlyWhatTheListHoldsAsTyped) {
  TAlarmSetDialog dialog(Start());
  std::mutex lock;  // the notices come on the form's thread, the test reads them on the user's
  std::vector<std::string> notices;
  dialog.showNotice = [&](const std::string& text) {
    const std::lock_guard<std::mutex> hold(lock);
    notices.push_back(text);
  };
  const auto noticed = [&](const std::string& part) {
    const std::lock_guard<std::mutex> hold(lock);
    for (const std::string& n : notices) {
      if (n.find(part) != std::string::npos) return true;
    }
    return false;
  };
  bool refusedLacking = false, refusedLong = false;
  const std::string path(127, 'p');
  const int result = Edit(dialog, "xxxx/xx/xx Start  Exe:C:\\a.exe", [&](TAlarmSetDialog& d) {
    Paste(d.edtFilePath, L"C:\\test\\J\u00fcrgen\\prog.exe");
    PressKeys({VK_RETURN});
    refusedLacking =
        WaitFor([&] { return noticed(Sj("「実行するファイル名」に保存できない文字")); });
    Paste(d.edtFilePath, Utf8ToWide(path));
    Paste(d.edtCmndLine, std::wstring(127, L'c'));
    PressKeys({VK_RETURN});
    refusedLong = WaitFor([&] { return noticed(editor_text::ActionTooLong()); });
    Paste(d.edtCmndLine, L"-a\r\n-b");
    PressKeys({VK_RETURN});
  });
  EXPECT_TRUE(refusedLacking);
  EXPECT_TRUE(refusedLong);
  EXPECT_EQ(result, kModalOk);
  EXPECT_EQ(dialog.EntryText, "xxxx/xx/xx Start  Exe:" + path + "::-a-b");
}

// "毎月" on the last day, every hour in the afternoon: the controls show it as such.
TEST_F(AlarmSetDialogTest, MonthlyLastDayHourlyShowsItsControls) {
  TAlarmSetDialog dialog(Start());
  bool checked = false;
  Edit(dialog, Sj("xxxx/xx/31*後:00  Msg:x"), [&](TAlarmSetDialog& d) {
    EXPECT_EQ(d.cmbDateType.ItemIndex(), kDateMonthly);
    EXPECT_TRUE(d.chkLastDay.Visible());
    EXPECT_TRUE(d.chkLastDay.Checked());
    EXPECT_FALSE(d.chkLeapOnly.Visible());
    EXPECT_TRUE(d.dtpDateUpDown.Visible());
    EXPECT_FALSE(d.dtpDateSet.Visible());
    EXPECT_FALSE(d.dtpDateUpDown.Enabled());
    EXPECT_EQ(d.dtpDateUpDown.Value().wDay, 31);
    EXPECT_EQ(d.cmbTimeType.ItemIndex(), kEditEveryHour);
    EXPECT_TRUE(d.dtpTimeSet.Visible());
    EXPECT_EQ(d.dtpTimeSet.Value().wMinute, 0);
    EXPECT_TRUE(d.cmbAmPm.Visible());
    EXPECT_EQ(d.cmbAmPm.ItemIndex(), kBandAfternoon);
    EXPECT_FALSE(d.spnMinute.Visible());
    EXPECT_TRUE(d.memMessage.Visible());
    // Long lines scroll sideways instead of wrapping: one line is one line of the message.
    const auto memo = GetWindowLongPtrW(d.memMessage.Handle(), GWL_STYLE);
    EXPECT_TRUE(memo & ES_AUTOHSCROLL);
    EXPECT_TRUE(memo & WS_HSCROLL);
    EXPECT_TRUE(memo & WS_VSCROLL);
    EXPECT_FALSE(d.edtFilePath.Visible());
    checked = true;
    PressKeys({VK_ESCAPE});
  });
  EXPECT_TRUE(checked);
  EXPECT_EQ(dialog.ModalResult(), kModalCancel);
}

// A new alarm chosen by keys: the date kind list steps to "毎年" on 29 February (kept in the leap
// year of the picker), Tab reaches the time type, which steps to "起動時のみ"; the delay steps up
// by the arrow key; the file mode comes by the arrow keys of the radio group; the path is typed and
// registered.
TEST_F(AlarmSetDialogTest, KeyboardBuildsANewAlarm) {
  TAlarmSetDialog dialog(Start());
  std::vector<std::wstring> focusClasses;
  const int result = Edit(dialog, "", [&](TAlarmSetDialog& d) {
    EXPECT_EQ(FocusOf(thread_), d.cmbDateType.Handle());
    PressKeys({VK_DOWN});  // "毎年"
    WaitFor([&] { return d.cmbDateType.ItemIndex() == kDateYearly; });
    EXPECT_EQ(d.dtpDateUpDown.Value().wYear, 2004);
    EXPECT_EQ(d.dtpDateUpDown.Value().wMonth, 2);
    EXPECT_EQ(d.dtpDateUpDown.Value().wDay, 29);
    // Picker, leap-year box, time type.
    for (int i = 0; i < 3; ++i) PressKeys({VK_TAB});
    WaitFor([&] { return FocusOf(thread_) == d.cmbTimeType.Handle(); });
    for (int i = 0; i < 4; ++i) PressKeys({VK_DOWN});  // "起動時のみ"
    WaitFor([&] { return d.cmbTimeType.ItemIndex() == kEditStartupOnly; });
    EXPECT_TRUE(d.spnDelayed.Visible());
    EXPECT_FALSE(d.dtpTimeSet.Visible());
    PressKeys({VK_TAB});
    WaitFor([&] { return FocusOf(thread_) == d.spnDelayed.Handle(); });
    PressKeys({VK_UP});
    PressKeys({VK_UP});  // two steps of 5
    WaitFor([&] { return d.spnDelayed.Value() == 10; });
    PressKeys({VK_TAB});  // the band list
    PressKeys({VK_TAB});  // the radio group
    WaitFor([&] { return FocusOf(thread_) == d.rdbMessage.Handle(); });
    PressKeys({VK_RIGHT});
    WaitFor([&] { return d.rdbFilePath.Checked(); });
    EXPECT_TRUE(d.edtFilePath.Visible());
    EXPECT_FALSE(d.memMessage.Visible());
    PressKeys({VK_TAB});
    WaitFor([&] { return FocusOf(thread_) == d.edtFilePath.Handle(); });
    for (WORD k : {'C', 'M', 'D'}) PressKeys({k});
    PressKeys({VK_RETURN});
  });
  EXPECT_EQ(result, kModalOk);
  EXPECT_EQ(dialog.EntryText, "xxxx/02/29 S10rt  Exe:cmd");
}

// Weekday code 9 has no row of its own: it opens as "毎日" and registers a whole date field.
TEST_F(AlarmSetDialogTest, EveryDayWeekdayCodeOpensAsDaily) {
  TAlarmSetDialog dialog(Start());
  Edit(dialog, Sj("[9]:毎日   07:00  Msg:x"), [](TAlarmSetDialog& d) {
    EXPECT_EQ(d.cmbDateType.ItemIndex(), kDateDaily);
    EXPECT_FALSE(d.cmbWeek.Visible());
    PressKeys({VK_RETURN});
  });
  EXPECT_EQ(dialog.EntryText, "xxxx/xx/xx 07:00  Msg:x");
}

// "ファイル検索" with a path longer than the edit takes: the notice first, then the path cut to
// 127 characters; leaving the edit with a path of no file says so once the focus has moved.
TEST_F(AlarmSetDialogTest, FilePromptAndPathNotices) {
  TAlarmSetDialog dialog(Start());
  std::vector<std::string> notices;
  const std::string longPath = "C:\\" + std::string(100, 'a') + "\\" + Sj("長いフォルダー名") +
                               "\\" + std::string(40, 'b') + ".exe";
  dialog.browseForFile = [&](const std::string& present) -> std::optional<std::string> {
    EXPECT_EQ(present, "C:\\old.exe");
    return longPath;
  };
  dialog.showNotice = [&](const std::string& text) { notices.push_back(text); };
  std::string shown;
  Edit(dialog, "xxxx/xx/xx 12:00  Exe:C:\\old.exe", [&](TAlarmSetDialog& d) {
    // A click that arrives while the form is still being activated can lose the focus to the
    // activation's focus restore: click again until the edit has it.
    for (int attempt = 0; attempt < 10 && FocusOf(thread_) != d.edtFilePath.Handle(); ++attempt) {
      testing::ClickAt(testing::CentreOf(d.edtFilePath.Handle()));
      for (int i = 0; i < 100 && FocusOf(thread_) != d.edtFilePath.Handle(); ++i) Sleep(20);
    }
    if (FocusOf(thread_) != d.edtFilePath.Handle()) {
      ADD_FAILURE() << "the path edit never took the focus";
      PostMessageW(d.Handle(), WM_CLOSE, 0, 0);
      return;
    }
    PressKeys({VK_TAB});  // to "ファイル検索"; C:\old.exe does not exist
    WaitFor([&] { return notices.size() == 1; });
    PressKeys({VK_SPACE});  // presses it
    WaitFor([&] { return notices.size() == 2; });
    shown = d.edtFilePath.Text();
    PressKeys({VK_ESCAPE});
  });
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0], Sj("ファイルが存在しません。"));
  EXPECT_EQ(notices[1],
            Sj("選択したファイルのパスが長過ぎます。\r\n128文字以降は切り捨てられます。"));
  EXPECT_EQ(Cp932ToWide(shown).size(), 127u);
  EXPECT_EQ(shown, longPath.substr(0, shown.size()));
}

// A list file that cannot be read is not opened as an empty list (a save would wipe it); a save
// that fails is reported, keeps the dialog open with the user's changes and leaves the file whole.
// The list form has a margin of 2 pixels (at 96 DPI) between its frame and its client area, which
// keeps the table's 650 x 400; the margin shows the form's colour.
TEST_F(AlarmSetDialogTest, ListFormHasItsMarginInsideTheFrame) {
  testing::TestFolder folder;
  TAlarmListDialog dialog(folder.Path() / "Mirovane.txt", nullptr);
  RECT client{}, window{}, frame{};
  COLORREF margin = 0;
  std::thread user([&] {
    const HWND w = FindOwnForm();
    if (!w) return;
    GetClientRect(w, &client);
    GetWindowRect(w, &window);
    const UINT dpi = GetDpiForWindow(w);
    frame =
        RECT{0, 0, MulDiv(650, static_cast<int>(dpi), 96), MulDiv(400, static_cast<int>(dpi), 96)};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongPtrW(w, GWL_EXSTYLE)), dpi);
    // One pixel inside the margin, left of the client area's middle.
    POINT inside{0, client.bottom / 2};
    ClientToScreen(w, &inside);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const HDC dc = GetWindowDC(w);
    margin = GetPixel(dc, inside.x - window.left - 1, inside.y - window.top);
    ReleaseDC(w, dc);
    PressKeys({VK_ESCAPE});
  });
  dialog.ShowModal(nullptr);
  user.join();
  const UINT dpi = GetDpiForSystem();
  EXPECT_EQ(client.right, MulDiv(650, static_cast<int>(dpi), 96));
  EXPECT_EQ(client.bottom, MulDiv(400, static_cast<int>(dpi), 96));
  const int extra = 2 * MulDiv(2, static_cast<int>(dpi), 96);
  EXPECT_EQ(window.right - window.left, frame.right - frame.left + extra);
  EXPECT_EQ(window.bottom - window.top, frame.bottom - frame.top + extra);
  EXPECT_EQ(margin, GetSysColor(COLOR_BTNFACE));
}

TEST_F(AlarmSetDialogTest, ListFileThatCannotBeReadOrWrittenStaysWhole) {
  testing::TestFolder folder;
  EXPECT_FALSE(TAlarmListDialog(folder.Path(), nullptr).Loaded()) << "a folder is no list";

  const std::filesystem::path path = folder.Path() / "Mirovane.txt";
  const std::string before = "*2099/01/01 12:00  Msg:a\r\n xxxx/xx/xx 12:00  Msg:b\r\n";
  std::ofstream(path, std::ios::binary) << before;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  TAlarmListDialog dialog(path, nullptr);
  ASSERT_TRUE(dialog.Loaded());
  std::vector<std::string> errors;
  dialog.showError = [&](const std::string& text) { errors.push_back(text); };
  dialog.SelectEntry(1);
  bool stayedOpen = false;
  std::thread user([&] {
    const HWND w = FindOwnForm();
    if (!w) return;
    SetForegroundWindow(w);
    WaitFor([&] { return FocusOf(thread_) == dialog.lstAlarmList.Handle(); });
    PressKeys({VK_SPACE});  // resumes entry 2
    WaitFor([&] { return dialog.Rules().Entries()[1].Ticked; });
    PressKeys({VK_MENU, 'S'});
    WaitFor([&] { return errors.size() == 1; });
    stayedOpen = IsWindowVisible(w) != FALSE;
    PressKeys({VK_ESCAPE});
  });
  EXPECT_EQ(dialog.ShowModal(nullptr), kModalCancel);
  user.join();
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_EQ(errors.size(), 1u);
  // One sentence with the system's reason, no call name.
  EXPECT_NE(errors[0].find(Sj(" に書き込めません（")), std::string::npos) << errors[0];
  EXPECT_TRUE(errors[0].ends_with(Sj("）。"))) << errors[0];
  EXPECT_EQ(errors[0].find("replace"), std::string::npos) << errors[0];
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(testing::ReadBytes(path), before);
}

}  // namespace
}  // namespace mirovane
