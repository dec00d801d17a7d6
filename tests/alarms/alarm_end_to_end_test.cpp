// Alarms of the real program: Mirovane.exe started from a temporary folder beside its alarm list,
// its message windows read back from the running process, its "Exe" alarms run for real.
#include <gtest/gtest.h>

#include <windows.h>

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

}  // namespace
}  // namespace mirovane
