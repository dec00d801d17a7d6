#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alarms/alarm_list_rules.h"
#include "support.h"

namespace mirovane {
namespace {

using test::Sj;

// The list in one text: each entry's text (UTF-8), '*' when ticked, the selected one in [ ].
std::string Shown(const AlarmListRules& list) {
  std::string s;
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const AlarmListEntry& e = list.Entries()[i];
    std::string item = Cp932ToUtf8(e.Text) + (e.Ticked ? "*" : "");
    if (i == list.Selected()) item = "[" + item + "]";
    s += (i ? " " : "") + item;
  }
  return s;
}

AlarmListRules Loaded(const std::vector<std::string>& utf8Lines) {
  std::vector<std::string> lines;
  for (const std::string& line : utf8Lines) lines.push_back(Sj(line));
  AlarmListRules list;
  list.Load(lines);
  return list;
}

TEST(AlarmListRules, LoadAndSaveKeepEveryLine) {
  const AlarmListRules list = Loaded({
      "*2024/05/06 12:30  Inf$会議\\n資料", " [1]:月     Start  Msg:週報", "",
      "#xxxx/xx/xx 07:00  Msg:x", "*",
      "日xxx/xx/xx 07:00  Msg:x",  // a double-byte first character is no state byte
  });
  EXPECT_EQ(list.Selected(), AlarmListRules::kNoSelection);
  ASSERT_EQ(list.Count(), 6u);
  EXPECT_EQ(list.Entries()[0].Text, Sj("2024/05/06 12:30  Inf$会議\\n資料"));
  EXPECT_TRUE(list.Entries()[0].Ticked);
  EXPECT_FALSE(list.Entries()[1].Ticked);
  EXPECT_FALSE(list.Entries()[3].Ticked);
  EXPECT_EQ(list.Entries()[4].Text, "");
  EXPECT_TRUE(list.Entries()[4].Ticked);

  const std::vector<std::string> expected = {Sj("*2024/05/06 12:30  Inf$会議\\n資料"),
                                             Sj(" [1]:月     Start  Msg:週報"),
                                             " ",
                                             " xxxx/xx/xx 07:00  Msg:x",
                                             "*",
                                             Sj(" 日xxx/xx/xx 07:00  Msg:x")};
  EXPECT_EQ(list.SaveLines(), expected);
  EXPECT_EQ(AlarmListRules{}.SaveLines(), std::vector<std::string>{});
}

TEST(AlarmListRules, ButtonsMoveEntriesAndSelection) {
  AlarmListRules list = Loaded({"*A", " B", "*C"});
  // Without a selection the buttons that need one do nothing.
  EXPECT_FALSE(list.Copy() || list.Change("X") || list.Delete() || list.FlipTick() ||
               list.MoveUp() || list.MoveDown());
  EXPECT_EQ(Shown(list), "A* B C*");

  list.SelectEntry(255);  // no such entry: the first
  EXPECT_EQ(list.Selected(), 0u);
  EXPECT_TRUE(list.Copy());  // the copy at row 0, the selection on the source at row 1
  EXPECT_EQ(Shown(list), "A* [A*] B C*");
  EXPECT_FALSE(list.Change(""));  // the editor was cancelled
  list.SelectEntry(2);
  EXPECT_TRUE(list.Change("B2"));  // a changed alarm is active
  EXPECT_EQ(Shown(list), "A* A* [B2*] C*");
  EXPECT_TRUE(list.FlipTick());
  EXPECT_TRUE(list.FlipTick(0));  // the check box of another row
  EXPECT_EQ(Shown(list), "A A* [B2] C*");
  EXPECT_TRUE(list.MoveUp());
  EXPECT_TRUE(list.MoveUp());
  EXPECT_FALSE(list.MoveUp());
  EXPECT_EQ(Shown(list), "[B2] A A* C*");
  list.Select(3);
  EXPECT_FALSE(list.MoveDown());
  EXPECT_TRUE(list.Delete());  // the last row: the selection goes to the new last
  EXPECT_EQ(Shown(list), "B2 A [A*]");
  list.Select(0);
  EXPECT_TRUE(list.MoveDown());
  EXPECT_EQ(Shown(list), "A [B2] A*");
  EXPECT_TRUE(list.Delete());  // the entry below takes the row and the selection
  EXPECT_EQ(Shown(list), "A [A*]");
  EXPECT_FALSE(list.Add(""));
  EXPECT_TRUE(list.Add(Sj("新")));
  EXPECT_EQ(Shown(list), "A A* [新*]");
  EXPECT_TRUE(list.Delete() && list.Delete() && list.Delete());
  EXPECT_EQ(list.Selected(), AlarmListRules::kNoSelection);
  list.SelectEntry(0);  // an empty list has nothing to select
  EXPECT_EQ(list.Selected(), AlarmListRules::kNoSelection);
  EXPECT_EQ(list.SaveLines(), std::vector<std::string>{});
}

TEST(AlarmListRules, SortsOnceInByteOrder) {
  AlarmListRules list = Loaded({
      "*xxxx/xx/xx 07:00  Msg:daily",
      " 2024/05/06 12:30  Msg:b",
      "*日本",
      "*[1]:月     Start  Msg:mon",
      " xxxx/xx/15 07:45  Msg:monthly",
      "*xxxx/02/29*09:00  Msg:yearly",
      " [1]:月     Start  Msg:mon",  // the same text, paused: stays behind the first
      "*2023/12/31 00:00  Msg:a",
      "*[0]:日     Start  Msg:sun",
  });
  list.SelectEntry(4);  // the monthly entry
  EXPECT_TRUE(list.Sort());
  EXPECT_EQ(Shown(list),
            "2023/12/31 00:00  Msg:a* 2024/05/06 12:30  Msg:b [0]:日     Start  Msg:sun* "
            "[1]:月     Start  Msg:mon* [1]:月     Start  Msg:mon xxxx/02/29*09:00  Msg:yearly* "
            "[xxxx/xx/15 07:45  Msg:monthly] xxxx/xx/xx 07:00  Msg:daily* 日本*");
  EXPECT_FALSE(list.Sort());   // already in order
  EXPECT_TRUE(list.Add("0"));  // not kept sorted: appended at the end
  EXPECT_EQ(list.Entries().back().Text, "0");

  // A long list: sorted once, the selection following its entry.
  std::vector<std::string> lines;
  for (int i = 20000; i > 0; --i) lines.push_back((i % 2 ? "*" : " ") + std::to_string(i + 100000));
  list.Load(lines);
  list.SelectEntry(19999);  // "100001"
  EXPECT_TRUE(list.Sort());
  EXPECT_EQ(list.Selected(), 0u);
  for (std::size_t i = 0; i < list.Count(); ++i) {
    ASSERT_EQ(list.Entries()[i].Text, std::to_string(i + 100001));
    ASSERT_EQ(list.Entries()[i].Ticked, i % 2 == 0);
  }
}

}  // namespace
}  // namespace mirovane
