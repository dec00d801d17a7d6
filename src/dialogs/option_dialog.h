// TOptionSetDialog: the modal options dialog "オプション設定" with its three tabs. It edits a
// working copy (OptionValues, dialogs/option_rules.h) and touches the settings record and the main
// window only in its apply step, which "設定保存(&S)" and "一時適用(&A)" run before they close it.
//
// Result codes: btnOk 1 (save), btnIgnore 5 (apply without saving), btnRetry 4 (revert to the
// file), btnCancel and the close box 2.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "controls/spin_edit.h"
#include "dialogs/color_test_dialog.h"
#include "dialogs/option_rules.h"
#include "format/formatter.h"
#include "settings/settings.h"
#include "ui/dialog_controls.h"
#include "ui/form.h"
#include "ui/gdi.h"

namespace mirovane {

// How the options dialog ends: its modal result, the one set of codes the dialog sets and the
// main window reads.
enum OptionResult : int {
  kOptionResultSave = 1,    // "設定保存(&S)": applied and written to the file
  kOptionResultCancel = 2,  // "キャンセル(&C)", the close box, Esc
  kOptionResultRevert = 4,  // "元に戻す(&R)": back to the file's values
  kOptionResultApply = 5,   // "一時適用(&A)": applied, not written
};

// Control ids of the dialog, fixed so that tests and other processes can find the controls.
enum OptionDialogControlId : int {
  kOptTabsId = 2001,
  kOptOkId,
  kOptIgnoreId,
  kOptRetryId,
  kOptCancelId,
  kOptDateFormatId,
  kOptDateTestId,
  kOptTimeFormatId,
  kOptTimeTestId,
  kOptNoneId,
  kOptTransparentId,
  kOptAlphaId,
  kOptTestButtonId,
  kOptCalendarSampleId,
  kOptDateTimeSampleId,
  kOptColorSampleId,
  kOptMonthXId,
  kOptMonthYId,
  kOptPosXId,
  kOptPosYId,
  kOptAlphaSpinId,
};

// What the dialog reads of the main window and how it hands its apply step back.
struct OptionDialogTarget {
  TCalendarSettings* settings = nullptr;  // the record the apply step writes
  OptionWindowState window;               // the main window's present state
  HWND mainWindow = nullptr;              // its width converts a right-aligned position
  // The main window's display: the format previews render its moment with its regional
  // settings, each on a copy of its own (none: the present, fixed regional settings).
  const DateTimeFormatter* display = nullptr;
  // The live part of the apply step: the main window moves and takes fonts, colours,
  // transparency, week numbers, today circle, month grid and refresh period from the record.
  std::function<void(const OptionApplyResult&)> applyToWindow;
};

// A static text in colours of its own: the colour sample stcColor (lowered bevel, centred).
class ColorSampleText : public ui::DialogControl {
 public:
  void SetColors(COLORREF back, COLORREF text);
  COLORREF Back() const noexcept { return back_; }
  COLORREF TextColor() const noexcept { return text_; }

 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;
  HBRUSH OnCtlColor(HDC dc) override;

 private:
  COLORREF back_ = 0;
  COLORREF text_ = 0;
  ui::BrushHandle brush_;
};

// A font sample: the text vertically centred, '&' shown as it is, in a lowered frame.
class FontSampleText : public ui::DialogControl {
 public:
  void SetText(const std::string& cp932);
  const std::string& Text() const noexcept { return text_; }

 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;

 private:
  std::string text_;
};

class TOptionSetDialog : public ui::Form {
 public:
  explicit TOptionSetDialog(OptionDialogTarget target);
  ~TOptionSetDialog() override;

  // Runs before the dialog opens on a tab other than the first (showcase and screenshots).
  int initialTab = 0;
  // Opens the colour preview once the dialog shows (showcase and screenshots).
  bool showPreviewAtStart = false;

  const OptionValues& Values() const noexcept { return v_; }
  // Shows a notice that keeps the dialog open (a format that cannot be stored); empty = a message
  // box.
  std::function<void(const std::wstring& text)> onNotice;

