#include "controls/month_calendar_ex.h"

#include <uxtheme.h>
#include <windowsx.h>

#include <cstdlib>
#include <cwchar>
#include <utility>

namespace mirovane {

void TMonthCalendarEx::Create(HWND parent, int id) {
  CreateHandle(0, MONTHCAL_CLASSW, L"", WS_TABSTOP | MCS_NOTODAY | OptionStyles(), parent, id);
  // The themed calendar ignores MCM_SETCOLOR; the five colours of the settings must show.
  SetWindowTheme(Handle(), L"", L"");
  SendMessageW(Handle(), MCM_SETMONTHDELTA, static_cast<WPARAM>(monthDelta_), 0);
}

void TMonthCalendarEx::SetMonthDelta(int months) {
  monthDelta_ = months;
  if (Handle()) SendMessageW(Handle(), MCM_SETMONTHDELTA, static_cast<WPARAM>(months), 0);
}

DWORD TMonthCalendarEx::OptionStyles() const noexcept {
  return (weekNumbers_ ? MCS_WEEKNUMBERS : 0) | (todayCircle_ ? 0 : MCS_NOTODAYCIRCLE);
}

void TMonthCalendarEx::ApplyOptionStyles() {
  const HWND hwnd = Handle();
  if (!hwnd) return;
  constexpr DWORD kMask = MCS_WEEKNUMBERS | MCS_NOTODAYCIRCLE;
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  const DWORD wanted = (style & ~kMask) | OptionStyles();
  if (wanted == style) return;
  // The calendar re-measures itself on WM_STYLECHANGED (week numbers widen it).
  SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(wanted));
  InvalidateRect(hwnd, nullptr, TRUE);
}

void TMonthCalendarEx::SetShowWeekNumbers(bool show) {
  weekNumbers_ = show;
  ApplyOptionStyles();
}

void TMonthCalendarEx::SetShowTodayCircle(bool show) {
  todayCircle_ = show;
  ApplyOptionStyles();
}

void TMonthCalendarEx::SetFirstDayOfWeek(int day) {
  if (Handle()) SendMessageW(Handle(), MCM_SETFIRSTDAYOFWEEK, 0, day);
}

int TMonthCalendarEx::FirstDayOfWeek() const {
  // The low word is the day; the high word says whether it differs from the regional setting.
  return Handle() ? LOWORD(SendMessageW(Handle(), MCM_GETFIRSTDAYOFWEEK, 0, 0)) : 0;
}

namespace {

bool SameFont(HFONT a, HFONT b) {
  LOGFONTW x{}, y{};
  if (!GetObjectW(a, sizeof x, &x) || !GetObjectW(b, sizeof y, &y)) return false;
  return x.lfHeight == y.lfHeight && x.lfWidth == y.lfWidth && x.lfEscapement == y.lfEscapement &&
         x.lfOrientation == y.lfOrientation && x.lfWeight == y.lfWeight &&
         x.lfItalic == y.lfItalic && x.lfUnderline == y.lfUnderline &&
         x.lfStrikeOut == y.lfStrikeOut && x.lfCharSet == y.lfCharSet &&
         x.lfOutPrecision == y.lfOutPrecision && x.lfClipPrecision == y.lfClipPrecision &&
         x.lfQuality == y.lfQuality && x.lfPitchAndFamily == y.lfPitchAndFamily &&
         std::wcscmp(x.lfFaceName, y.lfFaceName) == 0;
}

}  // namespace

void TMonthCalendarEx::TakeFont(ui::FontHandle& owner, ui::FontHandle font) {
  if (owner && Font() == owner.get() && font && SameFont(owner.get(), font.get())) return;
  SetFont(font.get());
  // The calendar has let go of the old font: it can be deleted now.
  owner = std::move(font);
}

void TMonthCalendarEx::SetColor(CalendarColor slot, COLORREF color) {
  if (Handle()) SendMessageW(Handle(), MCM_SETCOLOR, static_cast<WPARAM>(slot), color);
}

COLORREF TMonthCalendarEx::GetColor(CalendarColor slot) const {
  return Handle() ? static_cast<COLORREF>(
                        SendMessageW(Handle(), MCM_GETCOLOR, static_cast<WPARAM>(slot), 0))
                  : CLR_INVALID;
}

void TMonthCalendarEx::SetDate(const SYSTEMTIME& date) {
  if (Handle()) SendMessageW(Handle(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date));
}

SYSTEMTIME TMonthCalendarEx::Date() const {
  SYSTEMTIME date{};
  if (Handle()) SendMessageW(Handle(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&date));
  return date;
}

bool TMonthCalendarEx::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_KEYDOWN:
      if (!onKeyDown) break;
      onKeyDown(wp);
      result = 0;
      return true;
    case WM_MOUSEWHEEL:
      if (!onWheel) break;
      onWheel(GET_WHEEL_DELTA_WPARAM(wp), GET_KEYSTATE_WPARAM(wp));
      result = 0;
      return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      Control::OnMessage(msg, wp, lp, result);
      result = 0;
      return true;
    case WM_CONTEXTMENU:
      result = 0;
      return true;
    case WM_LBUTTONDOWN:
      if (IsSecondClick(lp) && onDblClick) {
        // The press still goes to the control (and the mouse-down handler) first.
        Control::OnMessage(msg, wp, lp, result);
        result = CallOriginal(msg, wp, lp);
        onDblClick();
        return true;
      }
      break;
    case WM_LBUTTONDBLCLK:
      havePress_ = false;
      if (onDblClick) onDblClick();
      break;
    default:
      break;
  }
  return Control::OnMessage(msg, wp, lp, result);
}

bool TMonthCalendarEx::IsSecondClick(LPARAM lp) {
  const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  const DWORD time = static_cast<DWORD>(GetMessageTime());
  const bool second = havePress_ && time - pressTime_ <= GetDoubleClickTime() &&
                      std::abs(at.x - pressAt_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                      std::abs(at.y - pressAt_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  // A third press starts a new pair.
  havePress_ = !second;
  pressTime_ = time;
  pressAt_ = at;
  return second;
}

SIZE TMonthCalendarEx::MinimumMonthSize() const {
  RECT r{0, 0, 0, 0};
  if (Handle()) SendMessageW(Handle(), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&r));
  return SIZE{r.right - r.left, r.bottom - r.top};
}

int SystemFirstDayOfWeek() {
  wchar_t text[4] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, text, 4) > 0 && text[0] >= L'0' &&
      text[0] <= L'6') {
    return text[0] - L'0';
  }
  return 6;  // Sunday, as Japanese regional settings have it
}

}  // namespace mirovane
