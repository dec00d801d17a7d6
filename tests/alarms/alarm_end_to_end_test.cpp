// Alarms of the real program: Mirovane.exe started from a temporary folder beside its alarm list,
// its message windows read back from the running process, its "Exe" alarms run for real.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "alarms/message_window_win.h"
#include "app/app_paths.h"
#include "app/program_runner.h"
#include "app/test_folder.h"  // ReadBytes
#include "app/win_test_support.h"
#include "file_links.h"
#include "platform/codec.h"

namespace mirovane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::ClassName;
using testing::Program;
using testing::TempFolder;
using testing::WindowText;

std::wstring W(std::string_view utf8) { return Utf8ToWide(utf8); }

// Writes the alarm list the program at `exe` reads: cp932, CR LF after every line.
void WriteAlarmList(const fs::path& exe, const std::vector<std::string>& cp932Lines) {
  std::string text;
  for (const std::string& line : cp932Lines) text += line + "\r\n";
  std::ofstream(AlarmListPathFor(exe), std::ios::binary) << text;
}

// ---- Reading a message window of another process ------------------------------------------------

std::vector<std::wstring> SplitLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(L"\r\n", start);
    lines.push_back(text.substr(start, at == std::wstring::npos ? std::wstring::npos : at - start));
    if (at == std::wstring::npos) return lines;
    start = at + 2;
  }
}

// The visible buttons of `window`, left to right.
std::vector<HWND> Buttons(HWND window) {
  std::vector<HWND> buttons;
  EnumChildWindows(
      window,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        if (_wcsicmp(ClassName(hwnd).c_str(), L"Button") == 0 && IsWindowVisible(hwnd)) {
          reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&buttons));
  std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
    RECT ra{}, rb{};
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return buttons;
}

std::vector<std::wstring> ButtonTexts(HWND window) {
  std::vector<std::wstring> texts;
  for (HWND b : Buttons(window)) texts.push_back(WindowText(b));
  return texts;
}

// 32-bit pixels of a `width` x `height` bitmap, top row first, alpha dropped.
using Pixels = std::vector<std::uint32_t>;

Pixels ReadPixels(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  Pixels pixels(static_cast<std::size_t>(width) * height);
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  for (auto& p : pixels) p &= 0x00FFFFFF;
  return pixels;
}

// The pixels of a `width` x `height` bitmap that `draw` paints on through a memory DC.
Pixels DrawnPixels(int width, int height, const std::function<void(HDC memory)>& draw) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  draw(memory);
  SelectObject(memory, old);  // GetDIBits wants the bitmap out of every DC
  Pixels pixels = ReadPixels(memory, bitmap, width, height);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// What the screen shows in `r`.
