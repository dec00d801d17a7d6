// The alarm list "アラーム設定リスト": every line of the alarm list file as an entry with a tick
// (active or paused), the buttons that add, copy, change, delete, pause, move and sort entries, and
// the save that replaces the file. Nothing reaches the file before "設定保存(&S)". The entries and
// the operations live in AlarmListRules; the check list shows them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "alarms/alarm_editor_rules.h"
#include "alarms/alarm_list_rules.h"
#include "ui/dialog_controls.h"
#include "ui/form.h"

namespace mirovane {

class TAlarmListDialog final : public ui::Form {
 public:
  // `path`: the alarm list file. `editorStart` gives the date and time a new alarm starts from,
  // asked for each time the editor opens.
  TAlarmListDialog(std::filesystem::path path, std::function<AlarmEditorStart()> editorStart);

  // The entry of the pending alarm (before the form shows); see AlarmListRules::SelectEntry.
  void SelectEntry(std::size_t index);

  // The alarm editor for one entry text: the edited text after "登録(&S)", else empty.
  std::string EditEntry(const std::string& text);
  // Replaces the editor (tests); the system's editor dialog unless set.
  std::function<std::string(const std::string& text)> editEntry;
  // Asks whether the selected entry may be deleted; the system's question box unless set.
  std::function<bool()> confirmDelete;
  // Shows an error (cp932); the system's error box unless set.
  std::function<void(const std::string& text)> showError;

  const AlarmListRules& Rules() const noexcept { return rules_; }

  ui::CheckList lstAlarmList;
  ui::Button Button1;  // "追加"
  ui::Button Button2;  // "コピー"
  ui::Button Button3;  // "変更"
  ui::Button Button4;  // "削除"
  ui::Button Button5;  // "一時停止 ／ 実行再開"
  ui::Button Button6;  // "↑ 上へ "
  ui::Button Button7;  // "↓ 下へ "
  ui::Button Button8;  // "自動整列"
  ui::Button btnOk;
  ui::Button btnCancel;

  // Whether the file could be read; a dialog over a file that exists but could not be read shows
  // an error instead of opening (saving its empty list would wipe the file).
  bool Loaded() const noexcept { return loaded_; }
  // The reason the file could not be read (cp932), when !Loaded().
  const std::string& LoadError() const noexcept { return loadError_; }

 protected:
  void CreateControls() override;
  void FormCreate() override;

 private:
  // Runs one operation of the rules on the list's present selection and shows the result.
  template <class Operation>
  void Run(Operation operation);
  void ShowEntries();
  void AddClicked();
  void ChangeClicked();
  void DeleteClicked();
  void SaveClicked();

  std::filesystem::path path_;
  std::function<AlarmEditorStart()> editorStart_;
  AlarmListRules rules_;
  std::size_t pendingIndex_ = AlarmListRules::kNoSelection;
  bool loaded_ = true;
  std::string loadError_;
};

}  // namespace mirovane
