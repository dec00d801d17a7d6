#include "dialogs/option_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "controls/clock_canvas_win.h"
#include "format/formatter.h"
#include "platform/codec.h"
#include "settings/colors_win.h"
#include "ui/common_dialogs.h"
#include "ui/dpi.h"

namespace mirovane {

namespace {

constexpr UINT kShowPreviewMessage = WM_APP + 14;

ui::FontSpec FormFontSpec() {
  ui::FontSpec font;  // ＭＳ Ｐゴシック
  font.pixelHeight96 = 15;
  return font;
}

// The font of a settings font as the form scales it: its size in points at 96 DPI.
ui::FontSpec SampleFontSpec(const FontSetting& font) {
  ui::FontSpec out;
  out.face = Cp932ToWide(font.Name);
  out.pixelHeight96 = ui::PointsToPixels(font.Size, ui::kDefaultDpi);
  out.bold = font.Bold;
  out.italic = font.Italic;
  return out;
}

template <std::size_t N>
std::vector<std::string> Items(const std::array<std::string, N>& list) {
  return std::vector<std::string>(list.begin(), list.end());
}

// A control of the table gets a fixed id of its own, so that it can be found from outside.
void SetControlId(const ui::DialogControl& control, int id) {
  if (control.Handle()) SetWindowLongPtrW(control.Handle(), GWLP_ID, id);
}

// The message box of the colour-key confirmation, with its buttons captioned "OK" and
// "キャンセル" whatever the language of the system.
HHOOK g_confirmHook = nullptr;

LRESULT CALLBACK ConfirmHookProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE) {
    const auto box = reinterpret_cast<HWND>(wp);
    wchar_t className[16] = {};
    GetClassNameW(box, className, 16);
    if (std::wcscmp(className, L"#32770") == 0) {
      SetDlgItemTextW(box, IDOK, L"OK");
      SetDlgItemTextW(box, IDCANCEL, Utf8ToWide("キャンセル").c_str());
      const HHOOK hook = g_confirmHook;
      g_confirmHook = nullptr;
      UnhookWindowsHookEx(hook);
      return CallNextHookEx(nullptr, code, wp, lp);
    }
  }
  return CallNextHookEx(g_confirmHook, code, wp, lp);
}

}  // namespace

// ---- ColorSampleText / FontSampleText ----------------------------------------------------------

void ColorSampleText::CreateOn(HWND parent, int id, const std::wstring& caption,
                               unsigned /*flags*/) {
  CreateHandle(WS_EX_STATICEDGE, L"STATIC", caption.c_str(),
               WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, parent, id);
}

