// The alarm list dialog (TAlarmListDialog) without a window: its entries, the selection and the
// operations of its buttons, from loading the file's lines to the lines it saves.
//
// Each entry is an entry text (the file line without its state byte, see alarm_editor_rules.h)
// and a tick: ticked = active ('*'), unticked = paused. The dialog shows Entries() in the check
// list, forwards clicks and key presses to the operations below and puts the selection back into
// the list after each. Every operation costs at most one pass over the entries (sorting
// n log n), so lists of any length stay quick.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace mirovane {

struct AlarmListEntry {
  std::string Text;  // the entry text, cp932
  bool Ticked = false;
};

class AlarmListRules {
 public:
  static constexpr std::size_t kNoSelection = static_cast<std::size_t>(-1);

  // FormCreate: one entry per line of the file, in order, with the text from byte 2 on, ticked
  // when byte 1 is '*'. Nothing is selected. A line whose first byte starts a double-byte
  // character has no state byte of its own: it is taken whole as the text of a paused entry, so
  // saving never splits that character.
  void Load(std::vector<std::string> lines);
  // btnOkClick: one line per entry in list order, '*' when ticked, else a blank, then the text.
  std::vector<std::string> SaveLines() const;

  const std::vector<AlarmListEntry>& Entries() const noexcept { return entries_; }
  std::size_t Count() const noexcept { return entries_.size(); }
  // The selected row, or kNoSelection.
  std::size_t Selected() const noexcept { return selected_; }
  bool HasSelection() const noexcept { return selected_ != kNoSelection; }

  // SelectEntry (used when the dialog opens on the pending alarm): nothing when the list is
  // empty, else row `index`, or the first row when `index` is not below the number of entries.
  void SelectEntry(std::size_t index) noexcept;
  // The user selected row `index` (kNoSelection or any row past the end: none).
  void Select(std::size_t index) noexcept;

  // The buttons. Those that need a selection do nothing without one; each returns whether the
  // entries changed.
  // "追加" with the editor's result: a non-empty text becomes a new, ticked, selected last entry.
  bool Add(std::string text);
  // "コピー": a copy of the selected entry (same text, same tick) goes just above it; the
  // selection stays on the source, now one row lower.
  bool Copy();
  // "変更" and double-click with the editor's result: a non-empty text replaces the selected
  // entry's text and ticks it (a changed alarm is always active).
  bool Change(std::string text);
  // "削除", once the user has confirmed: removes the selected entry. The selection moves to the
  // entry that takes its row, or to the new last entry; none when the list is now empty.
  bool Delete();
  // "一時停止 ／ 実行再開" and the space bar: flips the selected entry's tick.
  bool FlipTick();
  // A click in the check box of row `index` flips that entry's tick, selected or not.
  bool FlipTick(std::size_t index);
  // "↑ 上へ " / "↓ 下へ ": swaps the selected entry with its neighbour; the selection moves
  // with it. Nothing at the first / last row.
  bool MoveUp();
  bool MoveDown();
  // "自動整列": orders the entries once by their texts in byte order (unsigned bytes), equal
  // texts keeping their order; each entry keeps its tick and the selection stays on its entry.
  // The leading date field makes the groups come out as specific dates, weekdays, yearly,
  // monthly, daily. Later additions are appended at the end again.
  bool Sort();

 private:
  std::vector<AlarmListEntry> entries_;
  std::size_t selected_ = kNoSelection;
};

}  // namespace mirovane
