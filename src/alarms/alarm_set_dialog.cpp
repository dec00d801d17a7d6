#include "alarms/alarm_set_dialog.h"

#include <commdlg.h>

#include <array>
#include <filesystem>
#include <string_view>
#include <vector>

#include "alarms/alarm_host_win.h"
#include "platform/codec.h"
#include "ui/common_dialogs.h"
#include "ui/dpi.h"

namespace mirovane {
namespace {

// A notice asked for while the focus leaves the path edit shows once the focus has moved.
constexpr UINT kShowPathNotice = WM_APP + 1;

std::vector<std::string> Items(std::initializer_list<std::string_view> utf8) {
  std::vector<std::string> items;
  items.reserve(utf8.size());
  for (std::string_view text : utf8) items.push_back(Utf8ToCp932(text));
  return items;
}

SYSTEMTIME DateTimeOf(CivilDate date, int hour, int minute) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(date.year);
  st.wMonth = static_cast<WORD>(date.month);
  st.wDay = static_cast<WORD>(date.day);
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  return st;
}

CivilDate DateOf(const SYSTEMTIME& st) { return CivilDate{st.wYear, st.wMonth, st.wDay}; }

// Places inside the two group boxes are given relative to their box.
ui::Place InDateTime(int x, int y, int w, int h) { return {10 + x, 8 + y, w, h}; }
ui::Place InAction(int x, int y, int w, int h) { return {10 + x, 136 + y, w, h}; }

constexpr int kComboHeight = 23;
constexpr int kEditHeight = 23;
constexpr int kCheckHeight = 20;
constexpr int kLabelHeight = 17;
// Labels beside a 23-pixel control sit on its text line.
constexpr int kLabelDrop = 4;

std::optional<std::string> BrowseWithSystemPrompt(HWND owner, const std::string& path) {
  std::wstring file = Cp932ToWide(path);
  std::wstring buffer(32768, L'\0');
  file.copy(buffer.data(), std::min(file.size(), buffer.size() - 1));
  std::wstring folder;
  if (!path.empty()) folder = std::filesystem::path(file).parent_path().wstring();
  const std::wstring title = Utf8ToWide(Cp932ToUtf8(editor_text::BrowseTitle()));
  // "name|pattern" becomes the prompt's "name\0pattern\0\0".
  std::wstring filter = Utf8ToWide(Cp932ToUtf8(editor_text::BrowseFilter()));
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  filter.push_back(L'\0');

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING;
  if (!ShowOpenFileDialog(&ofn)) return std::nullopt;
  // A path the list cannot hold would name another file (or none) once stored.
  const std::wstring chosen = buffer.c_str();
  std::optional<std::string> cp932 = WideToCp932Exact(chosen);
  if (!cp932) {
    MessageBoxW(owner, ui::UnstorableTextMessage("実行するファイル名", Cp932Lacks(chosen)).c_str(),
                L"Mirovane", MB_OK);
  }
  return cp932;
}

}  // namespace

TAlarmSetDialog::TAlarmSetDialog(const AlarmEditorStart& start)
    : Form(ui::FormSetup{"アラーム設定登録", 500, 375, ui::FormFrame::CloseBoxOnly,
                         ui::ProportionalFont(15), kModalCancel}),
      spnMinute(kSpinAlarmMinute),
      spnDelayed(kSpinAlarmDelay),
      start_(start) {}

