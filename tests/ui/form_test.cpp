// The modal form and its controls, driven as a user drives them: keyboard input into the real
// window while its modal loop runs, and the change events of every kind of control.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window_fixture.h"
#include "app/win_test_support.h"
#include "controls/spin_edit.h"
#include "platform/codec.h"
#include "ui/dialog_controls.h"
#include "ui/form.h"

namespace mirovane {
namespace {

using namespace std::chrono_literals;
using testing::ClassName;
using testing::FocusOf;
using testing::WaitFor;
using testing::WindowText;

// One of each control, in the order of its table.
class SampleForm : public ui::Form {
 public:
  SampleForm() : Form(ui::FormSetup{"見本", 420, 330, ui::FormFrame::SystemMenu, Font15(), 2}) {}

  static ui::FontSpec Font15() {
    ui::FontSpec font;
    font.pixelHeight96 = 15;
    return font;
  }

  ui::StaticText lblName;
  ui::Edit edtName;
  ui::CheckBox chkFlag;
  ui::GroupBox grpKind;
  ui::RadioButton optA;
  ui::RadioButton optB;
  ui::ComboBox cmbList;
  ui::ComboBox cmbFree;
  ui::TabControl PageControl1;
  ui::TabPage tbsOne;
  ui::TabPage tbsTwo;
  ui::CheckBox chkOnPage;
  ui::CheckBox chkOnPage2;
  ui::DateTimePicker dtpDate;
  ui::DateTimePicker dtpTime;
  ui::CheckList lstItems;
  TSpinEditEx spnMonthX{kSpinMonthCount};
  ui::Button btnOk;
  ui::Button btnCancel;

  std::function<void()> whenCreated;
  std::vector<std::string> events;

 protected:
  void CreateControls() override {
    Add(lblName, {8, 10, 60, 16}, "名前(&N)");
    edtName.maxBytes = 8;
    Add(edtName, {70, 8, 120, 22});
    Add(chkFlag, {200, 8, 120, 22}, "確認する(&K)");
    Add(grpKind, {8, 36, 190, 48}, " 種類 ");
    Add(optA, {16, 54, 80, 22}, "甲(&A)", ui::kGroupStart);
    Add(optB, {100, 54, 80, 22}, "乙(&B)");
    Add(cmbList, {206, 40, 100, 22});
    cmbFree.editable = true;
    cmbFree.maxBytes = 255;
    Add(cmbFree, {310, 40, 100, 22});
    Add(PageControl1, {8, 90, 400, 80});
    AddPage(PageControl1, tbsOne, " 一 ");
    AddPage(PageControl1, tbsTwo, " 二 ");
    Add(chkOnPage, {8, 8, 160, 22}, "頁の箱(&P)", ui::kNoFlags, &tbsOne);
    Add(chkOnPage2, {8, 8, 160, 22}, "次の箱", ui::kNoFlags, &tbsTwo);
    dtpDate.SetFormat("yyyy'/'MM'/'dd");
    Add(dtpDate, {8, 178, 120, 22});
    dtpTime.timeOnly = true;
    dtpTime.SetFormat("HH':'mm");
    Add(dtpTime, {136, 178, 90, 22});
    Add(lstItems, {8, 206, 300, 80});
    Add(spnMonthX, {320, 206, 46, 21});
    Add(btnOk, {230, 296, 85, 25}, "設定保存(&S)", ui::kDefault);
    Add(btnCancel, {322, 296, 85, 25}, "キャンセル(&C)", ui::kCancel);
  }

  void FormCreate() override {
    cmbList.SetItems({"1", "2", "3"});
    cmbFree.SetItems({"yyyy", "hh:nn"});
    for (ui::CheckBox* box : {&chkFlag, &chkOnPage, &chkOnPage2}) {
      box->onClick = [this, box] { events.push_back("check " + std::to_string(box->Checked())); };
    }
    optA.onClick = [this] { events.push_back("A"); };
    optB.onClick = [this] { events.push_back("B"); };
    edtName.onChange = [this] { events.push_back("edit " + edtName.Text()); };
    cmbList.onChange = [this] { events.push_back("list " + std::to_string(cmbList.ItemIndex())); };
    cmbFree.onChange = [this] { events.push_back("free " + cmbFree.Text()); };
    PageControl1.onChange = [this] {
      events.push_back("tab " + std::to_string(PageControl1.ActiveIndex()));
    };
    dtpDate.onChange = [this] { events.push_back("date " + std::to_string(dtpDate.Value().wDay)); };
    btnOk.onClick = [this] { SetModalResult(1); };
    btnCancel.onClick = [this] { SetModalResult(2); };
    if (whenCreated) whenCreated();
  }
};

// The top-level window of this process with `className`, visible, or null.
HWND FindOwnWindow(const wchar_t* className) {
  HWND found = nullptr;
  for (int i = 0; i < 1500 && !found; ++i) {
    found = FindWindowW(className, nullptr);
    if (found && !IsWindowVisible(found)) found = nullptr;
    if (!found) Sleep(20);
  }
  return found;
}

class FormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitCommonControlsForProgram(); }
  DWORD thread_ = GetCurrentThreadId();
};