Pixels ScreenPixels(const RECT& r) {
  return DrawnPixels(r.right - r.left, r.bottom - r.top, [&](HDC memory) {
    HDC screen = GetDC(nullptr);
    BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}

// A system icon drawn at `width` x `height` on the dialog face colour, as an icon static shows it.
Pixels IconPixels(LPCWSTR icon, int width, int height) {
  return DrawnPixels(width, height, [&](HDC memory) {
    RECT all{0, 0, width, height};
    FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
    HICON image = static_cast<HICON>(LoadImageW(nullptr, icon, IMAGE_ICON, width, height, 0));
    if (image) {
      DrawIconEx(memory, 0, 0, image, width, height, 0, nullptr, DI_NORMAL);
      DestroyIcon(image);
    }
  });
}

// How many pixels differ by more than a rounding step in some colour channel.
int DifferingPixels(const Pixels& a, const Pixels& b) {
  if (a.size() != b.size()) return -1;
  int count = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (int shift : {0, 8, 16}) {
      const int ca = static_cast<int>((a[i] >> shift) & 0xFF);
      const int cb = static_cast<int>((b[i] >> shift) & 0xFF);
      if (std::abs(ca - cb) > 2) {
        ++count;
        break;
      }
    }
  }
  return count;
}

// Waits until the icon control of `box` shows one of the four system icons on screen and names
// it ("information", ...), or describes what it shows instead.
std::string IconOnScreen(HWND box) {
  const HWND icon = GetDlgItem(box, kMessageIconId);
  if (!icon) return "no icon control";
  if (!IsWindowVisible(icon)) return "icon control hidden";
  RECT r{};
  GetWindowRect(icon, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return "icon control without size";
  const struct {
    LPCWSTR id;
    const char* name;
  } kIcons[] = {{IDI_INFORMATION, "information"},
                {IDI_WARNING, "warning"},
                {IDI_ERROR, "error"},
                {IDI_QUESTION, "question"}};
  std::string seen;
  const auto end = std::chrono::steady_clock::now() + 5s;
  do {
    // Painted some time after it is shown.
    Sleep(100);
    const Pixels screen = ScreenPixels(r);
    seen.clear();
    for (const auto& known : kIcons) {
      const int differing = DifferingPixels(screen, IconPixels(known.id, width, height));
      if (differing == 0) return known.name;
      seen += std::string(seen.empty() ? "" : ", ") + known.name + " differs in " +
              std::to_string(differing);
    }
  } while (std::chrono::steady_clock::now() < end);
  return seen + " of " + std::to_string(width * height) + " pixels";
}

// Waits for the message window of `program`, checks what every message window has and returns it.
HWND WaitForMessageWindow(const Program& program, HWND mainWindow) {
  const HWND box = program.WaitForVisibleWindow(kMessageWindowClass, nullptr);
  if (!box) return nullptr;
  EXPECT_TRUE(GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(box, GW_OWNER), mainWindow);
  EXPECT_FALSE(IsWindowEnabled(mainWindow)) << "the main window waits while the message shows";
  return box;
}

// Presses "OK" of `box` and waits until it is gone and the main window takes input again.
void PressOk(const Program& program, HWND box, HWND mainWindow) {
  const HWND ok = GetDlgItem(box, IDOK);
  ASSERT_NE(ok, nullptr);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
  const auto end = std::chrono::steady_clock::now() + 10s;
  while (IsWindow(box) && std::chrono::steady_clock::now() < end) Sleep(20);
  EXPECT_FALSE(IsWindow(box)) << "the message window stays after OK";
  EXPECT_TRUE(program.Running());
  EXPECT_TRUE(IsWindowEnabled(mainWindow));
}

// Whether a message window of `program` shows up within `time`.
bool MessageWindowWithin(const Program& program, std::chrono::milliseconds time) {
  return program.WaitForVisibleWindow(kMessageWindowClass, nullptr, time) != nullptr;
}

// Closes the main window as the user would and waits for the program to end.
void CloseProgram(const Program& program, HWND mainWindow) {
  PostMessageW(mainWindow, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(15s)) << "the program is still running";
}

// Processes whose executable file is named `name` (any folder).
int ProcessesNamed(const wchar_t* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, name) == 0) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

// ---- The tests ---------------------------------------------------------------------------------

// "Every minute, and at start-up": a due message shows as soon as the program runs.
TEST(AlarmEndToEnd, MessageDueAtStartupShowsAtOnceInATopmostBox) {
  TempFolder temp;
  const fs::path exe = temp.CopyProgram(L"Clock");
  WriteAlarmList(exe, {Utf8ToCp932("*xxxx/xx/xx 001分* Inf$テスト\\nです")});

  const auto start = std::chrono::steady_clock::now();
  Program program(exe);
  ASSERT_TRUE(program.Started());
  const HWND mainWindow = program.WaitForWindow(kCalendarDialogClass, nullptr);
  ASSERT_NE(mainWindow, nullptr) << "the main window did not appear";
  const HWND box = WaitForMessageWindow(program, mainWindow);
  ASSERT_NE(box, nullptr) << "no message window";
  // Within the start-up, not a minute later.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);

  EXPECT_EQ(WindowText(box), L"Mirovane");
  EXPECT_EQ(SplitLines(WindowText(GetDlgItem(box, kMessageTextId))),
            (std::vector<std::wstring>{W("テスト"), W("です")}));
  EXPECT_EQ(ButtonTexts(box), (std::vector<std::wstring>{L"OK", W("確認(&C)")}));
  EXPECT_EQ(IconOnScreen(box), "information");

  PressOk(program, box, mainWindow);
  // The alarm comes back a minute later, not at once.
  EXPECT_FALSE(MessageWindowWithin(program, 1500ms));
  CloseProgram(program, mainWindow);
}

// An "Exe" alarm whose file is missing says so; one naming a program runs it with the command
// line as one parameter. Both are due at start-up and fire one after the other, in list order.
TEST(AlarmEndToEnd, ExeAlarmsRunTheProgramOrSayItIsMissing) {
  TempFolder temp;
  const fs::path exe = temp.CopyProgram(L"Clock");
  // 表 ends in a backslash byte in cp932: the path must survive as a whole.
  const fs::path recorder = temp.CopyBuilt(W("予定表"), L"alarm_arg_recorder.exe");
  const fs::path recorded = recorder.parent_path() / L"args.txt";
  const std::string missing = WideToCp932((temp.Root() / W("無い.exe")).wstring());
  WriteAlarmList(exe, {
                          Utf8ToCp932("*xxxx/xx/xx 001分* Exe:") + missing + "::-x",
                          Utf8ToCp932("*xxxx/xx/xx 001分* Exe$") + WideToCp932(recorder.wstring()) +
                              Utf8ToCp932("::-n 会議 資料"),
                      });

  Program program(exe);
  ASSERT_TRUE(program.Started());
  const HWND mainWindow = program.WaitForWindow(kCalendarDialogClass, nullptr);
  ASSERT_NE(mainWindow, nullptr) << "the main window did not appear";

  {
    SCOPED_TRACE("the missing file");
    const HWND box = WaitForMessageWindow(program, mainWindow);
    ASSERT_NE(box, nullptr) << "no message window";
    EXPECT_EQ(WindowText(box), W("警告"));
    EXPECT_EQ(WindowText(GetDlgItem(box, kMessageTextId)),
              Cp932ToWide(missing) + W("が見付かりません。"));
    EXPECT_EQ(ButtonTexts(box), (std::vector<std::wstring>{L"OK"}));
    EXPECT_EQ(IconOnScreen(box), "warning");
    EXPECT_FALSE(fs::exists(recorded)) << "the next alarm waits for the message";
    PressOk(program, box, mainWindow);
  }
  {
    SCOPED_TRACE("the recorder program");
    const auto end = std::chrono::steady_clock::now() + 15s;
    while (!fs::exists(recorded) && std::chrono::steady_clock::now() < end) Sleep(50);
    ASSERT_TRUE(fs::exists(recorded)) << "the program of the alarm did not run";
    EXPECT_EQ(testing::ReadBytes(recorded), "-n 会議 資料\n");
    EXPECT_FALSE(MessageWindowWithin(program, 1000ms)) << "a program that ran needs no message";
  }

  CloseProgram(program, mainWindow);
  // The started program has ended by itself.
  const auto end = std::chrono::steady_clock::now() + 10s;
  while (ProcessesNamed(L"alarm_arg_recorder.exe") != 0 && std::chrono::steady_clock::now() < end) {
    Sleep(50);
  }
  EXPECT_EQ(ProcessesNamed(L"alarm_arg_recorder.exe"), 0);
}

// ---- The alarm list dialog of the running program
// -------------------------------------------------

// A list view of another process, read through a buffer in that process (its messages carry
// pointers into the process that owns the control).
class RemoteListView {
 public:
  explicit RemoteListView(HWND list) : list_(list) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) {
      remote_ = VirtualAllocEx(process_, nullptr, kBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
  }
  ~RemoteListView() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteListView(const RemoteListView&) = delete;
  RemoteListView& operator=(const RemoteListView&) = delete;

  bool Ready() const { return remote_ != nullptr; }
  int Count() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
  int Selected() const {
    return static_cast<int>(
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  bool Ticked(int index) const {
    const auto state = static_cast<UINT>(
        SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
  }
  // The entry as the file holds it: '*' when ticked, else a blank, then the text (cp932).
  std::string Line(int index) const {
    LVITEMW item{};
    item.iSubItem = 0;
    item.cchTextMax = kTextChars;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote_) + sizeof item);
    WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr);
    const auto n = static_cast<std::size_t>(SendMessageW(
        list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote_)));
    std::wstring text(n, L'\0');
    ReadProcessMemory(process_, item.pszText, text.data(), n * sizeof(wchar_t), nullptr);
    return (Ticked(index) ? "*" : " ") + WideToCp932(text);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int i = 0; i < Count(); ++i) lines.push_back(Line(i));
    return lines;
  }
  // Where entry `index` lies on the screen: `part` is LVIR_BOUNDS, LVIR_ICON or LVIR_LABEL.
  RECT ItemRect(int index, int part) const {
    RECT r{};
    r.left = part;
    WriteProcessMemory(process_, remote_, &r, sizeof r, nullptr);
    SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(remote_));
    ReadProcessMemory(process_, remote_, &r, sizeof r, nullptr);
    MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  // A point inside the check box of entry `index` (left of its label).
  POINT CheckBoxPoint(int index) const {
    const RECT label = ItemRect(index, LVIR_LABEL);
    const RECT bounds = ItemRect(index, LVIR_BOUNDS);
    const int boxRight = label.left - 4;
    return POINT{(bounds.left + boxRight) / 2, (label.top + label.bottom) / 2};
  }
  POINT TextPoint(int index) const {
    const RECT label = ItemRect(index, LVIR_LABEL);
    return POINT{label.left + 20, (label.top + label.bottom) / 2};
  }

 private:
  static constexpr int kTextChars = 1024;
  static constexpr SIZE_T kBytes = sizeof(LVITEMW) + kTextChars * sizeof(wchar_t);
  HWND list_;
  HANDLE process_ = nullptr;
  void* remote_ = nullptr;
};

