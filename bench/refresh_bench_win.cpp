// Display-refresh benchmark of the main window (Windows build; runs under Wine).
//
//   cmake --preset windows -B build/windows && cmake --build build/windows --target refresh_bench
//   tools/wine-run build/windows/bin/refresh_bench.exe [--iterations=N] [--rounds=R] [--profile]
//
// One refresh of the real TCalendarDialog (RefreshDisplay: date and time labels and the analog
// clock face) against a bare Win32 window with two STATIC labels whose texts are both set on every
// tick, in the same process and run. The timed part of an iteration is the refresh itself plus
// the painting it causes (RedrawWindow with RDW_UPDATENOW over the window and all its children),
// measured with QueryPerformanceCounter. Before each iteration the benchmark waits, untimed,
// for the wall clock's millisecond to move and formats show milliseconds, so that every refresh
// has new label texts and a new clock drawing; the windows are measured in alternating rounds so
// that a slow drift of the machine falls on both alike.
//
// Lines follow Google Benchmark's console format (wall time and thread CPU time per iteration,
// median as a counter). BM_Part_* break the main window's refresh into its pieces;
// BM_Sketch_ClockFaceCachedRings is the clock face drawn the cheaper way of LayeredClockSketch
// below, for comparison with BM_Part_ClockFace; BM_BareWindow_TwoLabels/subclassed is the bare
// window with its labels subclassed the way the toolkit subclasses its controls: the window
// procedure replaced by one that finds its data in GWLP_USERDATA and passes every message on to
// the label's own procedure (src/ui/control.h). The last line is the ratio of the main window to
// the bare one (target: at most 1.5). --profile adds the time per frame of each GDI step of the
// clock-face drawing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/calendar_dialog.h"
#include "controls/clock_canvas_win.h"
#include "controls/clock_face.h"
#include "format/formatter.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/regional.h"
#include "settings/colors_win.h"

namespace {

using namespace mirovane;

struct Result {
  std::string name;
  std::vector<double> wallNs{};  // one entry per iteration
  double cpuNs = 0;              // thread CPU time, summed
  int skipped = 0;               // iterations whose refresh showed nothing new
};

double Frequency() {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(f.QuadPart);
}

double NowTicks() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart);
}

double ThreadCpuNs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ns = [](const FILETIME& f) {
    return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) *
           100.0;
  };
  return ns(kernel) + ns(user);
}

// Handles whatever the windows posted (timers, deferred notifications); never timed.
void DrainMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Spins until the local time's millisecond differs from the one on entry.
void WaitForNextMillisecond() {
  SYSTEMTIME start, now;
  GetLocalTime(&start);
  do {
    GetLocalTime(&now);
  } while (now.wMilliseconds == start.wMilliseconds && now.wSecond == start.wSecond);
}

