#include "alarms/alarm_list_dialog.h"

#include <utility>
#include <vector>

#include "alarms/alarm_action.h"
#include "alarms/alarm_engine.h"
#include "alarms/alarm_line.h"
#include "alarms/alarm_set_dialog.h"
#include "platform/codec.h"
#include "ui/dpi.h"

namespace mirovane {
namespace {

constexpr int kButtonHeight = 25;

}  // namespace

TAlarmListDialog::TAlarmListDialog(std::filesystem::path path,
                                   std::function<AlarmEditorStart()> editorStart)
    : Form(ui::FormSetup{"アラーム設定リスト", 650, 400, ui::FormFrame::CloseBoxOnly,
                         ui::ProportionalFont(15), kModalCancel, /*borderWidth96=*/2}),
      path_(std::move(path)),
      editorStart_(std::move(editorStart)) {
  // Read before the window exists, so a file that cannot be read is known before anything shows.
  std::vector<std::string> lines;
  const ReadStatus status = ReadAlarmLines(path_, lines);
  if (status == ReadStatus::Error || status == ReadStatus::TooLarge) {
    loaded_ = false;
    loadError_ = alarm_text::ListNotRead(status);
    return;
  }
  rules_.Load(std::move(lines));  // a missing file is an empty list
}

void TAlarmListDialog::SelectEntry(std::size_t index) { pendingIndex_ = index; }

void TAlarmListDialog::CreateControls() {
  Add(lstAlarmList, {4, 4, 641, 327});
  // Entry texts have fixed columns (date, time, action): a fixed-pitch font keeps them in line.
  SetControlFont(lstAlarmList, ui::FixedPitchFont(13));
  Add(Button1, {4, 338, 101, kButtonHeight}, "追加", ui::kNoTabStop);
  Add(Button2, {110, 338, 101, kButtonHeight}, "コピー", ui::kNoTabStop);
  Add(Button3, {216, 338, 101, kButtonHeight}, "変更", ui::kNoTabStop);
  Add(Button4, {322, 338, 101, kButtonHeight}, "削除", ui::kNoTabStop);
  Add(Button5, {428, 338, 217, kButtonHeight}, "一時停止 ／ 実行再開", ui::kNoTabStop);
  Add(Button6, {4, 368, 101, kButtonHeight}, "↑ 上へ ", ui::kNoTabStop);
  Add(Button7, {110, 368, 101, kButtonHeight}, "↓ 下へ ", ui::kNoTabStop);
  Add(Button8, {216, 368, 101, kButtonHeight}, "自動整列", ui::kNoTabStop);
  Add(btnOk, {428, 368, 103, kButtonHeight}, "設定保存(&S)", ui::kDefault);
  Add(btnCancel, {542, 368, 103, kButtonHeight}, "キャンセル(&C)", ui::kCancel);

  lstAlarmList.onDblClick = [this] { ChangeClicked(); };
  // The list has flipped its own tick already; the rules follow it.
  lstAlarmList.onCheckClick = [this](int index) {
    rules_.FlipTick(static_cast<std::size_t>(index));
  };
  // The buttons stay out of the Tab order; while the list has the keyboard, the keys a list user
  // expects press them: Insert 追加, F2 変更, Delete 削除, Ctrl+C コピー, Ctrl+↑ / Ctrl+↓ 上へ /
  // 下へ.
  lstAlarmList.onKeyDown = [this](WPARAM key) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool other = GetKeyState(VK_MENU) < 0 || GetKeyState(VK_SHIFT) < 0;
    ui::Button* pressed = nullptr;
    if (!ctrl && !other) {
      if (key == VK_INSERT) pressed = &Button1;
      if (key == VK_F2) pressed = &Button3;
      if (key == VK_DELETE) pressed = &Button4;
    } else if (ctrl && !other) {
      if (key == 'C') pressed = &Button2;
      if (key == VK_UP) pressed = &Button6;
      if (key == VK_DOWN) pressed = &Button7;
    }
    if (!pressed) return false;
    pressed->Click();
    return true;
  };
  Button1.onClick = [this] { AddClicked(); };
  Button2.onClick = [this] { Run([](AlarmListRules& r) { return r.Copy(); }); };
  Button3.onClick = [this] { ChangeClicked(); };
  Button4.onClick = [this] { DeleteClicked(); };
  Button5.onClick = [this] { Run([](AlarmListRules& r) { return r.FlipTick(); }); };
  Button6.onClick = [this] { Run([](AlarmListRules& r) { return r.MoveUp(); }); };
  Button7.onClick = [this] { Run([](AlarmListRules& r) { return r.MoveDown(); }); };
  Button8.onClick = [this] { Run([](AlarmListRules& r) { return r.Sort(); }); };
  btnOk.onClick = [this] { SaveClicked(); };
  btnCancel.onClick = [this] { SetModalResult(kModalCancel); };
}

