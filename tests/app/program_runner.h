// Starts Mirovane.exe as a user would, from a copy in a temporary folder, and reads its running
// windows back: the helpers of the tests that drive the real program.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "app/calendar_dialog.h"
#include "app/test_folder.h"
#include "app/win_test_support.h"

namespace mirovane::testing {

inline constexpr std::chrono::milliseconds kProgramTimeout{30'000};

// The running test binary; Mirovane.exe and the helper programs are built beside it.
inline std::filesystem::path ThisExecutable() {
  wchar_t buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
  return std::filesystem::path(std::wstring(buffer, n));
}

// A temporary folder for programs and their files, removed with everything in it afterwards.
class TempFolder : public TestFolder {
 public:
  const std::filesystem::path& Root() const { return Path(); }

  // Copies the program `name` built beside the tests into root/relativeFolder and returns the
  // copy's path.
  std::filesystem::path CopyBuilt(const std::filesystem::path& relativeFolder,
                                  const wchar_t* name) const {
    const std::filesystem::path folder = Path() / relativeFolder;
    std::filesystem::create_directories(folder);
    const std::filesystem::path target = folder / name;
    std::filesystem::copy_file(ThisExecutable().parent_path() / name, target);
    return target;
  }
  // Copies Mirovane.exe into root/relativeFolder and returns the copy's path.
  std::filesystem::path CopyProgram(const std::filesystem::path& relativeFolder) const {
    return CopyBuilt(relativeFolder, L"Mirovane.exe");
  }
};

// One started program; closes its main window and waits for it when it goes out of scope.
class Program {
 public:
  explicit Program(const std::filesystem::path& exe) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    started_ = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              exe.parent_path().c_str(), &si, &pi_) != FALSE;
  }
  ~Program() {
    if (!started_) return;
    if (Running()) {
      if (HWND w = FindWindowOf(kCalendarDialogClass, nullptr)) PostMessageW(w, WM_CLOSE, 0, 0);
      // Our own child, ended by its handle.
      if (!WaitForExit(std::chrono::seconds(15))) TerminateProcess(pi_.hProcess, 1);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool Started() const { return started_; }
  DWORD ProcessId() const { return pi_.dwProcessId; }
  bool Running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }
  bool WaitForExit(std::chrono::milliseconds timeout) const {
    return WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
  }

  // A top-level window of this process with that class (and title, if given), or null.
  HWND FindWindowOf(const wchar_t* className, const wchar_t* title) const {
    struct Search {
      DWORD pid;
      const wchar_t* className;
      const wchar_t* title;
      HWND found;
    } search{pi_.dwProcessId, className, title, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          GetWindowThreadProcessId(hwnd, &pid);
          if (pid != s->pid || ClassName(hwnd) != s->className) return TRUE;
          if (s->title && WindowText(hwnd) != s->title) return TRUE;
          s->found = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // Waits for such a window; null when it did not come in time or the program ended.
  HWND WaitForWindow(const wchar_t* className, const wchar_t* title,
                     std::chrono::milliseconds timeout = kProgramTimeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      if (HWND w = FindWindowOf(className, title)) return w;
      if (!Running()) return nullptr;
      Sleep(50);
    }
    return nullptr;
  }

  // Waits for such a window to be shown.
  HWND WaitForVisibleWindow(const wchar_t* className, const wchar_t* title,
                            std::chrono::milliseconds timeout = kProgramTimeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      if (HWND w = FindWindowOf(className, title); w && IsWindowVisible(w)) return w;
      if (!Running()) return nullptr;
      Sleep(50);
    }
    return nullptr;
  }

  // The main window once its first showing has put the current texts in.
  HWND WaitForMainWindow() const {
    HWND w = WaitForWindow(kCalendarDialogClass, nullptr);
    if (!w) return nullptr;
    const auto end = std::chrono::steady_clock::now() + kProgramTimeout;
    while (std::chrono::steady_clock::now() < end) {
      if (IsWindowVisible(w) && WindowText(FindDescendantById(w, kTimeLabelId)) != L" ") return w;
      Sleep(50);
    }
    return nullptr;
  }

 private:
  PROCESS_INFORMATION pi_{};
  bool started_ = false;
};

}  // namespace mirovane::testing