// The painting a refresh causes, done now instead of from the message loop.
void PaintNow(HWND top) { RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

// Runs `iterations` timed calls of `step` (which returns whether it showed something new) and
// appends them to `into`.
void Measure(Result& into, int iterations, const std::function<bool()>& step) {
  static const double ticksPerNs = Frequency() / 1e9;
  for (int i = 0; i < iterations; ++i) {
    DrainMessages();
    WaitForNextMillisecond();
    const double cpu0 = ThreadCpuNs();
    const double t0 = NowTicks();
    const bool changed = step();
    const double t1 = NowTicks();
    into.cpuNs += ThreadCpuNs() - cpu0;
    into.wallNs.push_back((t1 - t0) / ticksPerNs);
    if (!changed) ++into.skipped;
  }
}

double Mean(const std::vector<double>& v) {
  double sum = 0;
  for (double x : v) sum += x;
  return v.empty() ? 0 : sum / static_cast<double>(v.size());
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

void Print(const Result& r) {
  const auto n = static_cast<double>(r.wallNs.size());
  std::printf("%-36s %12.0f ns %12.0f ns %10zu median_ns=%.0f", r.name.c_str(), Mean(r.wallNs),
              n > 0 ? r.cpuNs / n : 0.0, r.wallNs.size(), Median(r.wallNs));
  if (r.skipped) std::printf(" skipped=%d", r.skipped);
  std::printf("\n");
}

// ---- where a clock-face drawing spends its time ----

enum Phase {
  kGetDc,
  kMemoryDc,
  kFill,
  kSelectFont,
  kSetPen,
  kSetBrush,
  kEllipseThin,
  kEllipseWide,
  kPolygon,
  kLine,
  kText,
  kMeasure,
  kBlit,
  kRelease,
  kPhases
};
const char* const kPhaseNames[kPhases] = {"GetDC",
                                          "CreateCompatibleDC",
                                          "FillRect",
                                          "SelectFont",
                                          "SetPen",
                                          "SetBrush",
                                          "Ellipse (1-px pen)",
                                          "Ellipse (wider pen)",
                                          "Polygon",
                                          "Line",
                                          "TextOut",
                                          "TextExtent",
                                          "BitBlt",
                                          "DeleteDC+ReleaseDC"};

// Forwards to the GDI canvas and adds the time of each call to its phase.
class TimingCanvas final : public ClockCanvas {
 public:
  TimingCanvas(ClockCanvas& inner, double (&ticks)[kPhases]) : inner_(inner), ticks_(ticks) {}
  void SetPen(ColorValue color, int width) override {
    penWidth_ = width;
    Timed(kSetPen, [&] { inner_.SetPen(color, width); });
  }
  void SetBrush(ColorValue color, bool solid) override {
    Timed(kSetBrush, [&] { inner_.SetBrush(color, solid); });
  }
  void Ellipse(int l, int t, int r, int b) override {
    Timed(penWidth_ > 1 ? kEllipseWide : kEllipseThin, [&] { inner_.Ellipse(l, t, r, b); });
  }
  void Polygon(const Point (&points)[4]) override {
    Timed(kPolygon, [&] { inner_.Polygon(points); });
  }
  void Line(Point from, Point to) override {
    Timed(kLine, [&] { inner_.Line(from, to); });
  }
  void Text(int x, int y, std::string_view cp932, ColorValue color) override {
    Timed(kText, [&] { inner_.Text(x, y, cp932, color); });
  }
  int TextWidth(std::string_view cp932) override {
    int w = 0;
    Timed(kMeasure, [&] { w = inner_.TextWidth(cp932); });
    return w;
  }
  int TextHeight(std::string_view cp932) override {
    int h = 0;
    Timed(kMeasure, [&] { h = inner_.TextHeight(cp932); });
    return h;
  }

 private:
  template <class F>
  void Timed(Phase phase, F&& f) {
    const double t0 = NowTicks();
    f();
    ticks_[phase] += NowTicks() - t0;
  }
  ClockCanvas& inner_;
  double (&ticks_)[kPhases];
  int penWidth_ = 1;
};

// Passes on either the parts of the face that only change with its size, colours and font
// (rings, numbers) or the hands.
class LayerCanvas final : public ClockCanvas {
 public:
  LayerCanvas(ClockCanvas& inner, bool hands) : inner_(inner), hands_(hands) {}
  void SetPen(ColorValue color, int width) override { inner_.SetPen(color, width); }
  void SetBrush(ColorValue color, bool solid) override { inner_.SetBrush(color, solid); }
  void Ellipse(int l, int t, int r, int b) override {
    if (!hands_) inner_.Ellipse(l, t, r, b);
  }
  void Polygon(const Point (&points)[4]) override {
    if (hands_) inner_.Polygon(points);
  }
  void Line(Point from, Point to) override {
    if (hands_) inner_.Line(from, to);
  }
  void Text(int x, int y, std::string_view cp932, ColorValue color) override {
    if (!hands_) inner_.Text(x, y, cp932, color);
  }
  int TextWidth(std::string_view cp932) override { return inner_.TextWidth(cp932); }
  int TextHeight(std::string_view cp932) override { return inner_.TextHeight(cp932); }

 private:
  ClockCanvas& inner_;
  bool hands_;
};

// A sketch of a cheaper renderer for comparison: rings and numbers drawn once into a bitmap of
// their own; each frame copies it, draws the three hands over it and copies the result to the
// window, with one memory DC kept for the renderer's lifetime.
class LayeredClockSketch {
 public:
  LayeredClockSketch(HWND target, const ClockColors& colors, HFONT font)
      : target_(target), colors_(colors), font_(font) {
    GetClientRect(target, &rc_);
    HDC screen = GetDC(target);
    face_ = CreateCompatibleBitmap(screen, rc_.right, rc_.bottom);
    frame_ = CreateCompatibleBitmap(screen, rc_.right, rc_.bottom);
    faceDc_ = CreateCompatibleDC(screen);
    frameDc_ = CreateCompatibleDC(screen);
    ReleaseDC(target, screen);
    oldFace_ = SelectObject(faceDc_, face_);
    oldFrame_ = SelectObject(frameDc_, frame_);
    HBRUSH back = CreateSolidBrush(ToColorRef(colors.labelBack));
    FillRect(faceDc_, &rc_, back);
    DeleteObject(back);
    GdiClockCanvas gdi(faceDc_, font);
    LayerCanvas layer(gdi, false);
    DrawClockFace(layer, rc_.right, rc_.bottom, 0, 0, 0, colors);
  }
  ~LayeredClockSketch() {
    SelectObject(faceDc_, oldFace_);
    SelectObject(frameDc_, oldFrame_);
    DeleteDC(faceDc_);
    DeleteDC(frameDc_);
    DeleteObject(face_);
    DeleteObject(frame_);
  }
  LayeredClockSketch(const LayeredClockSketch&) = delete;
  LayeredClockSketch& operator=(const LayeredClockSketch&) = delete;

  void Render(int hour, int minute, int second) {
    BitBlt(frameDc_, 0, 0, rc_.right, rc_.bottom, faceDc_, 0, 0, SRCCOPY);
    {
      GdiClockCanvas gdi(frameDc_, font_);
      LayerCanvas layer(gdi, true);
      DrawClockFace(layer, rc_.right, rc_.bottom, hour, minute, second, colors_);
    }
    HDC screen = GetDC(target_);
    BitBlt(screen, 0, 0, rc_.right, rc_.bottom, frameDc_, 0, 0, SRCCOPY);
    ReleaseDC(target_, screen);
  }

 private:
  HWND target_;
  ClockColors colors_;
  HFONT font_;
  RECT rc_{};
  HBITMAP face_ = nullptr, frame_ = nullptr;
  HDC faceDc_ = nullptr, frameDc_ = nullptr;
  HGDIOBJ oldFace_ = nullptr, oldFrame_ = nullptr;
};

// Draws the face `frames` times the way ClockFaceRenderer does (memory DC, bitmap, one BitBlt)
// and prints the mean time per frame of each phase.
void ProfileClockFace(HWND face, const ClockColors& colors, HFONT font, int frames) {
  RECT rc{};
  GetClientRect(face, &rc);
  double ticks[kPhases] = {};
  HBITMAP bitmap = nullptr;
  const auto timed = [&](Phase phase, auto&& f) {
    const double t0 = NowTicks();
    f();
    ticks[phase] += NowTicks() - t0;
  };
  for (int i = 0; i < frames; ++i) {
    DrainMessages();
    HDC screen = nullptr, memory = nullptr;
    timed(kGetDc, [&] { screen = GetDC(face); });
    if (!bitmap) bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = nullptr;
    timed(kMemoryDc, [&] {
      memory = CreateCompatibleDC(screen);
      old = SelectObject(memory, bitmap);
    });
    timed(kFill, [&] {
      HBRUSH back = CreateSolidBrush(ToColorRef(colors.labelBack));
      FillRect(memory, &rc, back);
      DeleteObject(back);
    });
    {
      std::optional<GdiClockCanvas> gdi;
      timed(kSelectFont, [&] { gdi.emplace(memory, font); });
      TimingCanvas canvas(*gdi, ticks);
      DrawClockFace(canvas, rc.right, rc.bottom, 10, 10, i % 60, colors);
      timed(kSelectFont, [&] { gdi.reset(); });
    }
    timed(kBlit, [&] { BitBlt(screen, 0, 0, rc.right, rc.bottom, memory, 0, 0, SRCCOPY); });
    timed(kRelease, [&] {
      SelectObject(memory, old);
      DeleteDC(memory);
      ReleaseDC(face, screen);
    });
  }
  if (bitmap) DeleteObject(bitmap);
  const double ticksPerNs = Frequency() / 1e9;
  double total = 0;
  for (double t : ticks) total += t;
  std::printf("Clock face %ldx%ld, time per frame by phase (%d frames):\n", rc.right, rc.bottom,
              frames);
  for (int p = 0; p < kPhases; ++p) {
    std::printf("  %-20s %10.0f ns  %5.1f %%\n", kPhaseNames[p], ticks[p] / ticksPerNs / frames,
                100.0 * ticks[p] / total);
  }
}

// ---- the bare window: two STATIC labels on a plain top-level window ----

LRESULT CALLBACK BareProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// The label's own procedure, replaced by PassOn, is kept in GWLP_USERDATA, where the toolkit keeps
// its wrapper: one look-up inside the process per message, as there.
LRESULT CALLBACK PassOn(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return CallWindowProcW(previous, hwnd, msg, wp, lp);
}

void SubclassLikeTheToolkit(HWND label) {
  const LONG_PTR previous =
      SetWindowLongPtrW(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PassOn));
  SetWindowLongPtrW(label, GWLP_USERDATA, previous);
}

class BareWindow {
 public:
  // `subclassed`: the labels get a window procedure that only passes every message on, put in
  // place as the toolkit puts its own on every control.
  BareWindow(int width, int labelHeight, HFONT font, int top, bool subclassed) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = BareProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"RefreshBenchBare";
    static const ATOM registered = RegisterClassExW(&wc);
    (void)registered;
    hwnd_ =
        CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"bare", WS_POPUP | WS_CLIPCHILDREN, 0,
                        top, width, 2 * labelHeight, nullptr, nullptr, wc.hInstance, nullptr);
    const DWORD style = WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX;
    date_ = CreateWindowExW(0, L"STATIC", L" ", style, 0, 0, width, labelHeight, hwnd_, nullptr,
                            wc.hInstance, nullptr);
    time_ = CreateWindowExW(0, L"STATIC", L" ", style, 0, labelHeight, width, labelHeight, hwnd_,
                            nullptr, wc.hInstance, nullptr);
    SendMessageW(date_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(time_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (subclassed) {
      SubclassLikeTheToolkit(date_);
      SubclassLikeTheToolkit(time_);
    }
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
  }
  ~BareWindow() { DestroyWindow(hwnd_); }
  BareWindow(const BareWindow&) = delete;
  BareWindow& operator=(const BareWindow&) = delete;

  // One tick: both labels get the current date and time.
  bool Tick() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    wchar_t date[64], time[64];
    std::swprintf(date, 64, L"%04u/%02u/%02u %03u", st.wYear, st.wMonth, st.wDay, st.wMilliseconds);
    std::swprintf(time, 64, L"%02u:%02u:%02u.%03u", st.wHour, st.wMinute, st.wSecond,
                  st.wMilliseconds);
    SetWindowTextW(date_, date);
    SetWindowTextW(time_, time);
    PaintNow(hwnd_);
    return true;
  }

 private:
  HWND hwnd_ = nullptr;
  HWND date_ = nullptr;
  HWND time_ = nullptr;
};

