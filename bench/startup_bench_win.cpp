// Start-up and memory benchmark of the program (Windows build; runs under Wine).
//
//   cmake --build build/windows --target startup_bench mirovane_package
//   tools/wine-run build/windows/bin/startup_bench.exe [--runs=N] [--settle=SECONDS]
//                  [--program=Mirovane.exe] [--bare=startup_bare.exe]
//                  [--bare-parts=startup_bare_parts.exe] [--modules]
//
// Measured from outside, as a user sees it: the time from process creation to the first paint of
// the main window, and the working set after the window has been up for a while (--settle, 60 s
// by default). Four starts are compared: the bare two-label window of the refresh benchmark as a
// program of its own (startup_bare.exe, stripped); the same window with the system parts that the
// program shows by default (startup_bare_parts.exe: common controls 6, a month calendar, an
// activated window, a tray icon); and the packaged (stripped) Mirovane.exe in a folder of its own
// without and with a 10,000-line alarm list beside it. Each start copies its
// program into a fresh folder under the temporary folder; a warm-up start of each comes first
// (warm Wine, files in the cache), then --runs rounds (5 by default) in which the three alternate,
// so that a slow drift of the machine falls on all alike.
//
// "First paint": the window of the started process is visible, neither it nor any of its visible
// descendants has a pending update region, and (for Mirovane.exe) its time label shows a time;
// the benchmark polls for that every millisecond, which bounds its resolution. The working set
// is the process's WorkingSetSize (under Wine its resident memory, Wine's own share included);
// its peak is printed beside it.
//
// Lines follow Google Benchmark's console format (median over the rounds); the last lines are
// the ratios to the bare window (target: at most 1.3 for the start and for the working set), and
// to the bare window with the system parts, which is the program's own share.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "alarms/alarm_line.h"
#include "app/calendar_dialog.h"
#include "platform/codec.h"

