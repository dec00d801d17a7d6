#include "dialogs/color_test_dialog.h"

#include <string>

#include "controls/clock_canvas_win.h"
#include "platform/codec.h"
#include "settings/colors_win.h"
#include "ui/dpi.h"

namespace mirovane {

namespace {

// The caption of the preview.
const std::wstring& PreviewCaption() {
  static const std::wstring text = Utf8ToWide(" 配色テスト（色の確認のみ）");
  return text;
}

constexpr DWORD kPreviewStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kPreviewExStyle = WS_EX_TOOLWINDOW;

// A settings font at its size in points for `dpi`.
ui::FontHandle PointFont(const FontSetting& font, UINT dpi) {
  return ui::CreateShiftJisFont(Cp932ToWide(font.Name), ui::PointsToPixels(font.Size, dpi),
                                font.Bold, font.Italic);
}

// Today's date in the system's short date format (not the user's date format).
std::string TodayShortDate(SYSTEMTIME today) {
  wchar_t buffer[128] = {};
  const int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &today, nullptr, buffer,
                                128, nullptr);
  return WideToCp932(std::wstring(buffer, n > 0 ? static_cast<std::size_t>(n - 1) : 0));
}

void Place(ui::Window& w, const Rect& r) { w.SetBounds(r.x, r.y, r.w, r.h); }
void Place(ui::Control& c, const Rect& r) { c.SetBounds(r.x, r.y, r.w, r.h); }

}  // namespace

LRESULT PreviewPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  return Panel::HandleMessage(msg, wp, lp);
}

bool PreviewCalendar::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_NCHITTEST) {
    result = HTTRANSPARENT;
    return true;
  }
  return TMonthCalendarEx::OnMessage(msg, wp, lp, result);
}

bool PreviewLabel::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_NCHITTEST) {
    result = HTTRANSPARENT;
    return true;
  }
  return Label::OnMessage(msg, wp, lp, result);
}

TColorTestDialog::~TColorTestDialog() {
  // The children's fonts are deleted after the window that uses them.
  Destroy();
}

void TColorTestDialog::Create(HWND owner) {
  RegisterDialogClass(kColorTestDialogClass);
  CreateHandle(kPreviewExStyle, kColorTestDialogClass, PreviewCaption().c_str(), kPreviewStyle, 0,
               0, 1, 1, owner, 0);
  // Only the close box.
  KeepOnlyMoveAndClose();
  ui::FontSpec font;
  font.pixelHeight96 = 15;
  formFont_ = ui::CreateUiFont(font, Dpi());

  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  BackPanel.Create(Handle(), 1, face);
  MainPanel.Create(BackPanel.Handle(), 2, face);
  TestCalendar.Create(MainPanel.Handle(), 3);
  TestCalendar.SetVisible(true);
  TestLabel.Create(MainPanel.Handle(), 4);
  TestLabel.SetFont(formFont_.get());
}

void TColorTestDialog::HidePreview() {
  if (Handle() && Visible()) ShowWindow(Handle(), SW_HIDE);
}

void TColorTestDialog::ShowOrRefresh(const RECT& dialog, const OptionValues& values) {
  if (!Handle()) return;
  const bool showing = Visible();
  // 1. Showing: hidden first (and shown again below where it is); hidden: beside the dialog.
  if (showing) HidePreview();
  const Rect dialogRect{dialog.left, dialog.top, dialog.right - dialog.left,
                        dialog.bottom - dialog.top};
  if (const std::optional<Point> at = PreviewPlacement(showing, dialogRect)) {
    SetWindowPos(Handle(), nullptr, at->x, at->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // 2. The working fonts: the calendar's, and the date/time font for the date area.
  const UINT dpi = Dpi();
  TestCalendar.TakeFont(calendarFont_, PointFont(values.calendarFont, dpi));
  ui::FontHandle labelFont = PointFont(values.dateTimeFont, dpi);
  TestLabel.SetFont(labelFont.get());
  labelFont_ = std::move(labelFont);

  // 3.-5. The working colours and the transparency mode.
  const PreviewLook look = PreviewLookOf(values);
  TestCalendar.SetColor(CalendarColor::MonthBack, ToColorRef(look.monthBack));
  TestCalendar.SetColor(CalendarColor::Text, ToColorRef(look.monthText));
  TestCalendar.SetColor(CalendarColor::TrailingText, ToColorRef(look.trailText));
  TestCalendar.SetColor(CalendarColor::TitleBack, ToColorRef(look.titleBack));
  TestCalendar.SetColor(CalendarColor::TitleText, ToColorRef(look.titleText));
  MainPanel.SetColor(ToColorRef(look.panelBack));
  TestLabel.SetColors(ToColorRef(look.panelBack), ToColorRef(look.panelText));
  BackPanel.SetColor(ToColorRef(look.formColor));
  ui::SetLayered(Handle(), look.colorKeyOn, ToColorRef(look.colorKey), look.alphaOn,
                 static_cast<BYTE>(look.alpha));

  // 6. Today, on the calendar and as the system's short date.
  SYSTEMTIME today{};
  GetLocalTime(&today);
  today.wHour = today.wMinute = today.wSecond = today.wMilliseconds = 0;
  TestCalendar.SetDate(today);
  TestLabel.SetText(TodayShortDate(today));

  // 7. Shown beside the dialog, which keeps the keyboard; then sized to its content.
  ArrangePreview();
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TColorTestDialog::ArrangePreview() {
  const SIZE month = TestCalendar.MinimumMonthSize();
  const SIZE text = TestLabel.MeasureText(TestLabel.Text());
  const PreviewLayout layout =
      mirovane::ArrangePreview(Size{month.cx, month.cy}, Size{text.cx, text.cy});
  Place(BackPanel, layout.backPanel);
  Place(MainPanel, layout.mainPanel);
  Place(TestCalendar, layout.calendar);
  Place(TestLabel, layout.label);

  RECT frame{0, 0, layout.client.w, layout.client.h};
  AdjustWindowRectExForDpi(&frame, kPreviewStyle, FALSE, kPreviewExStyle, Dpi());
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TColorTestDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      pressed_ = true;
      return 0;
    case WM_LBUTTONUP:
      // A click: pressed and released on the preview.
      if (pressed_) {
        pressed_ = false;
        HidePreview();
      }
      return 0;
    case WM_CLOSE:
      // The close box hides it; the options dialog releases it.
      HidePreview();
      return 0;
    case WM_SHOWWINDOW:
      if (!wp) pressed_ = false;
      break;
    default:
      break;
  }
  return DefaultHandling(msg, wp, lp);
}

}  // namespace mirovane