void ColorSampleText::SetColors(COLORREF back, COLORREF text) {
  if (brush_ && back == back_ && text == text_) return;
  if (!brush_ || back != back_) brush_.reset(CreateSolidBrush(back));
  back_ = back;
  text_ = text;
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

HBRUSH ColorSampleText::OnCtlColor(HDC dc) {
  if (!brush_) return nullptr;
  SetBkColor(dc, back_);
  SetTextColor(dc, text_);
  return brush_.get();
}

void FontSampleText::CreateOn(HWND parent, int id, const std::wstring& /*caption*/,
                              unsigned /*flags*/) {
  CreateHandle(WS_EX_STATICEDGE, L"STATIC", Cp932ToWide(text_).c_str(),
               WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX, parent, id);
}

void FontSampleText::SetText(const std::string& cp932) {
  if (cp932 == text_) return;
  text_ = cp932;
  if (Handle()) SetWindowTextW(Handle(), Cp932ToWide(text_).c_str());
}

// ---- TOptionSetDialog --------------------------------------------------------------------------

TOptionSetDialog::TOptionSetDialog(OptionDialogTarget target)
    : Form(ui::FormSetup{"オプション設定", 600, 520, ui::FormFrame::SystemMenu, FormFontSpec(),
                         kOptionResultCancel}),
      target_(std::move(target)) {}

TOptionSetDialog::~TOptionSetDialog() {
  // The preview goes with the dialog, whichever way the dialog ends.
  preview_.reset();
  Destroy();
}

void TOptionSetDialog::CreateControls() {
  Add(PageControl1, {8, 8, 584, 468});
  AddPage(PageControl1, tbsWindowAct, " 表示・動作 ");
  AddPage(PageControl1, tbsCalendar, " カレンダー・日付・時刻 ");
  AddPage(PageControl1, tbsFontColor, " フォント・カラー ");

  // Tab 1 " 表示・動作 ", group " 表示 ".
  ui::TabPage* page = &tbsWindowAct;
  Add(GroupBox1, {8, 6, 560, 172}, " 表示 ", ui::kNoFlags, page);
  Add(lblPosY, {20, 32, 120, 18}, "縦表示位置", ui::kNoFlags, page);
  Add(spnPosY, {144, 29, 70, 22}, {}, ui::kNoFlags, page);
  Add(lblPosX, {300, 32, 120, 18}, "横表示位置", ui::kNoFlags, page);
  Add(spnPosX, {424, 29, 70, 22}, {}, ui::kNoFlags, page);
  Add(lblBorderWidth, {20, 60, 120, 18}, "ウィンドウ境界幅", ui::kNoFlags, page);
  Add(spnBorderWidth, {144, 57, 50, 22}, {}, ui::kNoFlags, page);
  Add(lblLabelBorder, {300, 60, 120, 18}, "表示エリア余白", ui::kNoFlags, page);
  Add(spnLabelBorder, {424, 57, 50, 22}, {}, ui::kNoFlags, page);
  Add(chkMemoryPos, {20, 88, 270, 22}, "ウィンドウ表示位置を記憶する", ui::kNoFlags, page);
  Add(chkInnerDesktop, {300, 88, 262, 22}, "ウィンドウをデスクトップ内に収める", ui::kNoFlags,
      page);
  Add(chkStayTop, {20, 114, 270, 22}, "常に前面に表示する", ui::kNoFlags, page);
  Add(chkAlignRight, {300, 114, 262, 22}, "ウィンドウサイズ変更時は右端を基準", ui::kNoFlags, page);
  Add(chkMiniBar, {20, 140, 270, 22}, "ミニタイトルバーを表示する", ui::kNoFlags, page);
  Add(chkShowTray, {300, 140, 262, 22}, "タスクトレイアイコンを表示しない", ui::kNoFlags, page);

  // Group " 動作 ".
  Add(GroupBox2, {8, 188, 560, 238}, " 動作 ", ui::kNoFlags, page);
  cmbSetAction.SetItems(Items(ReactionTriggerCaptions()));
  Add(cmbSetAction, {20, 214, 300, 24}, {}, ui::kNoFlags, page);
  cmbSelAction.SetItems(Items(ReactionActionCaptions()));
  Add(cmbSelAction, {330, 214, 226, 24}, {}, ui::kNoFlags, page);
  struct TimingRow {
    ui::StaticText& label;
    TSpinEditEx& spin;
    ui::StaticText& unit;
    const char* caption;
    const char* unitCaption;
  };
  const TimingRow rows[] = {
      {lblHideTime, spnHideTime, lblHideTimeUnit, "隠蔽持続時間", "×100ミリ秒"},
      {lblHideWait, spnHideWait, lblHideWaitUnit, "隠蔽遅延時間", "×100ミリ秒"},
      {lblDspCycle, spnDspCycle, lblDspCycleUnit, "表示更新周期",
       "×10ミリ秒  （0に設定した場合は日時を更新しません）"},
      {lblAlarmChk, spnAlarmChk, lblAlarmChkUnit, "アラームチェック",
       "×1秒  （0に設定した場合は0.5秒ごとにチェックします）"},
  };
  int y = 252;
  for (const TimingRow& row : rows) {
    Add(row.label, {20, y + 3, 118, 18}, row.caption, ui::kNoFlags, page);
    Add(row.spin, {140, y, 48, 22}, {}, ui::kNoFlags, page);
    Add(row.unit, {194, y + 3, 368, 18}, row.unitCaption, ui::kNoFlags, page);
    y += 40;
  }

  // Tab 2 " カレンダー・日付・時刻 ", group " カレンダー ".
  page = &tbsCalendar;
  Add(GroupBox3, {8, 6, 560, 146}, " カレンダー ", ui::kNoFlags, page);
  Add(chkShowCalen, {20, 28, 250, 22}, "カレンダーを表示しない", ui::kNoFlags, page);
  Add(lblCalendarPos, {280, 31, 116, 18}, "カレンダー配置", ui::kNoFlags, page);
  cmbCalendarPos.SetItems(Items(CalendarPositionCaptions()));
  Add(cmbCalendarPos, {400, 28, 100, 24}, {}, ui::kNoFlags, page);
  Add(chkWeekNum, {20, 56, 250, 22}, "週番号を表示する", ui::kNoFlags, page);
  Add(lblFirstDay, {280, 59, 116, 18}, "週の開始曜日", ui::kNoFlags, page);
  cmbFirstDay.SetItems(Items(FirstDayCaptions()));
  Add(cmbFirstDay, {400, 56, 160, 24}, {}, ui::kNoFlags, page);
  Add(chkRedCircle, {20, 84, 250, 22}, "今日の日付を赤枠で囲む", ui::kNoFlags, page);
  Add(lblMonthY, {20, 117, 166, 18}, "カレンダー表示月数  縦", ui::kNoFlags, page);
  Add(spnMonthY, {190, 114, 42, 22}, {}, ui::kNoFlags, page);
  Add(lblMonthX, {240, 117, 36, 18}, "× 横", ui::kNoFlags, page);
  Add(spnMonthX, {278, 114, 42, 22}, {}, ui::kNoFlags, page);
  Add(lblMonthNote, {330, 117, 230, 18}, "（最大１２ヶ月まで表示可能）", ui::kNoFlags, page);

  // Group " 日付・時刻 ".
  Add(GroupBox4, {8, 162, 560, 264}, " 日付・時刻 ", ui::kNoFlags, page);
  struct FormatRow {
    ui::StaticText& label;
    ui::ComboBox& combo;
    ui::CheckBox& hide;
    ui::StaticText& testCaption;
    ui::StaticText& test;
    const char* caption;
    const char* hideCaption;
    const std::array<std::string, 8>& presets;
  };
  const FormatRow formats[] = {
      {lblDateFormat, cmbDateFormat, chkShowDate, lblDateTestCaption, lblDateTest, "日付形式",
       "日付を表示しない", DateFormatPresets()},
      {lblTimeFormat, cmbTimeFormat, chkShowTime, lblTimeTestCaption, lblTimeTest, "時刻形式",
       "時刻を表示しない", TimeFormatPresets()},
  };
  y = 186;
  for (const FormatRow& row : formats) {
    Add(row.label, {20, y + 3, 70, 18}, row.caption, ui::kNoFlags, page);
    row.combo.editable = true;
    row.combo.maxBytes = static_cast<int>(kFormatEditLimit);
    row.combo.SetItems(Items(row.presets));
    Add(row.combo, {94, y, 320, 24}, {}, ui::kNoFlags, page);
    Add(row.hide, {426, y + 1, 136, 22}, row.hideCaption, ui::kNoFlags, page);
    Add(row.testCaption, {20, y + 32, 90, 18}, "形式テスト：", ui::kNoFlags, page);
    row.test.wordWrap = true;
    row.test.noPrefix = true;
    Add(row.test, {110, y + 32, 450, 36}, {}, ui::kNoFlags, page);
    y += 82;
  }
  Add(chkShowClock, {20, 356, 250, 22}, "アナログ時計を表示しない", ui::kNoFlags, page);
  Add(lblClockPos, {280, 359, 116, 18}, "アナログ時計配置", ui::kNoFlags, page);
  cmbClockPos.SetItems(Items(ClockPositionCaptions()));
  Add(cmbClockPos, {400, 356, 100, 24}, {}, ui::kNoFlags, page);

  // Tab 3 " フォント・カラー ", group " フォント ".
  page = &tbsFontColor;
  Add(GroupBox5, {8, 6, 560, 192}, " フォント ", ui::kNoFlags, page);
  // The same left margin as the other tabs (20); the samples keep their 453 pixels and end 5
  // pixels inside the frame, which leaves the buttons their 86.
  Add(lblCalendarCaption, {20, 30, 86, 18}, "カレンダー", ui::kNoFlags, page);
  Add(btnCalendar, {20, 54, 86, 26}, "フォント変更", ui::kNoFlags, page);
  Add(lblCalendar, {110, 26, 453, 61}, {}, ui::kNoFlags, page);
  Add(lblDateTimeCaption, {20, 99, 86, 18}, "日付・時刻", ui::kNoFlags, page);
  Add(btnDateTime, {20, 123, 86, 26}, "フォント変更", ui::kNoFlags, page);
  Add(lblDateTime, {110, 95, 453, 61}, {}, ui::kNoFlags, page);
  Add(lblFontSize, {20, 169, 470, 18},
      "カレンダーを表示しないときにアナログ時計のフォントサイズを変更する", ui::kNoFlags, page);
  Add(spnFontSize, {497, 166, 60, 22}, {}, ui::kNoFlags, page);

  // Group " カラー ", with the group " 透明化 " inside.
  Add(GroupBox6, {8, 206, 560, 220}, " カラー ", ui::kNoFlags, page);
  cmbColor.SetItems(Items(ColorSlotCaptions()));
  Add(cmbColor, {20, 230, 300, 24}, {}, ui::kNoFlags, page);
  Add(stcColor, {20, 262, 300, 38}, "サンプル", ui::kNoFlags, page);
  Add(btnColorDlg, {332, 229, 110, 26}, "カラー変更", ui::kNoFlags, page);
  Add(btnColorInit1, {20, 308, 112, 26}, "初期化 （白）", ui::kNoTabStop, page);
  Add(btnColorInit2, {138, 308, 112, 26}, "初期化 （紺）", ui::kNoTabStop, page);
  Add(btnColorInit3, {256, 308, 112, 26}, "初期化 （黒）", ui::kNoTabStop, page);
  Add(btnTest, {332, 268, 110, 26}, "配色テスト", ui::kNoFlags, page);
  Add(GroupBox7, {16, 340, 544, 78}, " 透明化 ", ui::kNoFlags, page);
  Add(optNone, {28, 362, 116, 22}, "透明化なし", ui::kGroupStart, page);
  Add(optTransparent, {150, 362, 270, 22}, "背景透明化 （Windows 2000以降）", ui::kNoFlags, page);
  Add(optAlpha, {150, 388, 270, 22}, "半透明化 （Windows 2000以降）", ui::kNoFlags, page);
  Add(lblAlpha, {420, 391, 66, 18}, "半透明度", ui::kNoFlags, page);
  Add(spnAlpha, {488, 388, 60, 22}, {}, ui::kGroupStart, page);

  // The four buttons below the tabs.
  Add(btnOk, {56, 484, 128, 28}, "設定保存(&S)", ui::kDefault);
  Add(btnIgnore, {192, 484, 128, 28}, "一時適用(&A)");
  Add(btnRetry, {328, 484, 128, 28}, "元に戻す(&R)");
  Add(btnCancel, {464, 484, 128, 28}, "キャンセル(&C)", ui::kCancel);

  ui::FontSpec fixed;
  fixed.face = Utf8ToWide("ＭＳ ゴシック");
  fixed.pixelHeight96 = 15;
  SetControlFont(cmbDateFormat, fixed);
  SetControlFont(cmbTimeFormat, fixed);
  ui::FontSpec sample = FormFontSpec();
  sample.pixelHeight96 = 19;
  sample.bold = true;
  SetControlFont(stcColor, sample);

  const std::pair<const ui::DialogControl*, int> ids[] = {
      {&PageControl1, kOptTabsId},
      {&btnOk, kOptOkId},
      {&btnIgnore, kOptIgnoreId},
      {&btnRetry, kOptRetryId},
      {&btnCancel, kOptCancelId},
      {&cmbDateFormat, kOptDateFormatId},
      {&lblDateTest, kOptDateTestId},
      {&cmbTimeFormat, kOptTimeFormatId},
      {&lblTimeTest, kOptTimeTestId},
      {&optNone, kOptNoneId},
      {&optTransparent, kOptTransparentId},
      {&optAlpha, kOptAlphaId},
      {&btnTest, kOptTestButtonId},
      {&lblCalendar, kOptCalendarSampleId},
      {&lblDateTime, kOptDateTimeSampleId},
      {&stcColor, kOptColorSampleId},
      {&spnMonthX, kOptMonthXId},
      {&spnMonthY, kOptMonthYId},
      {&spnPosX, kOptPosXId},
      {&spnPosY, kOptPosYId},
      {&spnAlpha, kOptAlphaSpinId},
  };
  for (const auto& [control, id] : ids) SetControlId(*control, id);
}

void TOptionSetDialog::ConnectHandlers() {
  chkMemoryPos.onClick = [this] { chkMemoryPosClick(); };
  cmbSetAction.onChange = [this] { SelectReactionTrigger(cmbSetAction.ItemIndex()); };
  cmbSelAction.onChange = [this] { SetReactionAction(v_, cmbSelAction.ItemIndex()); };
  spnMonthX.onChange = [this] { spnMonthChange(true); };
  spnMonthY.onChange = [this] { spnMonthChange(false); };
  cmbDateFormat.onChange = [this] { RefreshPreview(cmbDateFormat, lblDateTest); };
  cmbTimeFormat.onChange = [this] { RefreshPreview(cmbTimeFormat, lblTimeTest); };
  btnCalendar.onClick = [this] { ChooseFontFor(v_.calendarFont, lblCalendar); };
  btnDateTime.onClick = [this] { ChooseFontFor(v_.dateTimeFont, lblDateTime); };
  cmbColor.onChange = [this] { ShowColorSlot(cmbColor.ItemIndex()); };
  btnColorDlg.onClick = [this] { btnColorDlgClick(); };
  btnColorInit1.onClick = [this] { btnColorInitClick(ColorPreset::White); };
  btnColorInit2.onClick = [this] { btnColorInitClick(ColorPreset::Navy); };
  btnColorInit3.onClick = [this] { btnColorInitClick(ColorPreset::Black); };
  btnTest.onClick = [this] { btnTestClick(); };
  for (ui::RadioButton* option : {&optNone, &optTransparent, &optAlpha}) {
    option->onClick = [this] { optAlphaClick(); };
  }
  btnOk.onClick = [this] { btnOkClick(kOptionResultSave); };
  btnIgnore.onClick = [this] { btnOkClick(kOptionResultApply); };
  btnRetry.onClick = [this] { SetModalResult(kOptionResultRevert); };
  btnCancel.onClick = [this] { SetModalResult(kOptionResultCancel); };
  onDestroy = [this] { FormDestroy(); };
}

void TOptionSetDialog::FormCreate() {
  ConnectHandlers();
  LoadStep();
  if (initialTab > 0 && initialTab < PageControl1.PageCount()) {
    PageControl1.SetActiveIndex(initialTab);
  }
  if (showPreviewAtStart) PostMessageW(Handle(), kShowPreviewMessage, 0, 0);
}

void TOptionSetDialog::FormDestroy() {
  if (preview_) {
    preview_->HidePreview();
    preview_.reset();
  }
}

LRESULT TOptionSetDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kShowPreviewMessage) {
    btnTestClick();
    return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

// ---- Load and apply steps ----------------------------------------------------------------------

void TOptionSetDialog::LoadStep() {
  // The working values, already consistent; setting the controls runs their handlers, which find
  // nothing to correct. The colour-key question stays unarmed until the very end.
  const OptionValues loaded = LoadOptions(*target_.settings, target_.window);
  v_ = loaded;
  v_.colorKeyConfirmArmed = false;

  // 1. Tabs 1 and 2.
  chkMemoryPos.SetChecked(loaded.memoryPosition);
  chkMemoryPosClick();  // the tick may already be the loaded one: the rule applies all the same
  chkInnerDesktop.SetChecked(loaded.innerDesktop);
  chkAlignRight.SetChecked(loaded.alignRight);
  spnPosY.SetValue(loaded.posY);
  spnPosX.SetValue(loaded.posX);
  spnBorderWidth.SetValue(loaded.borderWidth);
  spnLabelBorder.SetValue(loaded.labelBorder);
  chkShowTray.SetChecked(loaded.hideTrayIcon);
  chkStayTop.SetChecked(loaded.stayOnTop);
  chkMiniBar.SetChecked(loaded.titleBar);
  chkShowCalen.SetChecked(loaded.hideCalendar);
  chkShowDate.SetChecked(loaded.hideDateLabel);
  chkShowTime.SetChecked(loaded.hideTimeLabel);
  chkShowClock.SetChecked(loaded.hideClock);
  chkRedCircle.SetChecked(loaded.todayCircle);
  chkWeekNum.SetChecked(loaded.weekNumbers);
  cmbFirstDay.SetItemIndex(loaded.firstDay);
  spnMonthX.SetValue(loaded.monthColumns);
  spnMonthY.SetValue(loaded.monthRows);
  cmbCalendarPos.SetItemIndex(loaded.calendarPos);
  cmbDateFormat.SetText(loaded.dateFormat);
  cmbTimeFormat.SetText(loaded.timeFormat);
  cmbClockPos.SetItemIndex(loaded.clockPos);

  // 2.-3. The reaction slots are in v_; the timing spins.
  spnHideTime.SetValue(loaded.hideTime);
  spnHideWait.SetValue(loaded.hideWait);
  spnDspCycle.SetValue(loaded.dspCycle);
  spnAlarmChk.SetValue(loaded.alarmChk);

  // 4. Tab 3: font samples, the clock font-size change, the colour slots (in v_), the
  // transparency buttons and the alpha.
  ShowFontSample(loaded.calendarFont, lblCalendar);
  ShowFontSample(loaded.dateTimeFont, lblDateTime);
  spnFontSize.SetValue(loaded.fontSizeChange);
  switch (loaded.transparency) {
    case TransparencyMode::ColorKey:
      optTransparent.SetChecked(true);
      break;
    case TransparencyMode::Alpha:
      optAlpha.SetChecked(true);
      break;
    case TransparencyMode::None:
      optNone.SetChecked(true);
      break;
  }
  optAlphaClick();
  spnAlpha.SetValue(loaded.alpha);

  // 5. The first trigger, colour slot 0 and both format previews.
  SelectReactionTrigger(0);
  ShowColorSlot(0);
  RefreshPreview(cmbDateFormat, lblDateTest);
  RefreshPreview(cmbTimeFormat, lblTimeTest);

  // 6. The colour preview, hidden.
  preview_ = std::make_unique<TColorTestDialog>();
  preview_->Create(Handle());

  // 7. The colour-key question, armed when that mode is off now.
  v_.colorKeyConfirmArmed = loaded.colorKeyConfirmArmed;
}

void TOptionSetDialog::ReadControls() {
  v_.memoryPosition = chkMemoryPos.Checked();
  v_.innerDesktop = chkInnerDesktop.Checked();
  v_.alignRight = chkAlignRight.Checked();
  v_.posY = spnPosY.Value();
  v_.posX = spnPosX.Value();
  v_.borderWidth = spnBorderWidth.Value();
  v_.labelBorder = spnLabelBorder.Value();
  v_.hideTrayIcon = chkShowTray.Checked();
  v_.stayOnTop = chkStayTop.Checked();
  v_.titleBar = chkMiniBar.Checked();
  v_.hideCalendar = chkShowCalen.Checked();
  v_.hideDateLabel = chkShowDate.Checked();
  v_.hideTimeLabel = chkShowTime.Checked();
  v_.hideClock = chkShowClock.Checked();
  v_.todayCircle = chkRedCircle.Checked();
  v_.weekNumbers = chkWeekNum.Checked();
  v_.firstDay = cmbFirstDay.ItemIndex();
  v_.monthColumns = spnMonthX.Value();
  v_.monthRows = spnMonthY.Value();
  v_.calendarPos = cmbCalendarPos.ItemIndex();
  v_.dateFormat = FormatToStore(v_.dateFormat, cmbDateFormat.Text());
  v_.timeFormat = FormatToStore(v_.timeFormat, cmbTimeFormat.Text());
  v_.clockPos = cmbClockPos.ItemIndex();
  v_.hideTime = spnHideTime.Value();
  v_.hideWait = spnHideWait.Value();
  v_.dspCycle = spnDspCycle.Value();
  v_.alarmChk = spnAlarmChk.Value();
  v_.fontSizeChange = spnFontSize.Value();
  v_.alpha = spnAlpha.Value();
}

void TOptionSetDialog::btnOkClick(int result) {
  // A format with characters the settings file cannot hold would be stored as another format:
  // the dialog stays open on it.
  const std::pair<ui::ComboBox*, const char*> formats[] = {{&cmbDateFormat, "日付形式"},
                                                           {&cmbTimeFormat, "時刻形式"}};
  for (const auto& [combo, caption] : formats) {
    if (combo->Cp932Lacks().empty()) continue;
    PageControl1.SetActiveIndex(1);
    const std::wstring text = ui::UnstorableTextMessage(caption, combo->Cp932Lacks());
    if (onNotice) {
      onNotice(text);
    } else {
      MessageBoxW(Handle(), text.c_str(), L"Mirovane", MB_OK | MB_ICONWARNING);
    }
    combo->Focus();
    return;
  }
  ReadControls();
  OptionScreen screen;
  screen.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  if (target_.mainWindow) {
    RECT r{};
    GetWindowRect(target_.mainWindow, &r);
    screen.windowWidth = r.right - r.left;
  }
  if (target_.settings) {
    const OptionApplyResult applied = ApplyOptions(v_, screen, *target_.settings);
    if (target_.applyToWindow) target_.applyToWindow(applied);
  }
  SetModalResult(result);
}

// ---- Handlers ----------------------------------------------------------------------------------

void TOptionSetDialog::chkMemoryPosClick() {
  v_.memoryPosition = chkMemoryPos.Checked();
  chkInnerDesktop.SetEnabled(InnerDesktopEnabled(v_));
}

void TOptionSetDialog::SelectReactionTrigger(int trigger) {
  mirovane::SelectReactionTrigger(v_, trigger);
  cmbSetAction.SetItemIndex(v_.selectedTrigger);
  cmbSelAction.SetItemIndex(v_.selectedAction);
}

void TOptionSetDialog::spnMonthChange(bool columnsChanged) {
  // The other spin is limited from the changed one's new value; setting it runs its own rule,
  // which then finds nothing to change.
  if (columnsChanged) {
    SetMonthColumns(v_, spnMonthX.Value());
    if (spnMonthY.Value() != v_.monthRows) spnMonthY.SetValue(v_.monthRows);
  } else {
    SetMonthRows(v_, spnMonthY.Value());
    if (spnMonthX.Value() != v_.monthColumns) spnMonthX.SetValue(v_.monthColumns);
  }
}

void TOptionSetDialog::RefreshPreview(ui::ComboBox& format, ui::StaticText& preview) {
  // The moment of the main window's last display refresh; the eras as the settings being edited
  // choose them.
  DateTimeFormatter formatter;
  if (target_.display) {
    formatter = *target_.display;
  } else {
    formatter.SetDateTimeEx(LocalNow());
  }
  formatter.SetNewEras(target_.settings && target_.settings->NewEras);
  preview.SetText(formatter.FormatDateTimeEx(format.Text()));
}

void TOptionSetDialog::ShowFontSample(const FontSetting& font, FontSampleText& label) {
  SetControlFont(label, SampleFontSpec(font));
  label.SetText(FontDescription(font));
  InvalidateRect(label.Handle(), nullptr, TRUE);
}

void TOptionSetDialog::ChooseFontFor(FontSetting& font, FontSampleText& label) {
  LOGFONTW logFont{};
  const HDC dc = GetDC(Handle());
  const int pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(Handle(), dc);
  logFont.lfHeight = -ui::PointsToPixels(font.Size, static_cast<UINT>(pixelsPerInch));
  logFont.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.Italic ? TRUE : FALSE;
  logFont.lfCharSet = DEFAULT_CHARSET;
  const std::wstring face = Cp932ToWide(font.Name);
  wcsncpy_s(logFont.lfFaceName, LF_FACESIZE, face.c_str(), _TRUNCATE);

  // Face, style and size only: no colour, no effects, no size limits.
  CHOOSEFONTW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = Handle();
  choose.lpLogFont = &logFont;
  choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_NOSCRIPTSEL;
  if (!ShowFontDialog(&choose)) return;

  FontSetting chosen;
  // A face the settings file cannot name would come back as no font at all.
  const std::optional<std::string> name = WideToCp932Exact(logFont.lfFaceName);
  if (!name) {
    const std::wstring text =
        ui::UnstorableTextMessage("フォント名", Cp932Lacks(logFont.lfFaceName));
    MessageBoxW(Handle(), text.c_str(), L"Mirovane", MB_OK | MB_ICONWARNING);
    return;
  }
  chosen.Name = *name;
  chosen.Size = choose.iPointSize > 0 ? (choose.iPointSize + 5) / 10
                                      : MulDiv(std::abs(logFont.lfHeight), 72, pixelsPerInch);
  chosen.Bold = logFont.lfWeight >= FW_BOLD;
  chosen.Italic = logFont.lfItalic != 0;
  font = chosen;
  ShowFontSample(font, label);
}

void TOptionSetDialog::ShowColorSlot(int slot) {
  const ColorSample sample = mirovane::ShowColorSlot(v_, slot);
  cmbColor.SetItemIndex(v_.selectedColorSlot);
  stcColor.SetColors(ToColorRef(sample.back), ToColorRef(sample.text));
}

void TOptionSetDialog::btnColorDlgClick() {
  const auto slot = static_cast<std::size_t>(v_.selectedColorSlot);
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = Handle();
  choose.rgbResult = ToColorRef(v_.colorSlots[slot]);
  choose.lpCustColors = customColors_.data();
  choose.Flags = CC_RGBINIT | CC_ANYCOLOR;
  if (!ShowColorDialog(&choose)) return;
  v_.colorSlots[slot] = static_cast<ColorValue>(choose.rgbResult & 0x00FFFFFF);
  ShowColorSlot(static_cast<int>(slot));
}

void TOptionSetDialog::btnColorInitClick(ColorPreset preset) {
  ApplyColorPreset(v_, preset);
  ShowColorSlot(0);
}

bool TOptionSetDialog::ConfirmColorKey() {
  g_confirmHook = SetWindowsHookExW(WH_CBT, ConfirmHookProc, nullptr, GetCurrentThreadId());
  const int answer =
      MessageBoxW(Handle(), Cp932ToWide(TransparencyConfirmText()).c_str(),
                  Cp932ToWide(TransparencyConfirmCaption()).c_str(), MB_OKCANCEL | MB_ICONQUESTION);
  if (g_confirmHook) {
    UnhookWindowsHookEx(g_confirmHook);
    g_confirmHook = nullptr;
  }
  return answer == IDOK;
}

void TOptionSetDialog::optAlphaClick() {
  const TransparencyMode chosen = optTransparent.Checked() ? TransparencyMode::ColorKey
                                  : optAlpha.Checked()     ? TransparencyMode::Alpha
                                                           : TransparencyMode::None;
  SelectTransparency(v_, chosen, [this] { return ConfirmColorKey(); });
  // Declined: back to "透明化なし" (its click runs this handler again, with the flag disarmed).
  if (v_.transparency == TransparencyMode::None && !optNone.Checked()) optNone.SetChecked(true);
  const bool alpha = AlphaControlsEnabled(v_);
  lblAlpha.SetEnabled(alpha);
  spnAlpha.SetEnabled(alpha);
}

void TOptionSetDialog::btnTestClick() {
  if (!preview_) return;
  ReadControls();
  RECT dialog{};
  GetWindowRect(Handle(), &dialog);
  preview_->ShowOrRefresh(dialog, v_);
}

}  // namespace mirovane
