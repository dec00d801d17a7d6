#include "alarms/alarm_list_rules.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <utility>

#include "platform/codec.h"

namespace mirovane {

void AlarmListRules::Load(std::vector<std::string> lines) {
  entries_.clear();
  entries_.reserve(lines.size());
  for (std::string& line : lines) {
    // Each line becomes its entry's text in place, without a copy.
    AlarmListEntry entry;
    if (!line.empty() && !IsCp932LeadByte(static_cast<unsigned char>(line[0]))) {
      entry.Ticked = line[0] == '*';
      line.erase(0, 1);
    }
    entry.Text = std::move(line);
    entries_.push_back(std::move(entry));
  }
  selected_ = kNoSelection;
}

std::vector<std::string> AlarmListRules::SaveLines() const {
  std::vector<std::string> lines;
  lines.reserve(entries_.size());
  for (const AlarmListEntry& entry : entries_) {
    std::string line;
    line.reserve(entry.Text.size() + 1);
    line += entry.Ticked ? '*' : ' ';
    line += entry.Text;
    lines.push_back(std::move(line));
  }
  return lines;
}

void AlarmListRules::SelectEntry(std::size_t index) noexcept {
  if (entries_.empty()) return;
  selected_ = index < entries_.size() ? index : 0;
}

void AlarmListRules::Select(std::size_t index) noexcept {
  selected_ = index < entries_.size() ? index : kNoSelection;
}

bool AlarmListRules::Add(std::string text) {
  if (text.empty()) return false;
  entries_.push_back(AlarmListEntry{std::move(text), true});
  selected_ = entries_.size() - 1;
  return true;
}

bool AlarmListRules::Copy() {
  if (!HasSelection()) return false;
  AlarmListEntry copy = entries_[selected_];
  const auto at = entries_.begin() + static_cast<std::ptrdiff_t>(selected_);
  entries_.insert(at, std::move(copy));
  ++selected_;
  return true;
}

bool AlarmListRules::Change(std::string text) {
  if (!HasSelection() || text.empty()) return false;
  entries_[selected_] = AlarmListEntry{std::move(text), true};
  return true;
}

bool AlarmListRules::Delete() {
  if (!HasSelection()) return false;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(selected_));
  if (entries_.empty()) {
    selected_ = kNoSelection;
  } else if (selected_ >= entries_.size()) {
    selected_ = entries_.size() - 1;
  }
  return true;
}

bool AlarmListRules::FlipTick() { return HasSelection() && FlipTick(selected_); }

bool AlarmListRules::FlipTick(std::size_t index) {
  if (index >= entries_.size()) return false;
  entries_[index].Ticked = !entries_[index].Ticked;
  return true;
}

bool AlarmListRules::MoveUp() {
  if (!HasSelection() || selected_ == 0) return false;
  std::swap(entries_[selected_], entries_[selected_ - 1]);
  --selected_;
  return true;
}

bool AlarmListRules::MoveDown() {
  if (!HasSelection() || selected_ + 1 >= entries_.size()) return false;
  std::swap(entries_[selected_], entries_[selected_ + 1]);
  ++selected_;
  return true;
}

bool AlarmListRules::Sort() {
  if (entries_.size() < 2) return false;
  // Sorted through an index table, so the selected entry can be found at its new row.
  std::vector<std::size_t> order(entries_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // std::string_view compares through char_traits<char>, which orders bytes as unsigned char:
  // double-byte text comes after all ASCII.
  std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
    return std::string_view(entries_[a].Text) < std::string_view(entries_[b].Text);
  });
  std::vector<AlarmListEntry> sorted;
  sorted.reserve(entries_.size());
  std::size_t newSelected = kNoSelection;
  bool moved = false;
  for (std::size_t row = 0; row < order.size(); ++row) {
    if (order[row] == selected_) newSelected = row;
    moved = moved || order[row] != row;
    sorted.push_back(std::move(entries_[order[row]]));
  }
  entries_ = std::move(sorted);
  selected_ = newSelected;
  return moved;
}

}  // namespace mirovane