// The alarm list dialog of `program` and the controls a user reaches in it.
struct ListDialog {
  HWND window = nullptr;
  HWND list = nullptr;
  // The dialog's buttons by caption.
  HWND Button(std::string_view utf8Caption) const {
    const std::wstring caption = W(utf8Caption);
    HWND found = nullptr;
    for (HWND b : Buttons(window)) {
      if (WindowText(b) == caption) found = b;
    }
    return found;
  }
  void Click(std::string_view utf8Caption) const {
    const HWND b = Button(utf8Caption);
    ASSERT_NE(b, nullptr) << utf8Caption;
    testing::ClickAt(testing::CentreOf(b));
  }
};

const wchar_t* const kFormClass = L"MirovaneForm";

// Opens the popup menu with a right click on the main window and chooses "アラーム設定(&A)" by
// its key; returns the list dialog once it shows with the keyboard in its list.
ListDialog OpenListFromMenu(const Program& program, HWND mainWindow) {
  ListDialog dialog;
  // A right click that the busy machine delivers slowly can end as a peek (the window hides while
  // the button is held) instead of the menu: then the window comes back and the user clicks again.
  for (int attempt = 0; attempt < 3 && !dialog.window; ++attempt) {
    testing::WaitFor([&] { return IsWindowVisible(mainWindow) != FALSE; });
    SetForegroundWindow(mainWindow);
    testing::RightClickAt(testing::CentreOf(testing::FindDescendantById(mainWindow, kTimeLabelId)));
    const auto menuShown = [] {
      const HWND menu = FindWindowW(L"#32768", nullptr);
      return menu && IsWindowVisible(menu);
    };
    for (int i = 0; i < 500 && !menuShown(); ++i) Sleep(20);
    if (!menuShown()) continue;
    testing::PressKeys({'A'});
    dialog.window = program.WaitForVisibleWindow(kFormClass, W("アラーム設定リスト").c_str(),
                                                 std::chrono::seconds(10));
    if (!dialog.window) testing::PressKeys({VK_ESCAPE});
  }
  if (!dialog.window) {
    ADD_FAILURE() << "the alarm list did not open";
    return dialog;
  }
  dialog.list = FindWindowExW(dialog.window, nullptr, WC_LISTVIEWW, nullptr);
  const DWORD thread = GetWindowThreadProcessId(dialog.window, nullptr);
  testing::WaitFor([&] { return testing::FocusOf(thread) == dialog.list; });
  return dialog;
}