void TAlarmSetDialog::CreateControls() {
  cmbDateType.SetItems(Items({"日付指定", "毎年", "毎月", "毎日", "曜日指定"}));
  cmbWeek.SetItems(Items({"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日",
                          "平日(月曜～金曜)", "週末(土曜・日曜)"}));
  cmbTimeType.SetItems(Items({"時刻指定", "毎時", "毎分", "起動時＋分", "起動時のみ"}));
  cmbAmPm.SetItems(Items({"時間帯指定なし", "午前(00:00～11:59)", "午後(12:00～23:59)",
                          "昼間(06:00～17:59)", "夜間(18:00～05:59)"}));
  cmbIcon.SetItems(Items({"アイコン表示なし", "情報アイコン（ｉ）", "疑問アイコン（？）",
                          "警告アイコン（！）", "禁止アイコン（×）"}));
  dtpDateUpDown.upDown = true;
  dtpTimeSet.timeOnly = true;
  memMessage.multiLine = true;
  // Bytes, not characters: the line keeps 255 bytes of message text, so whatever fits here comes
  // back whole the next time the alarm is opened.
  memMessage.maxBytes = static_cast<int>(kEditorMessageLimit);
  edtFilePath.imeOff = true;
  edtFilePath.maxChars = static_cast<int>(kEditorPathLimit);
  edtCmndLine.imeOff = true;
  edtCmndLine.maxChars = static_cast<int>(kEditorPathLimit);
  lblDelayed1.rightAlign = true;

  Add(grpDateTime, {10, 8, 482, 118}, " 日時設定 ");
  Add(cmbDateType, InDateTime(20, 32, 125, kComboHeight));
  Add(dtpDateSet, InDateTime(160, 32, 181, kEditHeight));
  Add(dtpDateUpDown, InDateTime(160, 32, 181, kEditHeight));
  Add(cmbWeek, InDateTime(160, 32, 181, kComboHeight));
  Add(chkLeapOnly, InDateTime(356, 34, 117, kCheckHeight), "閏年のみ");
  Add(chkLastDay, InDateTime(356, 34, 117, kCheckHeight), "月末日固定");
  Add(cmbTimeType, InDateTime(20, 76, 125, kComboHeight));
  Add(dtpTimeSet, InDateTime(160, 76, 105, kEditHeight));
  Add(spnMinute, InDateTime(160, 76, 61, kEditHeight));
  Add(lblMinute, InDateTime(224, 76 + kLabelDrop, 40, kLabelHeight), "分毎");
  Add(lblDelayed1, InDateTime(148, 76 + kLabelDrop, 48, kLabelHeight), "遅延");
  Add(spnDelayed, InDateTime(200, 76, 53, kEditHeight));
  Add(lblDelayed2, InDateTime(256, 76 + kLabelDrop, 20, kLabelHeight), "分");
  Add(cmbAmPm, InDateTime(284, 76, 181, kComboHeight));

  Add(grpAction, {10, 136, 482, 198}, " 動作設定 ");
  Add(rdbMessage, InAction(20, 28, 190, kCheckHeight), "メッセージを表示する", ui::kGroupStart);
  Add(rdbFilePath, InAction(228, 28, 190, kCheckHeight), "ファイルを実行する");
  Add(memMessage, InAction(20, 60, 445, 77), {}, ui::kGroupStart);
  Add(cmbIcon, InAction(20, 152, 185, kComboHeight));
  Add(chkSound, InAction(228, 154, 200, kCheckHeight), "ビープ音を鳴らす");
  Add(lblFilePath, InAction(20, 64, 200, kLabelHeight), "実行するファイル名");
  Add(edtFilePath, InAction(20, 88, 445, kEditHeight));
  Add(btnFilePath, InAction(356, 60, 109, 25), "ファイル検索");
  Add(lblCmndLine, InAction(20, 128, 250, kLabelHeight), "コマンドラインオプション");
  Add(edtCmndLine, InAction(20, 152, 445, kEditHeight));

  Add(btnOk, {10, 341, 109, 26}, "登録(&S)", ui::kDefault);
  Add(btnCancel, {382, 341, 109, 26}, "キャンセル(&C)", ui::kCancel);

  // The texts that end up in the alarm line are shown in the fixed-pitch font of the alarm list.
  for (ui::DialogControl* c : std::initializer_list<ui::DialogControl*>{&memMessage, &edtFilePath,
                                                                        &edtCmndLine, &cmbIcon}) {
    SetControlFont(*c, ui::FixedPitchFont(15));
  }

  cmbDateType.onChange = [this] { DateTypeChanged(); };
  dtpDateSet.onChange = [this] { DatePickerChanged(dtpDateSet); };
  dtpDateUpDown.onChange = [this] { DatePickerChanged(dtpDateUpDown); };
  cmbWeek.onChange = [this] {
    if (!showing_) values_.Weekday = cmbWeek.ItemIndex();
  };
  chkLeapOnly.onClick = [this] {
    if (!showing_) values_.LeapOnly = chkLeapOnly.Checked();
  };
  chkLastDay.onClick = [this] { LastDayClicked(); };
  cmbTimeType.onChange = [this] {
    if (showing_) return;
    values_.TimeType = cmbTimeType.ItemIndex();
    ApplyView();
  };
  dtpTimeSet.onChange = [this] {
    if (showing_) return;
    values_.Hour = dtpTimeSet.Value().wHour;
    values_.Minute = dtpTimeSet.Value().wMinute;
  };
  cmbAmPm.onChange = [this] {
    if (!showing_) values_.Band = cmbAmPm.ItemIndex();
  };
  const auto modeChanged = [this] {
    if (showing_) return;
    values_.FileMode = rdbFilePath.Checked();
    ApplyView();
  };
  rdbMessage.onClick = modeChanged;
  rdbFilePath.onClick = modeChanged;
  btnFilePath.onClick = [this] { BrowseClicked(); };
  edtFilePath.onExit = [this] { FilePathExit(); };
  btnOk.onClick = [this] { RegisterClicked(); };
  btnCancel.onClick = [this] { SetModalResult(kModalCancel); };
}