void TAlarmListDialog::FormCreate() {
  if (pendingIndex_ != AlarmListRules::kNoSelection) rules_.SelectEntry(pendingIndex_);
  ShowEntries();
}

void TAlarmListDialog::ShowEntries() {
  std::vector<ui::CheckList::Item> items;
  items.reserve(rules_.Count());
  for (const AlarmListEntry& entry : rules_.Entries()) items.push_back({entry.Text, entry.Ticked});
  lstAlarmList.SetItems(std::move(items));
  lstAlarmList.Select(rules_.HasSelection() ? static_cast<int>(rules_.Selected()) : -1);
}

template <class Operation>
void TAlarmListDialog::Run(Operation operation) {
  const int selected = lstAlarmList.Selected();
  rules_.Select(selected < 0 ? AlarmListRules::kNoSelection : static_cast<std::size_t>(selected));
  if (operation(rules_)) ShowEntries();
  // The keyboard stays on the list, where the next key press is meant to go.
  lstAlarmList.Focus();
}

std::string TAlarmListDialog::EditEntry(const std::string& text) {
  if (editEntry) return editEntry(text);
  TAlarmSetDialog editor(editorStart_ ? editorStart_() : AlarmEditorStart{});
  editor.EntryText = text;
  return editor.ShowModal(Handle()) == kModalOk ? editor.EntryText : std::string();
}

void TAlarmListDialog::AddClicked() {
  std::string text = EditEntry(std::string());
  Run([&](AlarmListRules& r) { return r.Add(std::move(text)); });
}

void TAlarmListDialog::ChangeClicked() {
  const int selected = lstAlarmList.Selected();
  if (selected < 0) return;
  std::string text = EditEntry(lstAlarmList.At(selected).text);
  Run([&](AlarmListRules& r) { return r.Change(std::move(text)); });
}

void TAlarmListDialog::DeleteClicked() {
  if (lstAlarmList.Selected() < 0) return;
  const bool confirmed = confirmDelete
                             ? confirmDelete()
                             : MessageBoxW(Handle(),
                                           Utf8ToWide("選択しているアラーム設定を削除します。\r\n"
                                                      "よろしいですか？")
                                               .c_str(),
                                           L"Mirovane", MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
  if (confirmed) Run([](AlarmListRules& r) { return r.Delete(); });
}

void TAlarmListDialog::SaveClicked() {
  std::string error;
  if (!WriteAlarmLines(path_, rules_.SaveLines(), &error)) {
    // The file is as it was; the list keeps the user's changes, to save again or to cancel.
    const std::string text = Utf8ToCp932(CannotWriteText(path_, error));
    if (showError) {
      showError(text);
    } else {
      MessageBoxW(Handle(), Cp932ToWide(text).c_str(), L"Mirovane", MB_ICONERROR | MB_OK);
    }
    return;
  }
  SetModalResult(kModalOk);
}

}  // namespace mirovane