// Waits for the editor over the list and returns it once its first control has the keyboard.
HWND WaitForEditor(const Program& program) {
  const HWND editor = program.WaitForVisibleWindow(kFormClass, W("アラーム設定登録").c_str());
  if (!editor) return nullptr;
  const DWORD thread = GetWindowThreadProcessId(editor, nullptr);
  testing::WaitFor([&] {
    const HWND focus = testing::FocusOf(thread);
    return focus && GetAncestor(focus, GA_ROOT) == editor;
  });
  return editor;
}

bool WaitGone(HWND window) {
  return testing::WaitFor([&] { return !IsWindow(window); });
}

std::string ListBytes(const std::vector<std::string>& cp932Lines) {
  std::string text;
  for (const std::string& line : cp932Lines) text += line + "\r\n";
  return text;
}

// The user manages the list from the popup menu with the mouse and the keyboard: every button,
// the check boxes, Space, the double-click, the editor; the save writes exactly the list's lines;
// the engine takes the saved list (the list opens on the new pending alarm); a cancelled dialog
// leaves the file as it was.
TEST(AlarmListEndToEnd, ManagesTheListFromThePopupMenu) {
  TempFolder temp;
  const fs::path exe = temp.CopyProgram(L"Clock");
  const std::string c2099 = Utf8ToCp932("2099/01/01 12:00  Msg:二〇九九年");
  const std::string c2098 = Utf8ToCp932("2098/06/15 08:00  Inf$会議\\n資料");
  const std::string yearly = Utf8ToCp932("xxxx/12/25 09:00  Msg:クリスマス");
  const std::string monthly = Utf8ToCp932("xxxx/xx/25 09:00  Msg:クリスマス");
  const std::string monday = Utf8ToCp932("[1]:月     07:30  War:週の始め");
  const std::string added = Utf8ToCp932("xxxx/xx/xx 015前  Msg:a\\n\\nb");
  WriteAlarmList(exe, {"*" + c2099, "*" + c2098, "*" + yearly, " " + monday});
  const fs::path listPath = AlarmListPathFor(exe);

  Program program(exe);
  ASSERT_TRUE(program.Started());
  const HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);

  ListDialog d = OpenListFromMenu(program, mainWindow);
  ASSERT_NE(d.list, nullptr);
  RemoteListView list(d.list);
  ASSERT_TRUE(list.Ready());
  EXPECT_EQ(list.Lines(),
            (std::vector<std::string>{"*" + c2099, "*" + c2098, "*" + yearly, " " + monday}));
  EXPECT_EQ(list.Selected(), 2) << "the pending alarm";

  {
    SCOPED_TRACE("追加: every day, every 15 minutes in the morning, a three-line message");
    d.Click("追加");
    const HWND editor = WaitForEditor(program);
    ASSERT_NE(editor, nullptr);
    testing::PressKeyTimes(VK_DOWN, 3);  // "毎日"
    testing::PressKeys({VK_TAB});        // the time type (the disabled picker is passed over)
    testing::PressKeyTimes(VK_DOWN, 2);  // "毎分"
    testing::PressKeys({VK_TAB});        // the minutes, 30
    testing::PressKeyTimes(VK_DOWN, 3);  // 15
    testing::PressKeys({VK_TAB});        // the band
    testing::PressKeys({VK_DOWN});       // "午前"
    testing::PressKeys({VK_TAB});        // "メッセージを表示する"
    testing::PressKeys({VK_TAB});        // the message
    for (WORD k : {WORD{'A'}, WORD{VK_RETURN}, WORD{VK_RETURN}, WORD{'B'}}) testing::PressKeys({k});
    testing::PressKeys({VK_MENU, 'S'});  // "登録(&S)"
    ASSERT_TRUE(WaitGone(editor));
    testing::WaitFor([&] { return list.Count() == 5; });
    EXPECT_EQ(list.Line(4), "*" + added);
    EXPECT_EQ(list.Selected(), 4);
  }
  {
    SCOPED_TRACE("Space pauses the selected entry");
    testing::PressKeys({VK_SPACE});
    EXPECT_TRUE(testing::WaitFor([&] { return !list.Ticked(4); }));
  }
  {
    SCOPED_TRACE("コピー and ↓ 下へ");
    testing::PressKeyTimes(VK_UP, 3);
    ASSERT_TRUE(testing::WaitFor([&] { return list.Selected() == 1; }));
    d.Click("コピー");
    ASSERT_TRUE(testing::WaitFor([&] { return list.Count() == 6; }));
    EXPECT_EQ(list.Selected(), 2) << "the source entry, one row lower";
    d.Click("↓ 下へ ");
    ASSERT_TRUE(testing::WaitFor([&] { return list.Selected() == 3; }));
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"*" + c2099, "*" + c2098, "*" + yearly,
                                                      "*" + c2098, " " + monday, " " + added}));
  }
  {
    SCOPED_TRACE("a click in a check box pauses; a double-click changes and resumes");
    Sleep(GetDoubleClickTime() + 50);
    testing::ClickAt(list.CheckBoxPoint(2));
    ASSERT_TRUE(testing::WaitFor([&] { return !list.Ticked(2); }));
    Sleep(GetDoubleClickTime() + 50);  // the next click starts a pair of its own
    testing::ClickAt(list.TextPoint(2), 2);
    const HWND editor = WaitForEditor(program);
    ASSERT_NE(editor, nullptr);
    testing::PressKeys({VK_DOWN});    // "毎年" becomes "毎月"
    testing::PressKeys({VK_RETURN});  // the default button "登録(&S)"
    ASSERT_TRUE(WaitGone(editor));
    testing::WaitFor([&] { return list.Line(2) == "*" + monthly; });
    EXPECT_EQ(list.Line(2), "*" + monthly);
  }
  {
    SCOPED_TRACE("削除 asks first");
    testing::PressKeys({VK_HOME});
    testing::PressKeys({VK_DOWN});
    ASSERT_TRUE(testing::WaitFor([&] { return list.Selected() == 1; }));
    d.Click("削除");
    const HWND box = program.WaitForVisibleWindow(L"#32770", L"Mirovane");
    ASSERT_NE(box, nullptr) << "no question";
    EXPECT_NE(
        FindWindowExW(box, nullptr, L"Static",
                      W("選択しているアラーム設定を削除します。\r\nよろしいですか？").c_str()),
        nullptr);
    testing::WaitFor([&] { return GetForegroundWindow() == box; });
    testing::PressKeys({VK_RETURN});  // OK
    ASSERT_TRUE(WaitGone(box));
    ASSERT_TRUE(testing::WaitFor([&] { return list.Count() == 5; }));
  }
  {
    SCOPED_TRACE("自動整列 and 設定保存(&S)");
    d.Click("自動整列");
    const std::vector<std::string> sorted{"*" + c2098, "*" + c2099, " " + monday, "*" + monthly,
                                          " " + added};
    ASSERT_TRUE(testing::WaitFor([&] { return list.Lines() == sorted; })) << "not sorted";
    d.Click("設定保存(&S)");
    ASSERT_TRUE(WaitGone(d.window));
    EXPECT_EQ(testing::ReadBytes(listPath), ListBytes(sorted));
  }
  {
    SCOPED_TRACE("the engine took the saved list: its pending alarm is now the monthly one");
    ListDialog again = OpenListFromMenu(program, mainWindow);
    ASSERT_NE(again.list, nullptr);
    RemoteListView reopened(again.list);
    EXPECT_EQ(reopened.Selected(), 3);
    const std::string saved = testing::ReadBytes(listPath);
    // Changes, then Esc: nothing is written.
    again.Click("一時停止 ／ 実行再開");
    ASSERT_TRUE(testing::WaitFor([&] { return !reopened.Ticked(3); }));
    testing::PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitGone(again.window));
    EXPECT_EQ(testing::ReadBytes(listPath), saved);
  }
  CloseProgram(program, mainWindow);
}

