// The package as a user gets it: Mirovane-<version>.zip unpacked by the package_unpack step of
// the build's tests into a fresh folder whose name has Japanese characters and a blank (handed
// over in MIROVANE_PACKAGE_FOLDER); the programs are started there.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "alarms/message_window_win.h"
#include "app/calendar_dialog.h"
#include "app/program_runner.h"
#include "app/test_folder.h"
#include "app/win_test_support.h"
#include "platform/codec.h"

namespace mirovane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::ClassName;
using testing::Program;
using testing::WindowText;

// The unpacked package's folder; the variable holds the Unix path, which Wine shows on Z:.
fs::path PackageFolder() {
  // Read as UTF-16: the ANSI environment would lose the characters outside code page 932.
  wchar_t buffer[MAX_PATH * 4];
  const DWORD n = GetEnvironmentVariableW(L"MIROVANE_PACKAGE_FOLDER", buffer, MAX_PATH * 4);
  if (n == 0 || n >= MAX_PATH * 4) return {};
  std::wstring path = L"Z:" + std::wstring(buffer, n);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return fs::path(path);
}

class Package : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = PackageFolder();
    if (folder_.empty()) GTEST_SKIP() << "run by ctest as win_tests_package after package_unpack";
    ASSERT_TRUE(fs::is_directory(folder_)) << WideToUtf8(folder_.wstring());
    // A folder name a user might choose: Japanese characters and a blank.
    const std::wstring name = folder_.filename().wstring();
    EXPECT_NE(name.find(L' '), std::wstring::npos);
    EXPECT_NE(std::find_if(name.begin(), name.end(), [](wchar_t c) { return c > 0x3000; }),
              name.end());
  }

  fs::path folder_;
};

// Runs `exe` with `arguments` in its folder and returns what it wrote to its standard output
// (empty if it did not end within 30 s).
std::string OutputOf(const fs::path& exe, const std::wstring& arguments) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {};
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + arguments;
  PROCESS_INFORMATION pi{};
  const bool started =
      CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                     nullptr, exe.parent_path().c_str(), &si, &pi) != FALSE;
  CloseHandle(writeEnd);
  std::string output;
  if (started) {
    char buffer[256];
    DWORD n = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) output.append(buffer, n);
    if (WaitForSingleObject(pi.hProcess, 30'000) != WAIT_OBJECT_0) output.clear();
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(readEnd);
  return output;
}

// A string of the version resource of `exe` ("ProductVersion", ...), in its first language.
std::wstring VersionString(const fs::path& exe, const wchar_t* name) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<char> data(size);
  if (!GetFileVersionInfoW(exe.c_str(), 0, size, data.data())) return {};
  struct Translation {
    WORD language;
    WORD codePage;
  }* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof(Translation)) {
    return {};
  }
  wchar_t block[64];
  std::swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
                translation->codePage, name);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(data.data(), block, reinterpret_cast<void**>(&value), &length)) return {};
  return std::wstring(value, length > 0 ? length - 1 : 0);
}

// The fixed version numbers of `exe`'s version resource, "major.minor.patch.build".
std::string FixedVersion(const fs::path& exe) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<char> data(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoW(exe.c_str(), 0, size, data.data()) ||
      !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) {
    return {};
  }
  return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
         std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
         std::to_string(LOWORD(fixed->dwFileVersionLS));
}

// A visible top-level window of the text viewer the shell opened a file in: class "Notepad",
// the file's name in its title.
HWND FindViewerOf(const std::wstring& fileName) {
  struct Search {
    const std::wstring* fileName;
    HWND found;
  } search{&fileName, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (ClassName(hwnd) != L"Notepad" || !IsWindowVisible(hwnd)) return TRUE;
        if (WindowText(hwnd).find(*s->fileName) == std::wstring::npos) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Every visible top-level window as "class 'title'", for a failure message.
std::wstring TopLevelWindows() {
  std::wstring list;
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        if (IsWindowVisible(hwnd)) {
          *reinterpret_cast<std::wstring*>(lp) +=
              ClassName(hwnd) + L" '" + WindowText(hwnd) + L"'; ";
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&list));
  return list;
}

// Gives ".txt" the file type Windows gives it, "txtfile" (opened by Notepad), while it lives, if it
// has none: a Wine prefix has the txtfile type but leaves ".txt" to its desktop integration,
// which the test prefixes turn off, so the shell would find no program for the Readme.
class TextFileType {
 public:
  TextFileType() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L".txt", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &key, &disposition) != ERROR_SUCCESS) {
      return;
    }
    wchar_t type[64] = {};
    DWORD size = sizeof type - sizeof(wchar_t);
    if (RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(type), &size) !=
            ERROR_SUCCESS ||
        type[0] == L'\0') {
      static const wchar_t kType[] = L"txtfile";
      added_ = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kType),
                              sizeof kType) == ERROR_SUCCESS;
      created_ = disposition == REG_CREATED_NEW_KEY;
    }
    RegCloseKey(key);
  }
  ~TextFileType() {
    if (created_) {
      RegDeleteKeyW(HKEY_CLASSES_ROOT, L".txt");
    } else if (added_) {
      RegDeleteKeyValueW(HKEY_CLASSES_ROOT, L".txt", nullptr);
    }
  }
  TextFileType(const TextFileType&) = delete;
  TextFileType& operator=(const TextFileType&) = delete;

 private:
  bool added_ = false;
  bool created_ = false;
};