void TAlarmSetDialog::FormCreate() {
  values_ = DecodeEntryText(EntryText, start_);
  ShowValues();
}

void TAlarmSetDialog::ShowValues() {
  showing_ = true;
  cmbDateType.SetItemIndex(values_.DateKind);
  cmbWeek.SetItemIndex(values_.DateKind == kDateWeekday ? values_.Weekday : 0);
  chkLeapOnly.SetChecked(values_.LeapOnly);
  chkLastDay.SetChecked(values_.LastDay);
  ShowPickerDate();
  cmbTimeType.SetItemIndex(values_.TimeType);
  dtpTimeSet.SetValue(DateTimeOf(values_.Picker, values_.Hour, values_.Minute));
  spnMinute.SetValue(values_.Period);
  spnDelayed.SetValue(values_.Delay);
  cmbAmPm.SetItemIndex(values_.Band);
  (values_.FileMode ? rdbFilePath : rdbMessage).SetChecked(true);
  cmbIcon.SetItemIndex(values_.Icon);
  chkSound.SetChecked(values_.Beep);
  memMessage.SetText(MemoText(values_.MessageLines));
  edtFilePath.SetText(values_.FilePath);
  edtCmndLine.SetText(values_.CommandLine);
  showing_ = false;
  ApplyView();
}

void TAlarmSetDialog::ShowPickerDate() {
  const bool wasShowing = std::exchange(showing_, true);
  const SYSTEMTIME date = DateTimeOf(values_.Picker, 0, 0);
  dtpDateSet.SetValue(date);
  dtpDateUpDown.SetValue(date);
  showing_ = wasShowing;
}

void TAlarmSetDialog::ApplyView() {
  const AlarmEditorView view = ViewOf(values_);
  if (view.DateUpDown) upDownPicker_ = *view.DateUpDown;
  if (!view.DateFormat.empty()) {
    const std::string format = Cp932ToUtf8(view.DateFormat);
    dtpDateSet.SetFormat(format);
    dtpDateUpDown.SetFormat(format);
  }
  dtpDateSet.SetVisible(view.DatePicker && !upDownPicker_);
  dtpDateUpDown.SetVisible(view.DatePicker && upDownPicker_);
  dtpDateSet.SetEnabled(view.DatePickerEnabled);
  dtpDateUpDown.SetEnabled(view.DatePickerEnabled);
  cmbWeek.SetVisible(view.WeekList);
  chkLeapOnly.SetVisible(view.LeapOnly);
  chkLastDay.SetVisible(view.LastDay);

  if (!view.TimeFormat.empty()) dtpTimeSet.SetFormat(Cp932ToUtf8(view.TimeFormat));
  dtpTimeSet.SetVisible(view.TimePicker);
  spnMinute.SetVisible(view.Minute);
  lblMinute.SetVisible(view.Minute);
  spnDelayed.SetVisible(view.Delay);
  lblDelayed1.SetVisible(view.Delay);
  lblDelayed2.SetVisible(view.Delay);
  cmbAmPm.SetVisible(view.Band);

  memMessage.SetVisible(view.MessageControls);
  cmbIcon.SetVisible(view.MessageControls);
  chkSound.SetVisible(view.MessageControls);
  for (ui::Control* c : std::initializer_list<ui::Control*>{
           &lblFilePath, &edtFilePath, &btnFilePath, &lblCmndLine, &edtCmndLine}) {
    c->SetVisible(view.FileControls);
  }
}