// "確認(&C)" of an alarm's message opens the list on that alarm's entry.
TEST(AlarmListEndToEnd, ConfirmButtonOpensTheListOnTheAlarm) {
  TempFolder temp;
  const fs::path exe = temp.CopyProgram(L"Clock");
  WriteAlarmList(exe, {Utf8ToCp932("*2099/01/01 12:00  Msg:先"),
                       Utf8ToCp932(" xxxx/xx/xx Start  Msg:止めてある"),
                       Utf8ToCp932("*xxxx/xx/xx Start  Msg:起動しました"),
                       Utf8ToCp932("*2098/01/01 12:00  Msg:後")});
  Program program(exe);
  ASSERT_TRUE(program.Started());
  const HWND mainWindow = program.WaitForWindow(kCalendarDialogClass, nullptr);
  ASSERT_NE(mainWindow, nullptr);
  const HWND box = WaitForMessageWindow(program, mainWindow);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(box, kMessageTextId)), W("起動しました"));
  const std::vector<HWND> buttons = Buttons(box);
  ASSERT_EQ(buttons.size(), 2u);
  testing::ClickAt(testing::CentreOf(buttons[1]));  // "確認(&C)"
  const HWND window = program.WaitForVisibleWindow(kFormClass, W("アラーム設定リスト").c_str());
  ASSERT_NE(window, nullptr);
  RemoteListView list(FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr));
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Selected(), 2);
  SetForegroundWindow(window);
  testing::PressKeys({VK_ESCAPE});
  EXPECT_TRUE(WaitGone(window));
  CloseProgram(program, mainWindow);
}