// Every wrapper raises its event once per real change, from code as from the user, and a setter
// given the present value raises nothing.
TEST_F(FormTest, ChangeEventsComeOncePerRealChange) {
  SampleForm form;
  std::vector<std::string> seen;
  form.whenCreated = [&] {
    form.events.clear();
    form.chkFlag.SetChecked(true);
    form.chkFlag.SetChecked(true);
    form.optB.SetChecked(true);
    form.optA.SetChecked(true);  // unchecks B without an event of B's
    form.edtName.SetText("abc");
    form.edtName.SetText("abc");
    form.edtName.SetText(Utf8ToCp932("日本語ですよ"));  // 12 bytes, cut to 8
    // Characters cp932 holds twice (NEC's rows and IBM's or JIS's): set once, kept as set.
    form.edtName.SetText("\xED\x40\x87\x90");
    form.cmbList.SetItemIndex(2);
    form.cmbList.SetItemIndex(2);
    form.cmbFree.SetText("dd");
    form.cmbFree.SetItemIndex(1);
    form.PageControl1.SetActiveIndex(1);
    form.PageControl1.SetActiveIndex(1);
    SYSTEMTIME day{};
    day.wYear = 2024;
    day.wMonth = 2;
    day.wDay = 29;
    form.dtpDate.SetValue(day);
    form.dtpDate.SetValue(day);
    seen = form.events;
    form.events.clear();

    // The user's own changes: a click on the check box, typing, a choice in the list.
    SendMessageW(form.chkFlag.Handle(), BM_CLICK, 0, 0);
    SendMessageW(form.optB.Handle(), BM_CLICK, 0, 0);
    SendMessageW(form.edtName.Handle(), EM_SETSEL, 0, -1);
    SendMessageW(form.edtName.Handle(), WM_CHAR, L'x', 0);
    SendMessageW(form.cmbList.Handle(), CB_SETCURSEL, 0, 0);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(form.cmbList.Id(), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.cmbList.Handle()));
    form.SetModalResult(2);
  };
  EXPECT_EQ(form.ShowModal(nullptr), 2);
  const std::vector<std::string> expected{"check 1",
                                          "B",
                                          "A",
                                          "edit abc",
                                          "edit " + Utf8ToCp932("日本語で"),
                                          "edit \xED\x40\x87\x90",
                                          "list 2",
                                          "free dd",
                                          "free hh:nn",
                                          "tab 1",
                                          "date 29"};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(form.events, (std::vector<std::string>{"check 0", "B", "edit x", "list 0"}));
  EXPECT_FALSE(form.optA.Checked());
  EXPECT_TRUE(form.optB.Checked());
  EXPECT_EQ(form.Handle(), nullptr);  // released on close
}

