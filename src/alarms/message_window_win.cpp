#include "alarms/message_window_win.h"

#include <algorithm>
#include <string>

#include "alarms/alarm_action.h"
#include "platform/codec.h"

namespace mirovane {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
constexpr UINT kTextFormat = DT_NOPREFIX | DT_EXPANDTABS | DT_EDITCONTROL;

LPCWSTR IconResource(int kind) {
  switch (kind) {
    case kMessageWarning: return IDI_WARNING;
    case kMessageError: return IDI_ERROR;
    case kMessageInformation: return IDI_INFORMATION;
    case kMessageQuestion: return IDI_QUESTION;
    default: return nullptr;
  }
}

// One showing of the window; lives on the stack of ShowMessageWindow.
struct MessageWindow {
  std::wstring text;
  int kind = kMessagePlain;
  HWND hwnd = nullptr;
  HWND icon = nullptr;
  HWND label = nullptr;
  HWND ok = nullptr;
  HWND confirm = nullptr;
  HFONT font = nullptr;
  HICON iconImage = nullptr;
  bool ownsIcon = false;
  bool done = false;
  bool confirmed = false;

  MessageWindow() = default;
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;
  ~MessageWindow() {
    if (font) DeleteObject(font);
    if (iconImage && ownsIcon) DestroyIcon(iconImage);
  }

  void Finish(bool pressedConfirm) {
    confirmed = pressedConfirm;
    done = true;
  }

  // Sizes fonts, icon, controls and the window for `dpi`; centred on the work area of its
  // monitor, or at `suggested` when the DPI changed while shown.
  void Layout(UINT dpi, const RECT* suggested);
};

SIZE MeasureText(HDC dc, const std::wstring& s, UINT format, int width) {
  RECT r{0, 0, width, 0};
  DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r, format | DT_CALCRECT);
  return {r.right - r.left, r.bottom - r.top};
}