void TAlarmSetDialog::DateTypeChanged() {
  if (showing_) return;
  values_.DateKind = cmbDateType.ItemIndex();
  ApplyDateKind(values_);
  ShowPickerDate();
  ApplyView();
}

void TAlarmSetDialog::DatePickerChanged(ui::DateTimePicker& picker) {
  if (showing_) return;
  PickerDateChanged(values_, DateOf(picker.Value()));
  // The other picker follows, and both show what the rule kept.
  ShowPickerDate();
}

void TAlarmSetDialog::LastDayClicked() {
  if (showing_) return;
  values_.LastDay = chkLastDay.Checked();
  ApplyLastDay(values_);
  ShowPickerDate();
  ApplyView();
}

void TAlarmSetDialog::ReadFreeControls() {
  values_.Period = spnMinute.Value();
  values_.Delay = spnDelayed.Value();
  values_.Icon = cmbIcon.ItemIndex();
  values_.Beep = chkSound.Checked();
  values_.MessageLines = MemoLines(memMessage.Text());
  values_.FilePath = edtFilePath.Text();
  values_.CommandLine = edtCmndLine.Text();
}

void TAlarmSetDialog::BrowseClicked() {
  const std::optional<std::string> chosen =
      browseForFile ? browseForFile(edtFilePath.Text())
                    : BrowseWithSystemPrompt(Handle(), edtFilePath.Text());
  if (!chosen) return;
  const FittedPath fitted = FitBrowsedPath(*chosen);
  if (fitted.Cut) Notice(editor_text::PathTooLong());
  edtFilePath.SetText(fitted.Text);
}

void TAlarmSetDialog::FilePathExit() {
  if (ModalResult() != 0) return;  // the form is closing
  const std::string trimmed = TrimBlanks(edtFilePath.Text());
  edtFilePath.SetText(trimmed);
  if (!trimmed.empty() && !FileExistsCp932(trimmed)) {
    PostMessageW(Handle(), kShowPathNotice, 0, 0);
  }
}

void TAlarmSetDialog::Notice(const std::string& cp932Text) { Notice(Cp932ToWide(cp932Text)); }

void TAlarmSetDialog::Notice(const std::wstring& text) {
  if (showNotice) {
    showNotice(WideToCp932(text));
    return;
  }
  MessageBoxW(Handle(), text.c_str(), L"Mirovane", MB_OK);
}

void TAlarmSetDialog::RegisterClicked() {
  // Nothing is registered in another form than the one shown: a text the list cannot hold, or an
  // action longer than the alarm reads, keeps the form open on the field to change.
  const bool fileMode = rdbFilePath.Checked();
  struct Field {
    ui::Edit* edit;
    const char* caption;
  };
  const Field fields[] = {{&memMessage, "メッセージ"},
                          {&edtFilePath, "実行するファイル名"},
                          {&edtCmndLine, "コマンドラインオプション"}};
  for (const Field& field : fields) {
    if ((field.edit == &memMessage) == fileMode || field.edit->Cp932Lacks().empty()) continue;
    Notice(ui::UnstorableTextMessage(field.caption, field.edit->Cp932Lacks()));
    field.edit->Focus();
    return;
  }
  ReadFreeControls();
  if (!ActionTextFits(values_)) {
    Notice(editor_text::ActionTooLong());
    edtCmndLine.Focus();
    return;
  }
  EntryText = EncodeEntryText(values_);
  SetModalResult(kModalOk);
}

LRESULT TAlarmSetDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kShowPathNotice) {
    // Only while the user is still in this form: not once it closes, nor when the focus went to
    // another program.
    if (ModalResult() == 0 && GetActiveWindow() == Handle()) {
      Notice(editor_text::FileMissing());
    }
    return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace mirovane