int Run(int iterations, int rounds, bool profile) {
  InitCommonControlsForProgram();

  // Settings of its own: the refresh timer off (the benchmark drives the refreshes), the clock
  // shown, and both labels showing milliseconds so that each refresh changes both texts.
  const std::filesystem::path ini =
      std::filesystem::temp_directory_path() /
      (L"mirovane-refresh-bench-" + std::to_wstring(GetCurrentProcessId()) + L".ini");
  const char* settings =
      "[Reaction]\r\nDspCycle=0\r\n"
      "[DateTime]\r\nShowClock=0\r\n"
      "DateFormat=\"yyyy/mm/dd'('aaa')' zzz\"\r\nTimeFormat=\"hh:nn:ss.zzz\"\r\n";
  if (!WriteWholeFileAtomic(ini, Utf8ToCp932(settings))) {
    std::fprintf(stderr, "cannot write %ls\n", ini.c_str());
    return 1;
  }

  ApplicationWindow application;
  application.Create();
  TCalendarDialog main;
  main.IniPath = ini;
  main.onErrorMessage = [](const std::wstring& text) {
    std::fprintf(stderr, "main window error: %ls\n", text.c_str());
  };
  main.Create(application.Handle());
  main.Show();
  DrainMessages();
  if (!main.ClockPanel.Visible() || !main.DateLabel.Visible() || !main.TimeLabel.Visible()) {
    std::fprintf(stderr, "the main window does not show both labels and the clock\n");
    return 1;
  }

  const RECT timeBounds = main.TimeLabel.Bounds();
  const int labelWidth = timeBounds.right - timeBounds.left;
  const int labelHeight = timeBounds.bottom - timeBounds.top;
  BareWindow bare(labelWidth, labelHeight, main.AreaFont(), 0, false);
  BareWindow bareSubclassed(labelWidth, labelHeight, main.AreaFont(), 4 * labelHeight, true);
  DrainMessages();

  const HWND top = main.Handle();
  const std::string dateWithMs = main.Settings.DateFormat;
  const std::string plainDate = Utf8ToCp932("yyyy/mm/dd'('aaa')'");

  // Main window refresh; `changed` tells whether the time label really got a new text.
  const auto refresh = [&] {
    const std::string before = main.TimeLabel.Text();
    main.RefreshDisplay();
    PaintNow(top);
    return main.TimeLabel.Text() != before;
  };

  // Pieces of a refresh, on the same window.
  ClockFaceRenderer renderer;
  const HWND face = main.ClockLabel.Handle();
  RECT faceRect{};
  GetClientRect(face, &faceRect);
  const TCalendarSettings& s = main.Settings;
  const ClockColors colors{s.LabelBack, s.LabelText, s.BorderColor, s.TitleBack, s.TrailText};
  int second = 0;
  const auto clockOnly = [&] {
    second = (second + 1) % 60;
    renderer.Render(face, faceRect.right, faceRect.bottom, 10, 10, second, colors, main.AreaFont());
    PaintNow(top);
    return true;
  };
  int labelTick = 0;
  const auto labelsOnly = [&] {
    ++labelTick;
    char text[32];
    std::snprintf(text, sizeof text, "2024/01/01 %06d", labelTick);
    main.DateLabel.SetText(text);
    std::snprintf(text, sizeof text, "12:00:00.%06d", labelTick);
    main.TimeLabel.SetText(text);
    PaintNow(top);
    return true;
  };

  const auto backPanelOnly = [&] {
    InvalidateRect(main.BackPanel.Handle(), nullptr, FALSE);
    PaintNow(top);
    return true;
  };
  LayeredClockSketch sketch(face, colors, main.AreaFont());
  const auto sketchOnly = [&] {
    second = (second + 1) % 60;
    sketch.Render(10, 10, second);
    PaintNow(top);
    return true;
  };

  Result bareResult{"BM_BareWindow_TwoLabels"};
  Result mainResult{"BM_MainWindow_Refresh"};
  Result mainTimeOnly{"BM_MainWindow_Refresh/date_unchanged"};
  Result labelsPart{"BM_Part_TwoLabelsSetText"};
  Result clockPart{"BM_Part_ClockFace"};
  Result bareSubclassedResult{"BM_BareWindow_TwoLabels/subclassed"};
  Result backPart{"BM_Part_BackPanelRepaint"};
  Result sketchPart{"BM_Sketch_ClockFaceCachedRings"};

  // Warm-up: first drawings create caches (bitmaps, glyphs, device contexts).
  Result warm{"warm-up"};
  Measure(warm, 50, [&] { return bare.Tick(); });
  Measure(warm, 50, refresh);

  const int perRound = std::max(1, iterations / rounds);
  for (int round = 0; round < rounds; ++round) {
    Measure(bareResult, perRound, [&] { return bare.Tick(); });
    main.Settings.DateFormat = dateWithMs;
    Measure(mainResult, perRound, refresh);
    main.Settings.DateFormat = plainDate;
    Measure(mainTimeOnly, perRound / 2, refresh);
    main.Settings.DateFormat = dateWithMs;
    Measure(labelsPart, perRound / 2, labelsOnly);
    Measure(clockPart, perRound / 2, clockOnly);
    Measure(backPart, perRound / 2, backPanelOnly);
    Measure(sketchPart, perRound / 2, sketchOnly);
    Measure(bareSubclassedResult, perRound / 2, [&] { return bareSubclassed.Tick(); });
  }

  const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  std::printf("Run under %s; %d iterations in %d rounds\n", wine ? "Wine" : "Windows",
              perRound * rounds, rounds);
  std::printf("%-36s %15s %15s %10s\n", "Benchmark", "Time", "CPU", "Iterations");
  std::printf("%s\n", std::string(80, '-').c_str());
  for (const Result* r : {&bareResult, &bareSubclassedResult, &mainResult, &mainTimeOnly,
                          &labelsPart, &clockPart, &backPart, &sketchPart})
    Print(*r);
  const double ratio = Mean(mainResult.wallNs) / Mean(bareResult.wallNs);
  const double medianRatio = Median(mainResult.wallNs) / Median(bareResult.wallNs);
  std::printf(
      "ratio BM_MainWindow_Refresh / BM_BareWindow_TwoLabels: %.2f (median %.2f), "
      "target <= 1.50: %s\n",
      ratio, medianRatio, ratio <= 1.5 ? "met" : "MISSED");

  if (profile) ProfileClockFace(face, colors, main.AreaFont(), 500);

  std::error_code ignored;
  std::filesystem::remove(ini, ignored);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int iterations = 3000;
  int rounds = 6;
  bool profile = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--iterations=", 13) == 0)
      iterations = std::atoi(argv[i] + 13);
    else if (std::strncmp(argv[i], "--rounds=", 9) == 0)
      rounds = std::atoi(argv[i] + 9);
    else if (std::strcmp(argv[i], "--profile") == 0)
      profile = true;
    else {
      std::fprintf(stderr, "usage: refresh_bench [--iterations=N] [--rounds=R] [--profile]\n");
      return 2;
    }
  }
  if (iterations < 1 || rounds < 1) return 2;
  try {
    return Run(iterations, rounds, profile);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "refresh_bench: %s\n", e.what());
    return 1;
  }
}
