// TColorTestDialog: the colour preview " 配色テスト（色の確認のみ）" of the options dialog. A small
// tool window showing the dialog's working fonts, colours and transparency on a miniature of the
// main window: a one-month calendar above today's date, framed in the border colour. It only
// displays; a click anywhere on it hides it. The options dialog creates it hidden when it opens
// and releases it when it closes; it is not disabled by that dialog's modal loop, so it takes
// clicks while the dialog is open.
#pragma once

#include <windows.h>

#include "controls/month_calendar_ex.h"
#include "dialogs/option_rules.h"
#include "settings/settings.h"
#include "ui/gdi.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/window.h"

namespace mirovane {

inline constexpr wchar_t kColorTestDialogClass[] = L"TColorTestDialog";

// Children of the preview that leave the mouse to the form: a click anywhere on the preview
// reaches the form itself (HTTRANSPARENT passes it to the window below, the parent).
class PreviewPanel : public ui::Panel {
 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};
class PreviewCalendar : public TMonthCalendarEx {
 protected:
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};
class PreviewLabel : public ui::Label {
 protected:
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

class TColorTestDialog : public ui::Window {
 public:
  TColorTestDialog() = default;
  ~TColorTestDialog() override;

  // Creates the preview, hidden, owned by `owner` (the options dialog).
  void Create(HWND owner);

  // btnTestClick: hides the preview if it is showing, else places it beside `dialog` (its top at
  // the dialog's top, its left at the dialog's right edge); then gives it the working fonts,
  // colours and transparency and shows it, sized to its content. So pressed while showing, it is
  // shown anew at once where it is.
  void ShowOrRefresh(const RECT& dialog, const OptionValues& values);
  // FormClick: hides it (it is not destroyed).
  void HidePreview();
  bool Showing() const noexcept { return Visible(); }

  // Children, by their design names.
  PreviewPanel BackPanel;
  PreviewPanel MainPanel;
  PreviewCalendar TestCalendar;
  PreviewLabel TestLabel;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void ArrangePreview();

  ui::FontHandle calendarFont_;
  ui::FontHandle labelFont_;
  ui::FontHandle formFont_;
  bool pressed_ = false;
};

}  // namespace mirovane
