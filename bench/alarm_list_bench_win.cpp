// Opening the alarm list dialog with a short and with a long list (Windows build; runs under Wine).
//
//   cmake --build build/windows --target alarm_list_bench
//   tools/wine-run build/windows/bin/alarm_list_bench.exe [--rounds=R]
//
// One open is what the user waits for after choosing the menu item: the file read, the entries
// made, the form and its controls created, shown and painted (RedrawWindow with RDW_UPDATENOW
// over the form and all its children), timed with QueryPerformanceCounter from before the read
// to the end of that paint; the form is then closed, untimed. The lists have 10 and 10,000
// lines of the same mix (active and paused, every date kind, double-byte messages), and a third
// list just fills the list's rows: the 10-line list paints fewer rows than the others, which
// costs about a millisecond a row under Wine, so the third shows what the length alone costs. The
// lists are measured in alternating rounds so that a slow drift of the machine falls on all alike.
//
// Lines follow Google Benchmark's console format (median wall time per open); the last line is
// the ratio of the 10,000-line open to the 10-line open (target: at most 1.5).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "alarms/alarm_engine.h"
#include "alarms/alarm_line.h"
#include "alarms/alarm_list_dialog.h"
#include "app/application.h"
#include "platform/codec.h"

namespace {

using namespace mirovane;

// The rows the list shows at once (327 pixels of 13-pixel rows): from this length on, a longer
// list paints no more rows.
constexpr int kScreenRows = 25;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

std::vector<std::string> Lines(int count) {
  static const char* const kShapes[] = {
      "*2024/05/06 12:30  Inf$会議\\n資料",   " xxxx/02/29*07:00  Msg:うるう日",
      "*xxxx/xx/31*後:00  Msg:月末",          "*xxxx/xx/xx 015分* Que:a\\n\\nb",
      "*[7]:平日   S05rt  Err:夜の見回り",    " xxxx/xx/xx Start  Exe:C:\\tools\\run.exe::-x",
      "*2099/12/31 23:59  War:二〇九九年の末"};
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    lines.push_back(Utf8ToCp932(kShapes[i % 7]) + " " + std::to_string(i));
  }
  return lines;
}

// One open of the dialog on `path`, in seconds.
double OpenOnce(const std::filesystem::path& path) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  TAlarmListDialog dialog(path, nullptr);
  dialog.SelectEntry(0);
  dialog.onShow = [&] {
    RedrawWindow(dialog.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    QueryPerformanceCounter(&end);
    dialog.SetModalResult(kModalCancel);
  };
  dialog.ShowModal(nullptr);
  return Seconds(start, end);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 30;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--rounds=", 9) == 0) rounds = std::max(1, std::atoi(argv[i] + 9));
  }
  InitCommonControlsForProgram();
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::filesystem::path folder =
      std::filesystem::path(temp) / ("alarm_list_bench_" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path shortList = folder / "short.txt";
  const std::filesystem::path screenList = folder / "screen.txt";
  const std::filesystem::path longList = folder / "long.txt";
  if (!WriteAlarmLines(shortList, Lines(10)) || !WriteAlarmLines(screenList, Lines(kScreenRows)) ||
      !WriteAlarmLines(longList, Lines(10000))) {
    std::fprintf(stderr, "cannot write the lists in %ls\n", folder.c_str());
    return 1;
  }

  OpenOnce(shortList);  // warm-up: classes registered, fonts and code pages loaded
  OpenOnce(longList);
  std::vector<double> shortTimes, screenTimes, longTimes;
  for (int r = 0; r < rounds; ++r) {
    shortTimes.push_back(OpenOnce(shortList));
    screenTimes.push_back(OpenOnce(screenList));
    longTimes.push_back(OpenOnce(longList));
  }
  std::filesystem::remove_all(folder);

  const double shortMedian = Median(shortTimes) * 1e9;
  const double screenMedian = Median(screenTimes) * 1e9;
  const double longMedian = Median(longTimes) * 1e9;
  std::printf("%-40s %12.0f ns %12d\n", "BM_OpenAlarmList/10", shortMedian, rounds);
  std::printf("%-40s %12.0f ns %12d\n", ("BM_OpenAlarmList/" + std::to_string(kScreenRows)).c_str(),
              screenMedian, rounds);
  std::printf("%-40s %12.0f ns %12d\n", "BM_OpenAlarmList/10000", longMedian, rounds);
  std::printf("ratio 10000/%d (both fill the list): %.3f\n", kScreenRows,
              longMedian / screenMedian);
  std::printf("ratio 10000/10: %.3f (target: at most 1.5)\n", longMedian / shortMedian);
  return 0;
}
