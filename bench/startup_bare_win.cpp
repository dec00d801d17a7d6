// The bare window of the start-up benchmark (startup_bench_win.cpp): the two-label window of the
// refresh benchmark as a program of its own. A plain top-level popup window with two STATIC
// labels in the main window's default label font (ＭＳ Ｐゴシック, 12 points, bold), whose texts
// are the current date and time when it is first shown; nothing else (no resources, no common
// controls, no tray icon, no settings or alarm list). It ends when its window is closed.
#include <windows.h>

#include <cwchar>

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
  const HWND window =
      CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClass, L"bare", WS_POPUP | WS_CLIPCHILDREN,
                      100, 100, width, 2 * labelHeight, nullptr, nullptr, instance, nullptr);
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
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DeleteObject(font);
  return 0;
}
