// The bare window of the start-up benchmark (startup_bench_win.cpp): the two-label window of the
// refresh benchmark as a program of its own. A plain top-level popup window with two STATIC
// labels in the main window's default label font (ＭＳ Ｐゴシック, 12 points, bold), whose texts
// are the current date and time when it is first shown; nothing else (no resources, no common
// controls, no tray icon, no settings or alarm list). It ends when its window is closed.
//
// Built a second time with MIROVANE_BARE_SYSTEM_PARTS (startup_bare_parts.exe), it also has the
// system parts that Mirovane.exe shows by default, and nothing of the program's own: the
// program's manifest (common controls 6, per-monitor DPI), a month calendar below the labels,
// activation when shown (which brings the input method with it), and a tray icon added once the
// window has painted. The benchmark compares the program with both: the first is its target, the
// second shows how much of the difference is the program's own.
#include <windows.h>

#include <cwchar>

#ifdef MIROVANE_BARE_SYSTEM_PARTS
#include <commctrl.h>
#include <shellapi.h>
#endif

namespace {

constexpr wchar_t kClass[] = L"MirovaneStartupBare";

LRESULT CALLBACK BareProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef MIROVANE_BARE_SYSTEM_PARTS
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
#endif
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = BareProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClass;
  if (!RegisterClassExW(&wc)) return 1;

  const HDC screen = GetDC(nullptr);
  const int height = -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  // "ＭＳ Ｐゴシック"
  const HFONT font = CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH, L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF");

  const int width = 200, labelHeight = 24;
#ifdef MIROVANE_BARE_SYSTEM_PARTS
  const int calendarHeight = 160;
#else
  const int calendarHeight = 0;
#endif
  const HWND window = CreateWindowExW(
      WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClass, L"bare", WS_POPUP | WS_CLIPCHILDREN, 100, 100,
      width, 2 * labelHeight + calendarHeight, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  SYSTEMTIME st;
  GetLocalTime(&st);
  wchar_t date[64], time[64];
  std::swprintf(date, 64, L"%04u/%02u/%02u", st.wYear, st.wMonth, st.wDay);
  std::swprintf(time, 64, L"%02u:%02u:%02u", st.wHour, st.wMinute, st.wSecond);
  const DWORD style = WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX;
  const HWND dateLabel = CreateWindowExW(0, L"STATIC", date, style, 0, 0, width, labelHeight,
                                         window, nullptr, instance, nullptr);
  const HWND timeLabel = CreateWindowExW(0, L"STATIC", time, style, 0, labelHeight, width,
                                         labelHeight, window, nullptr, instance, nullptr);
  SendMessageW(dateLabel, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(timeLabel, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
#ifdef MIROVANE_BARE_SYSTEM_PARTS
  CreateWindowExW(0, MONTHCAL_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 2 * labelHeight, width,
                  calendarHeight, window, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  NOTIFYICONDATAW tray{};
  tray.cbSize = NOTIFYICONDATAW_V1_SIZE;
  tray.hWnd = window;
  tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  tray.uCallbackMessage = WM_APP;
  tray.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wcscpy_s(tray.szTip, 64, L"bare");
  // Loaded once the window has painted, as the program does.
  using NotifyIcon = BOOL WINAPI(DWORD, NOTIFYICONDATAW*);
  const HMODULE shell = LoadLibraryW(L"shell32.dll");
  auto* const notify = reinterpret_cast<NotifyIcon*>(
      reinterpret_cast<void*>(shell ? GetProcAddress(shell, "Shell_NotifyIconW") : nullptr));
  if (notify) notify(NIM_ADD, &tray);
#else
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
#endif

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
#ifdef MIROVANE_BARE_SYSTEM_PARTS
  if (notify) notify(NIM_DELETE, &tray);
#endif
  DeleteObject(font);
  return 0;
}