namespace {

namespace fs = std::filesystem;
using namespace mirovane;

constexpr wchar_t kBareClass[] = L"MirovaneStartupBare";

struct Sample {
  double startSeconds = 0;
  double workingSet = 0;      // bytes
  double peakWorkingSet = 0;  // bytes
};

struct Subject {
  std::string name;
  fs::path exe;              // the copy started
  const wchar_t* className;  // its main window's class
  bool waitForTime;          // the main window's time label must show a time
  std::vector<Sample> samples{};
};

double Now() {
  LARGE_INTEGER t, f;
  QueryPerformanceCounter(&t);
  QueryPerformanceFrequency(&f);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

fs::path ThisExecutable() {
  wchar_t buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
  return fs::path(std::wstring(buffer, n));
}

// The top-level window of class `className` of process `pid`, or null.
HWND WindowOf(DWORD pid, const wchar_t* className) {
  struct Search {
    DWORD pid;
    const wchar_t* className;
    HWND found;
  } search{pid, className, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner != s->pid) return TRUE;
        wchar_t name[64];
        GetClassNameW(hwnd, name, 64);
        if (std::wcscmp(name, s->className) != 0) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Whether `hwnd` and its visible descendants have been painted: no update region pending.
bool Painted(HWND hwnd) {
  if (!IsWindowVisible(hwnd) || GetUpdateRect(hwnd, nullptr, FALSE)) return false;
  bool painted = true;
  EnumChildWindows(
      hwnd,
      [](HWND child, LPARAM lp) -> BOOL {
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
          *reinterpret_cast<bool*>(lp) = false;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&painted));
  return painted;
}

bool ShowsATime(HWND mainWindow) {
  HWND label = nullptr;
  EnumChildWindows(
      mainWindow,
      [](HWND child, LPARAM lp) -> BOOL {
        if (GetDlgCtrlID(child) != kTimeLabelId) return TRUE;
        *reinterpret_cast<HWND*>(lp) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&label));
  wchar_t text[64] = {};
  return label && GetWindowTextW(label, text, 64) > 0 && std::wcscmp(text, L" ") != 0;
}

// One start of `s`: the time to its first paint, then its memory after `settleMs`; the program is
// closed afterwards. False when it did not show its window within 60 s.
bool StartOnce(Subject& s, DWORD settleMs, bool keep, bool listModules = false) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring commandLine = L"\"" + s.exe.wstring() + L"\"";
  const double t0 = Now();
  if (!CreateProcessW(s.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      s.exe.parent_path().c_str(), &si, &pi)) {
    std::fprintf(stderr, "cannot start %ls\n", s.exe.c_str());
    return false;
  }
  HWND window = nullptr;
  double started = -1;
  while (Now() - t0 < 60) {
    if (!window) window = WindowOf(pi.dwProcessId, s.className);
    if (window && Painted(window) && (!s.waitForTime || ShowsATime(window))) {
      started = Now() - t0;
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  bool ok = started >= 0;
  if (ok) {
    Sleep(settleMs);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
      if (keep) {
        s.samples.push_back({started, static_cast<double>(memory.WorkingSetSize),
                             static_cast<double>(memory.PeakWorkingSetSize)});
      }
    } else {
      std::fprintf(stderr, "no memory counters for %s\n", s.name.c_str());
      ok = false;
    }
    if (listModules) {
      HMODULE modules[512];
      DWORD bytes = 0;
      if (EnumProcessModules(pi.hProcess, modules, sizeof modules, &bytes)) {
        std::printf("modules of %s:", s.name.c_str());
        for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
          wchar_t name[MAX_PATH] = {};
          GetModuleBaseNameW(pi.hProcess, modules[i], name, MAX_PATH);
          std::printf(" %ls", name);
        }
        std::printf("\n");
      }
    }
    if (WindowOf(pi.dwProcessId, L"MirovaneMessageWindow")) {
      std::fprintf(stderr, "%s showed a message window\n", s.name.c_str());
    }
  } else {
    std::fprintf(stderr, "%s did not show its window\n", s.name.c_str());
  }
  if (window && IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
  // Our own child, ended by its handle if it does not close.
  if (WaitForSingleObject(pi.hProcess, 15'000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return ok;
}

// 10,000 lines of the shapes of the alarm list benchmark; the active ones cannot fall due while
// the benchmark runs (a date in 2098 or 2099, or 29 February at 07:00), so no message window
// adds to a start or to the working set.
std::vector<std::string> AlarmLines(int count) {
  static const char* const kShapes[] = {
      "*2098/05/06 12:30  Inf$会議\\n資料",   "*xxxx/02/29*07:00  Msg:うるう日",
      " xxxx/xx/31*後:00  Msg:月末",          " xxxx/xx/xx 015分* Que:a\\n\\nb",
      " [7]:平日   S05rt  Err:夜の見回り",    " xxxx/xx/xx Start  Exe:C:\\tools\\run.exe::-x",
      "*2099/12/31 23:59  War:二〇九九年の末"};
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    lines.push_back(Utf8ToCp932(kShapes[i % 7]) + " " + std::to_string(i));
  }
  return lines;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

std::vector<double> Field(const Subject& s, double Sample::*field) {
  std::vector<double> v;
  for (const Sample& x : s.samples) v.push_back(x.*field);
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  bool modules = false;  // --modules: list the modules each program has loaded after its start
  DWORD settleMs = 60'000;
  const fs::path here = ThisExecutable().parent_path();
  fs::path program =
      here.parent_path() / L"package" / Utf8ToWide("Mirovane-" MIROVANE_VERSION) / L"Mirovane.exe";
  fs::path bare = here / L"startup_bare.exe";
  fs::path bareParts = here / L"startup_bare_parts.exe";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--runs=", 7) == 0) runs = std::max(1, std::atoi(argv[i] + 7));
    if (std::strncmp(argv[i], "--settle=", 9) == 0) {
      settleMs = static_cast<DWORD>(std::max(0.0, std::atof(argv[i] + 9)) * 1000);
    }
    if (std::strncmp(argv[i], "--program=", 10) == 0) program = Utf8ToWide(argv[i] + 10);
    if (std::strncmp(argv[i], "--bare=", 7) == 0) bare = Utf8ToWide(argv[i] + 7);
    if (std::strncmp(argv[i], "--bare-parts=", 13) == 0) bareParts = Utf8ToWide(argv[i] + 13);
    if (std::strcmp(argv[i], "--modules") == 0) modules = true;
  }
  for (const fs::path& p : {program, bare, bareParts}) {
    if (!fs::is_regular_file(p)) {
      std::fprintf(stderr, "%ls not found (build the mirovane_package target)\n", p.c_str());
      return 1;
    }
  }

  const fs::path root = fs::temp_directory_path() /
                        (L"mirovane-startup-bench-" + std::to_wstring(GetCurrentProcessId()));
  std::error_code error;
  fs::remove_all(root, error);
  // Folders of different names: the program runs once per folder name and file name.
  const auto place = [&](const fs::path& exe, const wchar_t* folder) {
    fs::create_directories(root / folder);
    fs::copy_file(exe, root / folder / exe.filename(), fs::copy_options::overwrite_existing);
    return root / folder / exe.filename();
  };
  std::vector<Subject> subjects;
  subjects.push_back({"bare", place(bare, L"bare"), kBareClass, false});
  subjects.push_back({"bare_system_parts", place(bareParts, L"parts"), kBareClass, false});
  subjects.push_back({"main", place(program, L"main"), kCalendarDialogClass, true});
  subjects.push_back({"main_10000_alarms", place(program, L"list"), kCalendarDialogClass, true});
  if (!WriteAlarmLines(root / L"list" / L"Mirovane.txt", AlarmLines(10'000))) {
    std::fprintf(stderr, "cannot write the alarm list in %ls\n", root.c_str());
    return 1;
  }
  std::printf("programs:");
  for (const fs::path& p : {program, bare, bareParts}) {
    std::printf(" %ls (%llu bytes)", p.c_str(), static_cast<unsigned long long>(fs::file_size(p)));
  }
  std::printf("; settle %.1f s\n", settleMs / 1000.0);

  for (Subject& s : subjects) StartOnce(s, 0, false, modules);  // warm-up
  for (int r = 0; r < runs; ++r) {
    for (Subject& s : subjects) StartOnce(s, settleMs, true);
  }
  fs::remove_all(root, error);

  for (const Subject& s : subjects) {
    const std::vector<double> starts = Field(s, &Sample::startSeconds);
    std::printf("%-40s %12.0f ns %6zu  runs_ms=", ("BM_StartToFirstPaint/" + s.name).c_str(),
                Median(starts) * 1e9, starts.size());
    for (double t : starts) std::printf("%.0f ", t * 1e3);
    std::printf("\n");
  }
  for (const Subject& s : subjects) {
    std::printf("%-40s working_set=%.0fKiB peak=%.0fKiB %6zu\n",
                ("BM_WorkingSet/" + s.name).c_str(), Median(Field(s, &Sample::workingSet)) / 1024,
                Median(Field(s, &Sample::peakWorkingSet)) / 1024, s.samples.size());
  }
  for (const Subject& s : subjects) {
    if (s.samples.empty()) return 1;
  }
  const auto ratios = [&](const Subject& s, const Subject& peer, const char* note) {
    std::printf(
        "ratio %s / %s: start %.2f, working set %.2f%s\n", s.name.c_str(), peer.name.c_str(),
        Median(Field(s, &Sample::startSeconds)) / Median(Field(peer, &Sample::startSeconds)),
        Median(Field(s, &Sample::workingSet)) / Median(Field(peer, &Sample::workingSet)), note);
  };
  ratios(subjects[1], subjects[0], " (what the system parts cost)");
  for (std::size_t i = 2; i < subjects.size(); ++i) {
    ratios(subjects[i], subjects[0], " (target: at most 1.3 each)");
    ratios(subjects[i], subjects[1], " (the program's own share)");
  }
  return 0;
}