void MessageWindow::Layout(UINT dpi, const RECT* suggested) {
  auto scale = [dpi](int v) { return MulDiv(v, static_cast<int>(dpi), 96); };

  static const std::wstring kFace = Cp932ToWide(Utf8ToCp932("ＭＳ Ｐゴシック"));
  LOGFONTW lf{};
  lf.lfHeight = -scale(12);  // 9 points at 96 DPI
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  kFace.copy(lf.lfFaceName, LF_FACESIZE - 1);
  HFONT newFont = CreateFontIndirectW(&lf);
  if (!newFont) newFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (HWND child : {label, ok, confirm}) {
    if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(newFont), FALSE);
  }
  if (font) DeleteObject(font);
  font = newFont;

  int iconSize = 0;
  if (icon) {
    iconSize = scale(32);
    HICON image = static_cast<HICON>(
        LoadImageW(nullptr, IconResource(kind), IMAGE_ICON, iconSize, iconSize, 0));
    bool owns = image != nullptr;
    if (!image) image = LoadIconW(nullptr, IconResource(kind));
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(image), 0);
    if (iconImage && ownsIcon) DestroyIcon(iconImage);
    iconImage = image;
    ownsIcon = owns;
  }

  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT work = monitor.rcWork;
  const int workWidth = work.right - work.left;

  HDC dc = GetDC(hwnd);
  HGDIOBJ oldFont = SelectObject(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  // Lines break at CR LF; a line wider than the limit wraps.
  const int maxTextWidth = std::max(scale(120), std::min(scale(480), workWidth * 3 / 4));
  SIZE textSize = MeasureText(dc, text, kTextFormat, maxTextWidth);
  if (textSize.cx > maxTextWidth) textSize = MeasureText(dc, text, kTextFormat | DT_WORDBREAK, maxTextWidth);
  textSize.cx = std::min<LONG>(textSize.cx, maxTextWidth);
  textSize.cy = std::max<LONG>(textSize.cy, tm.tmHeight);
  auto buttonWidth = [&](HWND button) {
    if (!button) return 0;
    wchar_t caption[64] = {};
    GetWindowTextW(button, caption, 64);
    return std::max<int>(scale(75), MeasureText(dc, caption, DT_SINGLELINE, 0).cx + scale(16));
  };
  const int okWidth = buttonWidth(ok);
  const int confirmWidth = buttonWidth(confirm);
  SelectObject(dc, oldFont);
  ReleaseDC(hwnd, dc);

  const int margin = scale(12);
  const int gap = scale(8);
  const int buttonHeight = std::max<int>(scale(23), tm.tmHeight + scale(8));
  const int buttonsWidth = okWidth + (confirm ? gap + confirmWidth : 0);
  const int textX = margin + (iconSize ? iconSize + margin : 0);
  const int contentHeight = std::max<int>(iconSize, textSize.cy);
  const int clientWidth =
      std::max({textX + static_cast<int>(textSize.cx) + margin, buttonsWidth + 2 * margin, scale(160)});
  const int buttonsY = margin + contentHeight + scale(16);
  const int clientHeight = buttonsY + buttonHeight + margin;

  if (icon) MoveWindow(icon, margin, margin, iconSize, iconSize, TRUE);
  MoveWindow(label, textX, margin + (contentHeight - textSize.cy) / 2, textSize.cx, textSize.cy, TRUE);
  int x = clientWidth - margin - buttonsWidth;
  MoveWindow(ok, x, buttonsY, okWidth, buttonHeight, TRUE);
  if (confirm) MoveWindow(confirm, x + okWidth + gap, buttonsY, confirmWidth, buttonHeight, TRUE);

  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  int left = 0;
  int top = 0;
  if (suggested) {
    left = suggested->left;
    top = suggested->top;
  } else {
    left = work.left + (workWidth - width) / 2;
    top = work.top + (work.bottom - work.top - height) / 2;
  }
  SetWindowPos(hwnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK MessageWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* w = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
      break;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    case WM_COMMAND:
      if (w && HIWORD(wp) == BN_CLICKED) {
        const int id = LOWORD(wp);
        if (id == IDOK || id == IDCANCEL || id == kMessageConfirmId) {
          w->Finish(id == kMessageConfirmId);
          return 0;
        }
      }
      break;
    case WM_CLOSE:
      if (w) w->Finish(false);
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_DPICHANGED:
      if (w) w->Layout(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool RegisterMessageWindowClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MessageWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMessageWindowClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

HWND CreateChild(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, int id) {
  return CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                         nullptr);
}

}  // namespace

bool ShowMessageWindow(HWND owner, std::string_view text, int kind, bool withConfirm, bool beep) {
  if (!RegisterMessageWindowClass()) return false;
  if (kind < kMessageWarning || kind > kMessagePlain) kind = kMessagePlain;

  MessageWindow w;
  w.text = Cp932ToWide(text);
  w.kind = kind;
  const std::wstring caption = Cp932ToWide(MessageCaption(kind, withConfirm));
  // Created hidden at the centre of the owner's monitor, so that its DPI is that monitor's.
  POINT centre{0, 0};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    centre = {(monitor.rcWork.left + monitor.rcWork.right) / 2, (monitor.rcWork.top + monitor.rcWork.bottom) / 2};
  }
  w.hwnd = CreateWindowExW(kExStyle, kMessageWindowClass, caption.c_str(), kStyle, centre.x, centre.y, 1, 1,
                           owner, nullptr, GetModuleHandleW(nullptr), &w);
  if (!w.hwnd) return false;

  if (IconResource(kind)) w.icon = CreateChild(w.hwnd, L"STATIC", L"", SS_ICON | SS_REALSIZECONTROL, kMessageIconId);
  w.label = CreateChild(w.hwnd, L"STATIC", w.text, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, kMessageTextId);
  w.ok = CreateChild(w.hwnd, L"BUTTON", Cp932ToWide(alarm_text::OkButton()), WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
  if (withConfirm) {
    w.confirm = CreateChild(w.hwnd, L"BUTTON", Cp932ToWide(alarm_text::ConfirmButton()),
                            WS_TABSTOP | BS_PUSHBUTTON, kMessageConfirmId);
  }
  const UINT dpi = GetDpiForWindow(w.hwnd);
  w.Layout(dpi ? dpi : 96, nullptr);

  if (beep) MessageBeep(MessageBeepType(kind));

  const bool disableOwner = owner && IsWindowEnabled(owner);
  if (disableOwner) EnableWindow(owner, FALSE);
  SetWindowPos(w.hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ShowWindow(w.hwnd, SW_SHOW);
  SetForegroundWindow(w.hwnd);
  SetFocus(w.ok);

  // The modal loop: this window's keys go through the dialog manager (Enter, Esc, Alt+C, Tab);
  // every other message of the thread is dispatched as usual.
  MSG msg;
  while (!w.done && IsWindow(w.hwnd)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave WM_QUIT to the outer loop
      w.confirmed = false;
      break;
    }
    if (got == -1) break;
    if (!IsDialogMessageW(w.hwnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  // Re-enable the owner first, so activation goes back to it and not to another program.
  if (disableOwner) EnableWindow(owner, TRUE);
  if (IsWindow(w.hwnd)) DestroyWindow(w.hwnd);
  return w.done && w.confirmed;
}

}  // namespace mirovane