  // Controls, by their design names, in the order of the table.
  ui::TabControl PageControl1;
  ui::TabPage tbsWindowAct, tbsCalendar, tbsFontColor;
  // Tab 1
  ui::GroupBox GroupBox1, GroupBox2;
  ui::StaticText lblPosY, lblPosX, lblBorderWidth, lblLabelBorder;
  TSpinEditEx spnPosY{kSpinPosition}, spnPosX{kSpinPosition};
  TSpinEditEx spnBorderWidth{kSpinBorder}, spnLabelBorder{kSpinBorder};
  ui::CheckBox chkMemoryPos, chkInnerDesktop, chkStayTop, chkAlignRight, chkMiniBar, chkShowTray;
  ui::ComboBox cmbSetAction, cmbSelAction;
  ui::StaticText lblHideTime, lblHideWait, lblDspCycle, lblAlarmChk;
  ui::StaticText lblHideTimeUnit, lblHideWaitUnit, lblDspCycleUnit, lblAlarmChkUnit;
  TSpinEditEx spnHideTime{kSpinHideTime}, spnHideWait{kSpinHideTime};
  TSpinEditEx spnDspCycle{kSpinDspCycle}, spnAlarmChk{kSpinAlarmChk};
  // Tab 2
  ui::GroupBox GroupBox3, GroupBox4;
  ui::CheckBox chkShowCalen, chkWeekNum, chkRedCircle;
  ui::StaticText lblCalendarPos, lblFirstDay, lblMonthY, lblMonthX, lblMonthNote;
  ui::ComboBox cmbCalendarPos, cmbFirstDay;
  TSpinEditEx spnMonthY{kSpinMonthCount}, spnMonthX{kSpinMonthCount};
  ui::StaticText lblDateFormat, lblDateTestCaption, lblDateTest;
  ui::StaticText lblTimeFormat, lblTimeTestCaption, lblTimeTest;
  ui::ComboBox cmbDateFormat, cmbTimeFormat;
  ui::CheckBox chkShowDate, chkShowTime, chkShowClock;
  ui::StaticText lblClockPos;
  ui::ComboBox cmbClockPos;
  // Tab 3
  ui::GroupBox GroupBox5, GroupBox6, GroupBox7;
  ui::StaticText lblCalendarCaption, lblDateTimeCaption, lblFontSize;
  FontSampleText lblCalendar, lblDateTime;
  ui::Button btnCalendar, btnDateTime;
  TSpinEditEx spnFontSize{kSpinFontSize};
  ui::ComboBox cmbColor;
  ColorSampleText stcColor;
  ui::Button btnColorDlg, btnColorInit1, btnColorInit2, btnColorInit3, btnTest;
  ui::RadioButton optNone, optTransparent, optAlpha;
  ui::StaticText lblAlpha;
  TSpinEditEx spnAlpha{kSpinAlpha};
  // The four buttons below the tabs.
  ui::Button btnOk, btnIgnore, btnRetry, btnCancel;

  // The colour preview; exists while the dialog is open.
  TColorTestDialog* Preview() noexcept { return preview_.get(); }

 protected:
  void CreateControls() override;
  void FormCreate() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void ConnectHandlers();
  void FormDestroy();
  // Load and apply steps.
  void LoadStep();
  void ReadControls();
  void btnOkClick(int result);
  // Handlers and the operations they share.
  void chkMemoryPosClick();
  void SelectReactionTrigger(int trigger);
  void spnMonthChange(bool columnsChanged);
  void RefreshPreview(ui::ComboBox& format, ui::StaticText& preview);
  void ShowFontSample(const FontSetting& font, FontSampleText& label);
  void ChooseFontFor(FontSetting& font, FontSampleText& label);
  void ShowColorSlot(int slot);
  void btnColorDlgClick();
  void btnColorInitClick(ColorPreset preset);
  void optAlphaClick();
  void btnTestClick();
  bool ConfirmColorKey();

  OptionDialogTarget target_;
  OptionValues v_;
  std::array<COLORREF, 16> customColors_{};
  std::unique_ptr<TColorTestDialog> preview_;
};

}  // namespace mirovane