// Keyboard input into the open form: Tab goes through the table in order (into the tab page and
// out again), a label's mnemonic focuses the control after it, a button's mnemonic presses it,
// Esc presses the cancel button and Enter the default one.
TEST_F(FormTest, KeyboardMovesInTableOrderAndEndsWithDefaultAndCancel) {
  std::vector<std::wstring> order;
  std::wstring afterMnemonic;
  std::atomic<bool> ok{false};
  SampleForm form;
  std::thread user([&] {
    const HWND w = FindOwnWindow(L"MirovaneForm");
    if (!w) return;
    SetForegroundWindow(w);
    WaitFor([&] { return FocusOf(thread_) != nullptr; });
    for (int i = 0; i < 11; ++i) {
      const HWND before = FocusOf(thread_);
      // Buttons by their captions (the pickers' texts are today's date and time).
      order.push_back(ClassName(before) +
                      (ClassName(before) == L"Button" ? L":" + WindowText(before) : L""));
      testing::PressKeys({VK_TAB});
      WaitFor([&] { return FocusOf(thread_) != before; });
    }
    testing::PressKeys({VK_MENU, 'N'});
    WaitFor([&] { return FocusOf(thread_) == form.edtName.Handle(); });
    afterMnemonic = ClassName(FocusOf(thread_));
    testing::PressKeys({VK_MENU, 'K'});  // ticks the check box
    WaitFor([&] { return form.chkFlag.Checked(); });
    ok = true;
    testing::PressKeys({VK_ESCAPE});
  });
  const int result = form.ShowModal(nullptr);
  user.join();
  ASSERT_TRUE(ok);
  EXPECT_EQ(result, 2);
  EXPECT_TRUE(form.chkFlag.Checked());
  EXPECT_EQ(afterMnemonic, L"Edit");
  const std::vector<std::wstring> expected{
      L"Edit",
      L"Button:" + Utf8ToWide("確認する(&K)"),
      L"Button:" + Utf8ToWide("甲(&A)"),
      L"ComboBox",
      L"Edit",                                // the edit part of the editable combo box
      L"Button:" + Utf8ToWide("頁の箱(&P)"),  // the page's controls come before the tab strip
      L"SysTabControl32",
      L"SysDateTimePick32",
      L"SysDateTimePick32",
      L"SysListView32",
      L"Edit"};
  EXPECT_EQ(order, expected);

  // Enter anywhere presses the default button.
  SampleForm again;
  std::thread user2([&] {
    const HWND w = FindOwnWindow(L"MirovaneForm");
    if (!w) return;
    SetForegroundWindow(w);
    WaitFor([&] { return FocusOf(thread_) != nullptr; });
    testing::PressKeys({VK_RETURN});
  });
  EXPECT_EQ(again.ShowModal(nullptr), 1);
  user2.join();
}

// The check list: a click in an entry's check box or Space flips that tick; a list of 10,000
// entries is set at once.
TEST_F(FormTest, CheckListFlipsTicksByClickAndSpace) {
  SampleForm form;
  std::vector<int> flipped;
  form.whenCreated = [&] {
    std::vector<ui::CheckList::Item> items;
    for (int i = 0; i < 10000; ++i) items.push_back({"entry " + std::to_string(i), i % 2 == 0});
    form.lstItems.SetItems(std::move(items));
    form.lstItems.onCheckClick = [&](int index) { flipped.push_back(index); };
  };
  std::thread user([&] {
    const HWND w = FindOwnWindow(L"MirovaneForm");
    if (!w) return;
    SetForegroundWindow(w);
    // Clicked once the form is in front and has settled (its focus placed).
    WaitFor([&] { return GetForegroundWindow() == w && FocusOf(thread_) != nullptr; });
    const HWND list = form.lstItems.Handle();
    // The check box of entry 1 lies left of its label.
    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&label));
    const LONG labelLeft = label.left;
    RECT icon{};
    icon.left = LVIR_ICON;
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&icon));
    POINT at{(icon.left + icon.right) / 2 - 1, (label.top + label.bottom) / 2};
    if (icon.right <= icon.left) at.x = labelLeft - 8;
    ClientToScreen(list, &at);
    Sleep(GetDoubleClickTime() + 50);  // no earlier click makes this one the second of a pair
    testing::ClickAt(at);
    WaitFor([&] { return form.lstItems.At(1).checked; });
    // Space on the selected entry (a click on a check box need not move the focus, so the key
    // goes to the list directly).
    form.lstItems.Select(4);
    PostMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(list, WM_KEYUP, VK_SPACE, 0);
    WaitFor([&] { return !form.lstItems.At(4).checked; });
    PostMessageW(w, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(form.ShowModal(nullptr), 2);  // the close box gives the form's close result
  user.join();
  EXPECT_TRUE(form.lstItems.At(1).checked);
  EXPECT_FALSE(form.lstItems.At(4).checked);
  EXPECT_EQ(flipped, (std::vector<int>{1, 4}));
}

