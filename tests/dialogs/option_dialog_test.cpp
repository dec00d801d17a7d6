// The options dialog in this process, its format boxes given text as a paste gives it: nothing
// reaches the settings record in another form than the user typed, and a format the user did not
// touch comes back whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/application.h"
#include "app/win_test_support.h"
#include "dialogs/option_dialog.h"
#include "platform/codec.h"
#include "settings/settings.h"

namespace mirovane {
namespace {

using testing::FindOwnForm;
using testing::PressKeys;
using testing::WaitFor;

// Replaces the whole text of an editable combo box as a paste would: through its edit field, so
// the box reports the change as the user's.
void Paste(const ui::ComboBox& combo, const std::wstring& text) {
  const HWND edit = FindWindowExW(combo.Handle(), nullptr, L"Edit", nullptr);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

TEST(OptionDialog, FormatsAreStoredExactlyAsTypedOrRefused) {
  InitCommonControlsForProgram();
  TCalendarSettings settings;
  const std::string longDate = std::string(290, 'y') + "/mm";  // longer than the box holds
  settings.DateFormat = longDate;
  OptionDialogTarget target;
  target.settings = &settings;
  TOptionSetDialog dialog(std::move(target));
  std::atomic<int> noticeCount{0};
  std::vector<std::wstring> notices;  // written on the dialog's thread, read once it has closed
  dialog.onNotice = [&](const std::wstring& text) {
    notices.push_back(text);
    ++noticeCount;
  };

  std::string afterBreak;
  bool openAfterNotice = false;
  std::thread user([&] {
    const HWND w = FindOwnForm();
    if (!w) return;
    SetForegroundWindow(w);
    // A line break pasted into a format never enters it.
    Paste(dialog.cmbTimeFormat, L"hh\r:nn\n:ss");
    afterBreak = dialog.cmbTimeFormat.Text();
    // A character the settings file cannot hold: told, and the dialog stays open.
    Paste(dialog.cmbTimeFormat, L"J\u00fcrgen hh");
    PressKeys({VK_MENU, 'S'});
    WaitFor([&] { return noticeCount > 0; });
    openAfterNotice = IsWindowVisible(w) != FALSE;
    Paste(dialog.cmbTimeFormat, L"hh:nn");
    PressKeys({VK_MENU, 'S'});
  });
  EXPECT_EQ(dialog.ShowModal(nullptr), kOptionResultSave);
  user.join();

  EXPECT_EQ(afterBreak, "hh:nn:ss");
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find(Utf8ToWide("「時刻形式」")), std::wstring::npos);
  EXPECT_NE(notices[0].find(L'\u00fc'), std::wstring::npos);
  EXPECT_TRUE(openAfterNotice);
  EXPECT_EQ(settings.TimeFormat, "hh:nn");
  EXPECT_EQ(settings.DateFormat, longDate);  // shown cut, never touched: kept whole
}

}  // namespace
}  // namespace mirovane
