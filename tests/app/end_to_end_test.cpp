// Mirovane.exe started as a user would: from copies in temporary folders, read back from its
// running windows, with the single-instance guard per folder name and file name.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/calendar_dialog.h"
#include "app/program_runner.h"
#include "app/test_folder.h"
#include "app/win_test_support.h"
#include "format/formatter.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/regional.h"

namespace mirovane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::ClassName;
using testing::FindDescendantById;
using testing::Program;
using testing::TempFolder;
using testing::WindowText;

constexpr double kSecond = 1.0 / 86400.0;

// The texts the formatter gives for every quarter second from `from` to `to`.
std::set<std::wstring> TextsBetween(const std::string& format, double from, double to) {
  DateTimeFormatter formatter(SystemRegional());
  std::set<std::wstring> texts;
  for (double v = from; v <= to; v += kSecond / 4) {
    formatter.SetDateTimeEx(v);
    texts.insert(Cp932ToWide(formatter.FormatDateTimeEx(format)));
  }
  return texts;
}

// Checks the "already running" box of `program`, presses its OK button and expects the program
// to end.
void ExpectAlreadyRunningBox(const Program& program) {
  const HWND box = program.WaitForWindow(L"#32770", L"Mirovane");
  ASSERT_NE(box, nullptr) << "no message box";
  // The box exists before its buttons are laid out and shown.
  const auto end = std::chrono::steady_clock::now() + testing::kProgramTimeout;
  while (!IsWindowVisible(box) && std::chrono::steady_clock::now() < end) Sleep(50);
  ASSERT_TRUE(IsWindowVisible(box));
  EXPECT_EQ(program.FindWindowOf(kCalendarDialogClass, nullptr), nullptr);

  std::vector<std::wstring> texts;
  int buttons = 0;
  HWND okButton = nullptr;
  struct Collect {
    std::vector<std::wstring>* texts;
    int* buttons;
    HWND* ok;
  } collect{&texts, &buttons, &okButton};
  EnumChildWindows(
      box,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Collect*>(lp);
        const std::wstring cls = ClassName(hwnd);
        if (_wcsicmp(cls.c_str(), L"Static") == 0) c->texts->push_back(WindowText(hwnd));
        if (_wcsicmp(cls.c_str(), L"Button") == 0 && IsWindowVisible(hwnd)) {
          ++*c->buttons;
          if (GetDlgCtrlID(hwnd) == IDOK) *c->ok = hwnd;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&collect));
  EXPECT_NE(std::find(texts.begin(), texts.end(), Utf8ToWide("既に起動しています。")), texts.end());
  EXPECT_EQ(buttons, 1);  // OK alone
  ASSERT_NE(okButton, nullptr);

  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(okButton));
  EXPECT_TRUE(program.WaitForExit(15s));
}

TEST(EndToEnd, ShowsNowAndRunsOncePerFolderNameAndFileName) {
  TempFolder temp;
  const fs::path first = temp.CopyProgram(L"a\\Clock");
  const fs::path other = temp.CopyProgram(L"Other");
  const fs::path sameFolderName = temp.CopyProgram(L"b\\Clock");

  Program main(first);
  ASSERT_TRUE(main.Started());
  const HWND window = main.WaitForMainWindow();
  ASSERT_NE(window, nullptr) << "the main window did not appear";

  // Today's date and the current time, read from the running window.
  const double before = LocalNow();
  const std::wstring date = WindowText(FindDescendantById(window, kDateLabelId));
  const std::wstring time = WindowText(FindDescendantById(window, kTimeLabelId));
  const double after = LocalNow();
  EXPECT_TRUE(TextsBetween("yyyy/mm/dd'('aaa')'", before - 2 * kSecond, after).count(date)) << date;
  EXPECT_TRUE(TextsBetween("hh:nn:ss", before - 2 * kSecond, after).count(time)) << time;

  // Topmost, and no task-bar button: owned by a hidden tool window.
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION);
  const HWND owner = GetWindow(window, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(owner, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
  EXPECT_FALSE(IsWindowVisible(owner));

  {
    SCOPED_TRACE("second start of the same copy");
    Program second(first);
    ASSERT_TRUE(second.Started());
    ExpectAlreadyRunningBox(second);
  }
  {
    SCOPED_TRACE("a copy in another folder with the same folder name");
    Program twin(sameFolderName);
    ASSERT_TRUE(twin.Started());
    ExpectAlreadyRunningBox(twin);
  }
  EXPECT_TRUE(main.Running());
  EXPECT_TRUE(IsWindow(window));

  {
    SCOPED_TRACE("a copy in a folder with another name");
    Program beside(other);
    ASSERT_TRUE(beside.Started());
    const HWND otherWindow = beside.WaitForMainWindow();
    EXPECT_NE(otherWindow, nullptr);
    EXPECT_TRUE(IsWindow(window));
    PostMessageW(otherWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(beside.WaitForExit(15s));
  }

  // Closing the main window ends the program.
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(main.WaitForExit(15s));
}

TEST(EndToEnd, ReadsTheSettingsFileBesideTheExecutableAndLeavesItAlone) {
  TempFolder temp;
  const fs::path exe = temp.CopyProgram(L"Settings");
  const fs::path ini = fs::path(exe).replace_extension(L".ini");
  const std::string settings = Utf8ToCp932(
      "[MainForm]\r\nAlignRight=0\r\nLeftPosition=40\r\nTopPosition=30\r\n"
      "[Calendar]\r\nShowMonthCount=$21\r\n"
      "[DateTime]\r\nDateFormat=\"'ミロ' yyyy\"\r\n"
      "[Other]\r\n; kept\r\n");
  {
    std::ofstream out(ini, std::ios::binary);
    out << settings;
  }

  Program program(exe);
  ASSERT_TRUE(program.Started());
  const HWND window = program.WaitForMainWindow();
  ASSERT_NE(window, nullptr) << "the main window did not appear";
  RECT r{};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 30);
  const std::wstring date = WindowText(FindDescendantById(window, kDateLabelId));
  EXPECT_EQ(date.substr(0, 3), Utf8ToWide("ミロ ")) << WideToUtf8(date);
  const HWND calendar = FindDescendantById(window, kMainCalendarId);
  EXPECT_TRUE(IsWindowVisible(calendar));
  EXPECT_EQ(SendMessageW(calendar, MCM_GETMONTHDELTA, 0, 0), 2);  // 2 x 1 months

  // Nothing is written at exit.
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(15s));
  EXPECT_EQ(testing::ReadBytes(ini), settings);
}

}  // namespace
}  // namespace mirovane