// The whole text of a window of another process.
std::wstring LongText(HWND hwnd) {
  const auto length = static_cast<std::size_t>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  const auto n = static_cast<std::size_t>(
      SendMessageW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
  text.resize(n);
  return text;
}

// Both programs carry the project's version: the version resource of Mirovane.exe and
// mirovane-cli --version, started from the unpacked folder.
TEST_F(Package, ProgramsCarryTheProjectVersion) {
  const fs::path program = folder_ / L"Mirovane.exe";
  EXPECT_EQ(FixedVersion(program), MIROVANE_VERSION ".0");
  EXPECT_EQ(WideToUtf8(VersionString(program, L"ProductVersion")), MIROVANE_VERSION);
  EXPECT_EQ(WideToUtf8(VersionString(program, L"FileVersion")), MIROVANE_VERSION);
  EXPECT_EQ(OutputOf(folder_ / L"mirovane-cli.exe", L"--version"),
            "mirovane-cli " MIROVANE_VERSION "\n");
}

// The program starts in the unpacked folder and shows its window; its popup menu's help submenu
// offers "Readmeを読む(&R)", which opens the package's Readme.txt in the text viewer.
TEST_F(Package, ProgramStartsAndOpensItsReadmeFromThePopupMenu) {
  const fs::path readme = folder_ / L"Readme.txt";
  ASSERT_TRUE(fs::is_regular_file(readme));
  ASSERT_EQ(FindViewerOf(L"Readme.txt"), nullptr) << "a viewer is open already";
  const TextFileType textFiles;

  Program program(folder_ / L"Mirovane.exe");
  ASSERT_TRUE(program.Started());
  const HWND mainWindow = program.WaitForMainWindow();
  ASSERT_NE(mainWindow, nullptr) << "the main window did not appear";
  EXPECT_TRUE(IsWindowVisible(mainWindow));

  // Right click, then ヘルプ(&H) and Readmeを読む(&R) by their keys: with no Readme item, R would
  // choose nothing.
  SetForegroundWindow(mainWindow);
  testing::RightClickAt(testing::CentreOf(testing::FindDescendantById(mainWindow, kTimeLabelId)));
  ASSERT_TRUE(testing::WaitFor([] { return FindWindowW(L"#32768", nullptr) != nullptr; }))
      << "no popup menu";
  testing::PressKeys({'H'});
  // The submenu is a second menu window.
  ASSERT_TRUE(testing::WaitFor([] {
    int menus = 0;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w;
         w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
      if (IsWindowVisible(w)) ++menus;
    }
    return menus == 2;
  })) << "the help submenu did not open";
  testing::PressKeys({'R'});

  HWND viewer = nullptr;
  ASSERT_TRUE(testing::WaitFor([&] { return (viewer = FindViewerOf(L"Readme.txt")) != nullptr; }))
      << "the Readme was not opened; windows: " << WideToUtf8(TopLevelWindows());
  // The viewer shows the manual, read as code page 932.
  const HWND edit = FindWindowExW(viewer, nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  const std::wstring expected = Cp932ToWide(testing::ReadBytes(readme));
  std::wstring shown;
  testing::WaitFor([&] { return (shown = LongText(edit)) == expected; });
  EXPECT_EQ(shown.size(), expected.size());
  EXPECT_TRUE(shown == expected) << "the viewer shows another text";

  // The program reported nothing and runs on.
  EXPECT_EQ(program.FindWindowOf(kMessageWindowClass, nullptr), nullptr);
  EXPECT_EQ(program.FindWindowOf(L"#32770", nullptr), nullptr);
  EXPECT_TRUE(program.Running());
  EXPECT_TRUE(IsWindowVisible(mainWindow));

  PostMessageW(viewer, WM_CLOSE, 0, 0);
  EXPECT_TRUE(testing::WaitFor([&] { return !IsWindow(viewer); }));
}

}  // namespace
}  // namespace mirovane
