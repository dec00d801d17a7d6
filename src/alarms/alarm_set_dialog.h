// The alarm editor "アラーム設定登録": one alarm's entry text shown as controls, and built again
// from them when the user registers it. The rules (decode, encode, what each choice changes) are in
// alarm_editor_rules; this form moves values between them and its controls.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "alarms/alarm_editor_rules.h"
#include "controls/spin_edit.h"
#include "ui/dialog_controls.h"
#include "ui/form.h"

namespace mirovane {

class TAlarmSetDialog final : public ui::Form {
 public:
  // `start`: the date and time a new alarm starts from (see AlarmEditorStart).
  explicit TAlarmSetDialog(const AlarmEditorStart& start);

  // In: the entry text to edit (empty for a new alarm). Out, after "登録(&S)": the encoded text.
  std::string EntryText;

  // The file prompt of "ファイル検索": given the present path (cp932), the chosen file (cp932), or
  // nothing when the user cancelled. The system's open-file prompt unless replaced.
  std::function<std::optional<std::string>(const std::string& path)> browseForFile;
  // The plain notices (long path, missing file); a system message box unless replaced.
  std::function<void(const std::string& cp932Text)> showNotice;

  // The controls, in table order (tab order).
  ui::GroupBox grpDateTime;
  ui::ComboBox cmbDateType;
  ui::DateTimePicker dtpDateSet;     // drop-down calendar (specific dates)
  ui::DateTimePicker dtpDateUpDown;  // the same picker with up-down arrows (yearly, monthly)
  ui::ComboBox cmbWeek;
  ui::CheckBox chkLeapOnly;
  ui::CheckBox chkLastDay;
  ui::ComboBox cmbTimeType;
  ui::DateTimePicker dtpTimeSet;
  TSpinEditEx spnMinute;
  ui::StaticText lblMinute;
  ui::StaticText lblDelayed1;
  TSpinEditEx spnDelayed;
  ui::StaticText lblDelayed2;
  ui::ComboBox cmbAmPm;
  ui::GroupBox grpAction;
  ui::RadioButton rdbMessage;
  ui::RadioButton rdbFilePath;
  ui::Edit memMessage;
  ui::ComboBox cmbIcon;
  ui::CheckBox chkSound;
  ui::StaticText lblFilePath;
  ui::Edit edtFilePath;
  ui::Button btnFilePath;
  ui::StaticText lblCmndLine;
  ui::Edit edtCmndLine;
  ui::Button btnOk;
  ui::Button btnCancel;

  // The date picker that shows for the present date kind.
  ui::DateTimePicker& DatePicker() noexcept { return upDownPicker_ ? dtpDateUpDown : dtpDateSet; }

 protected:
  void CreateControls() override;
  void FormCreate() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Puts values_ into the controls (FormShow), then shows the controls of the values.
  void ShowValues();
  // Shows, hides and enables the controls for values_, and gives the pickers their formats.
  void ApplyView();
  // Puts values_.Picker into both date pickers.
  void ShowPickerDate();
  // Reads the controls that no handler follows into values_ (before encoding).
  void ReadFreeControls();

  void DateTypeChanged();
  void DatePickerChanged(ui::DateTimePicker& picker);
  void LastDayClicked();
  void BrowseClicked();
  void FilePathExit();
  void RegisterClicked();

  void Notice(const std::string& cp932Text);
  void Notice(const std::wstring& text);

  AlarmEditorStart start_;
  AlarmEditorValues values_;
  bool upDownPicker_ = false;
  bool showing_ = false;  // ShowValues is filling the controls: handlers leave values_ alone
};

}  // namespace mirovane