// A list of 10,000 lines of every shape (active and paused, empty, long, double-byte text)
// opens whole and is saved byte for byte as it was.
TEST(AlarmListEndToEnd, TenThousandLinesRoundTripUnchanged) {
  TempFolder temp;
  const fs::path exe = temp.CopyProgram(L"Clock");
  std::vector<std::string> lines;
  for (int i = 0; i < 10000; ++i) {
    switch (i % 5) {
      case 0:
        lines.push_back(Utf8ToCp932("*2099/01/01 12:00  Msg:行") + std::to_string(i));
        break;
      case 1:
        lines.push_back(" xxxx/xx/xx 001" + Utf8ToCp932("分") + "* Msg:" + std::to_string(i));
        break;
      case 2:
        lines.push_back(i == 2 ? std::string(" ") : " " + std::string(300, 'x'));
        break;
      case 3:
        lines.push_back(Utf8ToCp932(" 表示は二バイト目が\\の字"));  // 表 and 示 end in 0x5C
        break;
      default:
        lines.push_back(Utf8ToCp932("*[8]:週末   12:00  Exe:C:\\予定表\\a.exe::-x"));
        break;
    }
  }
  WriteAlarmList(exe, lines);
  const fs::path listPath = AlarmListPathFor(exe);
  const std::string before = testing::ReadBytes(listPath);

  Program program(exe);
  ASSERT_TRUE(program.Started());
  const HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  ListDialog d = OpenListFromMenu(program, mainWindow);
  ASSERT_NE(d.list, nullptr);
  RemoteListView list(d.list);
  EXPECT_EQ(list.Count(), 10000);
  EXPECT_EQ(list.Line(9999), lines[9999]);
  testing::PressKeys({VK_END});  // to the last entry and back
  testing::PressKeys({VK_HOME});
  testing::PressKeys({VK_MENU, 'S'});
  ASSERT_TRUE(WaitGone(d.window));
  EXPECT_EQ(testing::ReadBytes(listPath), before);
  CloseProgram(program, mainWindow);
}