// A spin edit in a form's table: every click on its real arrows steps once, also at the limit and
// when reversing; the Up key steps and still reaches the form's key handler.
TEST_F(FormTest, SpinEditOnAFormStepsOncePerArrowClick) {
  SampleForm form;
  std::vector<int> values;
  std::vector<WPARAM> formKeys;
  std::size_t atLimit = 0;
  form.whenCreated = [&] {
    form.spnMonthX.onChange = [&] { values.push_back(form.spnMonthX.Value()); };
    form.onKeyDown = [&](WPARAM key) {
      formKeys.push_back(key);
      return false;
    };
  };
  std::thread user([&] {
    const HWND w = FindOwnWindow(L"MirovaneForm");
    if (!w) return;
    SetForegroundWindow(w);
    WaitFor([&] { return GetForegroundWindow() == w && FocusOf(thread_) != nullptr; });
    RECT arrows{};
    GetWindowRect(form.spnMonthX.Button().Handle(), &arrows);
    const POINT up{(arrows.left + arrows.right) / 2, arrows.top + (arrows.bottom - arrows.top) / 4};
    const POINT down{up.x, arrows.bottom - (arrows.bottom - arrows.top) / 4};
    // Each click once the previous one is read and the arrows have let the mouse go, and apart
    // from it by more than the double-click time (quick pairs are the spin edit's own tests).
    const auto click = [&](POINT at, std::size_t expected) {
      Sleep(GetDoubleClickTime() + 50);
      testing::ClickAt(at);
      WaitFor([&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(thread_, &info);
        return values.size() >= expected && info.hwndCapture == nullptr;
      });
    };
    click(up, 1);    // 2
    click(up, 2);    // 3
    click(down, 3);  // 2
    click(down, 4);  // 1
    click(down, 4);  // at the lower limit: stays 1, no change to report
    const std::size_t seen = values.size();
    click(up, 5);  // 2
    atLimit = seen;
    WaitFor([&] { return FocusOf(thread_) == form.spnMonthX.Handle(); });
    testing::PressKeys({VK_UP});
    WaitFor([&] { return values.size() >= 6 && !formKeys.empty(); });
    PostMessageW(w, WM_CLOSE, 0, 0);
  });
  form.ShowModal(nullptr);
  user.join();
  EXPECT_EQ(values, (std::vector<int>{2, 3, 2, 1, 2, 3}));
  EXPECT_EQ(atLimit, 4u);
  ASSERT_FALSE(formKeys.empty());
  EXPECT_EQ(formKeys.back(), static_cast<WPARAM>(VK_UP));
}

// A failure in the form's showing or in its key preview is reported and never leaves the owner
// disabled: a failed showing closes the form as its close box would, a failed key handler lets
// the form go on.
TEST_F(FormTest, AThrowingShowOrKeyHandlerLeavesTheOwnerEnabled) {
  const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                     nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(owner);
  std::vector<std::string> reported;
  ui::SetExceptionReporter([&](const char* what) { reported.emplace_back(what); });
  {
    SampleForm form;
    form.onShow = [] { throw std::runtime_error("show"); };
    EXPECT_EQ(form.ShowModal(owner), 2);
    EXPECT_TRUE(IsWindowEnabled(owner));
  }
  {
    SampleForm form;
    bool keySeen = false;
    form.onShow = [&] {
      EXPECT_FALSE(IsWindowEnabled(owner));
      PostMessageW(GetFocus(), WM_KEYDOWN, VK_F5, 0);
      PostMessageW(form.Handle(), WM_KEYDOWN, VK_F6, 0);
    };
    form.onKeyDown = [&](WPARAM key) -> bool {
      if (key == VK_F5) throw std::runtime_error("key");
      if (key == VK_F6) {
        keySeen = true;
        form.SetModalResult(1);
      }
      return true;
    };
    EXPECT_EQ(form.ShowModal(owner), 1);
    EXPECT_TRUE(keySeen);  // the loop went on after the failed key
    EXPECT_TRUE(IsWindowEnabled(owner));
  }
  ui::SetExceptionReporter(nullptr);
  EXPECT_EQ(reported, (std::vector<std::string>{"show", "key"}));
  DestroyWindow(owner);
}

// While a form is modal over the main window, the main window's display goes on refreshing and
// its reactions wait.
class FormOverMainWindow : public testing::MainWindowTest {};

TEST_F(FormOverMainWindow, MainWindowKeepsRefreshingWhileTheFormIsOpen) {
  TCalendarDialog& d = Shown();
  // The window's clock moves a second at every reading, so every refresh shows a new time.
  double clock = 46364.5;
  d.nowSource = [&] { return clock += 1.0 / 86400.0; };
  const HWND time = d.TimeLabel.Handle();
  const std::wstring before = WindowText(time);
  std::atomic<bool> refreshed{false};
  std::atomic<bool> disabled{false};
  SampleForm form;
  std::thread user([&] {
    if (!FindOwnWindow(L"MirovaneForm")) return;
    disabled = !IsWindowEnabled(d.Handle());
    // Timer3 ticks inside the form's loop; WM_GETTEXT is answered there too.
    refreshed = WaitFor([&] { return WindowText(time) != before; });
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
  });
  d.optionsDialog = [&] { return form.ShowModal(d.Handle()); };
  d.DoReaction(kReactionOptions);
  user.join();
  EXPECT_TRUE(disabled);
  EXPECT_TRUE(refreshed);
  EXPECT_TRUE(IsWindowEnabled(d.Handle()));
  EXPECT_FALSE(d.BusyFlag);
}

}  // namespace
}  // namespace mirovane