// Without a mouse: while the list has the keyboard, Insert, F2, Delete, Ctrl+C and Ctrl+↑ / ↓
// do what 追加, 変更, 削除, コピー and 上へ / 下へ do; the saved file shows each of them.
TEST(AlarmListEndToEnd, KeysRunTheButtonsOfTheList) {
  TempFolder temp;
  const fs::path exe = temp.CopyProgram(L"Clock");
  const std::string a = "2099/01/01 12:00  Msg:a", b = "2099/01/02 12:00  Msg:b",
                    c = "2099/01/03 12:00  Msg:c";
  WriteAlarmList(exe, {"*" + a, "*" + b, "*" + c});
  const fs::path listPath = AlarmListPathFor(exe);

  Program program(exe);
  ASSERT_TRUE(program.Started());
  const HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  ListDialog d = OpenListFromMenu(program, mainWindow);
  ASSERT_NE(d.list, nullptr);
  RemoteListView list(d.list);
  ASSERT_EQ(list.Selected(), 0);  // the pending alarm
  const auto expectLines = [&](const std::vector<std::string>& lines, const char* step) {
    EXPECT_TRUE(testing::WaitFor([&] { return list.Lines() == lines; })) << step;
  };

  testing::PressKeys({VK_SPACE});  // a paused, so that its copy can be told from b and c
  testing::PressKeys({VK_CONTROL, 'C'});
  expectLines({" " + a, " " + a, "*" + b, "*" + c}, "Ctrl+C");
  testing::PressKeys({VK_CONTROL, VK_DOWN});
  testing::PressKeys({VK_CONTROL, VK_DOWN});
  expectLines({" " + a, "*" + b, "*" + c, " " + a}, "Ctrl+Down twice");
  testing::PressKeys({VK_CONTROL, VK_UP});
  expectLines({" " + a, "*" + b, " " + a, "*" + c}, "Ctrl+Up");
  EXPECT_EQ(list.Selected(), 2);

  testing::PressKeys({VK_DELETE});
  const HWND box = program.WaitForVisibleWindow(L"#32770", L"Mirovane");
  ASSERT_NE(box, nullptr) << "Delete asks first";
  testing::WaitFor([&] { return GetForegroundWindow() == box; });
  testing::PressKeys({VK_RETURN});
  ASSERT_TRUE(WaitGone(box));
  expectLines({" " + a, "*" + b, "*" + c}, "Delete");

  // F2 edits the selected entry (c, which took the deleted row): registered unchanged.
  testing::PressKeys({VK_F2});
  HWND editor = WaitForEditor(program);
  ASSERT_NE(editor, nullptr) << "F2 opened no editor";
  testing::PressKeys({VK_RETURN});
  ASSERT_TRUE(WaitGone(editor));
  // Insert opens the editor for a new entry; cancelled, nothing is added.
  testing::PressKeys({VK_INSERT});
  editor = WaitForEditor(program);
  ASSERT_NE(editor, nullptr) << "Insert opened no editor";
  testing::PressKeys({VK_ESCAPE});
  ASSERT_TRUE(WaitGone(editor));
  expectLines({" " + a, "*" + b, "*" + c}, "F2 and Insert");

  testing::PressKeys({VK_MENU, 'S'});
  ASSERT_TRUE(WaitGone(d.window));
  EXPECT_EQ(testing::ReadBytes(listPath), ListBytes({" " + a, "*" + b, "*" + c}));
  CloseProgram(program, mainWindow);
}

// ---- What a user must be able to trust ---------------------------------------------------------

// Mirovane.txt beside the program is a symbolic link to a list kept elsewhere: the save from the
// list dialog writes the linked file, and the link stays a link.
TEST(TrustEndToEnd, SaveThroughALinkKeepsTheLinkedFileAndItsNewContents) {
  TempFolder temp;
  const fs::path exe = temp.CopyProgram(L"Clock");
  fs::create_directories(temp / L"Elsewhere");
  const fs::path real = temp / L"Elsewhere" / L"alarms.txt";
  const std::vector<std::string> lines{"*2099/01/01 12:00  Msg:a", "*2099/01/02 12:00  Msg:b"};
  std::ofstream(real, std::ios::binary) << ListBytes(lines);
  const fs::path link = AlarmListPathFor(exe);
  if (!test::MakeSymbolicLink(real, link)) GTEST_SKIP() << "no symbolic links here";
  struct RemoveLink {
    const fs::path& link;
    ~RemoveLink() { test::RemoveSymbolicLink(link); }
  } removeLink{link};

  Program program(exe);
  ASSERT_TRUE(program.Started());
  const HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  ListDialog d = OpenListFromMenu(program, mainWindow);
  ASSERT_NE(d.list, nullptr);
  testing::PressKeys({VK_SPACE});  // pauses the first entry
  testing::PressKeys({VK_MENU, 'S'});
  ASSERT_TRUE(WaitGone(d.window));
  CloseProgram(program, mainWindow);

  EXPECT_TRUE(test::IsSymbolicLink(link)) << "the link became a plain file";
  EXPECT_EQ(testing::ReadBytes(real), ListBytes({" 2099/01/01 12:00  Msg:a", lines[1]}));
}

// A settings file another program holds open at the start: the user is told which file could
// not be read and why, and the file is byte for byte as it was once the program has run.
TEST(TrustEndToEnd, SettingsLockedAtTheStartAreReportedAndKeptByteForByte) {
  TempFolder temp;
  const fs::path exe = temp.CopyProgram(L"Clock");
  const fs::path ini = exe.parent_path() / L"Mirovane.ini";
  const std::string settings =
      Utf8ToCp932("[MainForm]\r\nTopPosition=40\r\nBorderWidth=3\r\n; 手書きのメモ\r\n");
  std::ofstream(ini, std::ios::binary) << settings;
  test::LockedFile lock(ini);
  ASSERT_TRUE(lock.Held());

  Program program(exe);
  ASSERT_TRUE(program.Started());
  const HWND box = program.WaitForVisibleWindow(L"#32770", L"Mirovane");
  ASSERT_NE(box, nullptr) << "no message about the settings file";
  std::wstring text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassName(child) == L"Static" && WindowText(child).size() > text.size()) {
      text = WindowText(child);
    }
  }
  EXPECT_EQ(text.rfind(ini.wstring() + W(" を読み込めません（"), 0), 0u)
      << Cp932ToUtf8(WideToCp932(text));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  const HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  lock.Release();
  CloseProgram(program, mainWindow);
  EXPECT_EQ(testing::ReadBytes(ini), settings);
}

// Folders named "%USERNAME%" (literally) and by the user's name, each with a program: a start-up
// alarm naming the first runs the first, never the one of the expanded name.
TEST(TrustEndToEnd, AnExePathHoldingUsernameNeverRunsTheExpandedName) {
  wchar_t user[256] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"USERNAME", user, 256), 0u);
  TempFolder temp;
  const fs::path exe = temp.CopyProgram(L"Clock");
  const fs::path literal = temp.CopyBuilt(L"%USERNAME%", L"alarm_arg_recorder.exe");
  const fs::path expanded = temp.CopyBuilt(user, L"alarm_arg_recorder.exe");
  WriteAlarmList(exe, {"*xxxx/xx/xx Start  Exe:" + WideToCp932(literal.wstring()) + "::hello"});

  Program program(exe);
  ASSERT_TRUE(program.Started());
  const HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr);
  const fs::path recorded = literal.parent_path() / L"args.txt";
  EXPECT_TRUE(testing::WaitFor([&] { return fs::exists(recorded); }, 15s))
      << "the program the alarm names did not run";
  EXPECT_EQ(testing::ReadBytes(recorded), "hello\n");
  EXPECT_FALSE(fs::exists(expanded.parent_path() / L"args.txt")) << "the expanded name ran";
  CloseProgram(program, mainWindow);
}

}  // namespace
}  // namespace mirovane
