#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/option_rules.h"
#include "settings/window_rules.h"
#include "support.h"

namespace mirovane {
namespace {

using test::Sj;

// What the main window shows for a record it has just loaded: the window where LeftPosition puts
// it, the grid of ShowMonthCount and the calendar flags of the record.
OptionWindowState WindowOf(const TCalendarSettings& s, int windowWidth, int screenWidth) {
  OptionWindowState w;
  w.top = s.TopPosition;
  w.left = LeftFromSetting(s, windowWidth, screenWidth);
  w.columns = s.MonthColumns();
  w.rows = s.MonthRows();
  w.weekNumbers = s.ShowWeekNumber;
  w.todayCircle = s.ShowRedCircle;
  return w;
}

TEST(OptionApply, PositionsTimersAndPackedBytes) {
  TCalendarSettings s;
  OptionValues v = LoadOptions(s, {.top = 30, .left = 1000});
  const OptionScreen screen{.screenWidth = 1280, .windowWidth = 200};

  // AlignRight stores the gap to the screen's right edge; either way the window goes to the spins.
  v.alignRight = true;
  OptionApplyResult r = ApplyOptions(v, screen, s);
  EXPECT_EQ(s.LeftPosition, 80);
  EXPECT_EQ(s.TopPosition, 30);
  EXPECT_EQ(r.windowPos, (Point{1000, 30}));
  v.alignRight = false;
  r = ApplyOptions(v, screen, s);
  EXPECT_EQ(s.LeftPosition, 1000);
  EXPECT_EQ(r.windowPos, (Point{1000, 30}));

  // Display refresh: 0 stops the timer, the largest entry is a 9990 ms period.
  v.dspCycle = 0;
  r = ApplyOptions(v, screen, s);
  EXPECT_EQ(s.DspCycle, 0);
  EXPECT_EQ(r.refreshIntervalMs, 0);
  v.dspCycle = 999;
  r = ApplyOptions(v, screen, s);
  EXPECT_EQ(s.DspCycle, 999);
  EXPECT_EQ(r.refreshIntervalMs, 9990);
  EXPECT_EQ(DisplayRefreshIntervalMs(10000), 60000);
  EXPECT_EQ(DisplayRefreshIntervalMs(-5), 0);

  // Alarm check: 0 stays 0 (every half second); a value past the spin reads as its maximum.
  v.alarmChk = 0;
  ApplyOptions(v, screen, s);
  EXPECT_EQ(s.AlarmChk, 0);
  v.alarmChk = 5000;
  ApplyOptions(v, screen, s);
  EXPECT_EQ(s.AlarmChk, 999);

  // Packed bytes: columns high, rows low; calendar placement low, clock placement high.
  SetMonthColumns(v, 3);
  SetMonthRows(v, 4);
  v.calendarPos = 2;
  v.clockPos = 1;
  r = ApplyOptions(v, screen, s);
  EXPECT_EQ(s.ShowMonthCount, 0x34);
  EXPECT_EQ(r.columns, 3);
  EXPECT_EQ(r.rows, 4);
  EXPECT_EQ(r.monthDelta, 12);
  EXPECT_EQ(s.CalendarPosition, 0x12);

  // An empty format is applied as empty; the inverted check boxes keep the keys' sense.
  v.dateFormat.clear();
  v.hideClock = true;
  v.hideTrayIcon = true;
  ApplyOptions(v, screen, s);
  EXPECT_EQ(s.DateFormat, "");
  EXPECT_TRUE(s.ShowClock);
  EXPECT_TRUE(s.HideTrayIcon);
}

TEST(OptionLoad, OrderEffects) {
  TCalendarSettings s;
  OptionWindowState w = WindowOf(s, 200, 1280);

  // The month spins are set columns first, each limiting the other.
  w.columns = 12;
  w.rows = 12;
  OptionValues v = LoadOptions(s, w);
  EXPECT_EQ(v.monthColumns, 1);
  EXPECT_EQ(v.monthRows, 12);
  w.columns = 5;
  w.rows = 5;
  v = LoadOptions(s, w);
  EXPECT_EQ(v.monthColumns, 2);
  EXPECT_EQ(v.monthRows, 5);
  w.columns = 0;  // a grid byte loaded unchecked; the spins hold 1..12
  w.rows = 15;
  v = LoadOptions(s, w);
  EXPECT_EQ(v.monthColumns, 1);
  EXPECT_EQ(v.monthRows, 12);

  // The position spins show the window, not the stored distance from the right edge.
  EXPECT_EQ(v.posX, 1080);
  EXPECT_EQ(v.posY, 0);

  // MemoryPosition opens chkInnerDesktop disabled, its tick kept and applied.
  s.MemoryPosition = true;
  v = LoadOptions(s, WindowOf(s, 200, 1280));
  EXPECT_FALSE(InnerDesktopEnabled(v));
  EXPECT_TRUE(v.innerDesktop);
  TCalendarSettings out = s;
  out.InnerDesktop = false;
  ApplyOptions(v, {1280, 200}, out);
  EXPECT_TRUE(out.InnerDesktop);

  // Both transparency modes on: optAlpha shows, the question is armed, saving drops colour-key.
  s.Transparency = true;
  s.AlphaBlend = true;
  v = LoadOptions(s, WindowOf(s, 200, 1280));
  EXPECT_EQ(v.transparency, TransparencyMode::Alpha);
  EXPECT_TRUE(AlphaControlsEnabled(v));
  EXPECT_TRUE(v.colorKeyConfirmArmed);
  ApplyOptions(v, {1280, 200}, s);
  EXPECT_FALSE(s.Transparency);
  EXPECT_TRUE(s.AlphaBlend);
  // Colour-key alone: nothing to ask, the alpha controls disabled.
  s.Transparency = true;
  s.AlphaBlend = false;
  v = LoadOptions(s, WindowOf(s, 200, 1280));
  EXPECT_EQ(v.transparency, TransparencyMode::ColorKey);
  EXPECT_FALSE(AlphaControlsEnabled(v));
  EXPECT_FALSE(v.colorKeyConfirmArmed);
}

TEST(OptionLoad, CodesWithoutAnItemSurviveTheDialog) {
  TCalendarSettings s;
  s.FirstDayOfWeek = 9;
  s.CalendarPosition = 0x53;  // calendar 3, clock 5: no item in either list
  s.PopupMenuItem = 9;
  s.MainDblClick = kReactionAlarmList;
  OptionValues v = LoadOptions(s, WindowOf(s, 200, 1280));
  EXPECT_EQ(v.firstDay, kNoSelection);
  EXPECT_EQ(v.calendarPos, kNoSelection);
  EXPECT_EQ(v.clockPos, kNoSelection);
  EXPECT_EQ(v.selectedTrigger, 0);
  EXPECT_EQ(v.selectedAction, kNoSelection);

  // The action combo reports its emptied selection; the slot keeps its code.
  SetReactionAction(v, kNoSelection);
  SelectReactionTrigger(v, 1);
  EXPECT_EQ(v.selectedAction, kReactionAlarmList);
  TCalendarSettings out = s;
  ApplyOptions(v, {1280, 200}, out);
  EXPECT_EQ(out, s);

  // Choosing one placement keeps the other half of the byte.
  v.clockPos = 2;
  ApplyOptions(v, {1280, 200}, out);
  EXPECT_EQ(out.CalendarPosition, 0x23);
}

TEST(OptionLimitMonthGrid, KeepsTwelveMonthsAtMost) {
  struct Row {
    int changed, other, expected;
  };
  for (const Row& row : std::vector<Row>{{1, 12, 12},
                                         {2, 12, 6},
                                         {2, 5, 5},
                                         {3, 12, 4},
                                         {4, 12, 3},
                                         {4, 2, 2},
                                         {5, 3, 2},
                                         {6, 12, 2},
                                         {7, 3, 1},
                                         {12, 12, 1}}) {
    EXPECT_EQ(LimitMonthGrid(row.changed, row.other), row.expected)
        << row.changed << " with " << row.other;
  }

  // Through the spins' handlers, both ways.
  OptionValues v;
  v.monthRows = 3;
  SetMonthColumns(v, 5);
  EXPECT_EQ(v.monthRows, 2);
  SetMonthColumns(v, 7);
  EXPECT_EQ(v.monthRows, 1);
  SetMonthColumns(v, 1);
  SetMonthRows(v, 13);
  EXPECT_EQ(v.monthRows, 12);
  EXPECT_EQ(v.monthColumns, 1);
  SetMonthColumns(v, 2);
  EXPECT_EQ(v.monthRows, 6);
}

TEST(OptionRoundTrip, AnUnchangedDialogLeavesTheRecordUnchanged) {
  TCalendarSettings s;
  s.MemoryPosition = true;
  s.InnerDesktop = false;
  s.TopPosition = -40;
  s.LeftPosition = 37;
  s.BorderWidth = 0;
  s.LabelBorder = 255;
  s.HideTrayIcon = true;
  s.StayOnTop = false;
  s.TitleBar = true;
  s.HideCalendar = true;
  s.CalendarPosition = 0x32;
  s.ShowMonthCount = 0x34;
  s.ShowWeekNumber = true;
  s.ShowRedCircle = false;
  s.CalendarFont = {Sj("ＭＳ ゴシック"), 9, true, true};
  s.FirstDayOfWeek = 0;
  s.HideNowTime = true;
  s.ShowClock = true;
  s.DateFormat = Sj("  \\ggge'年'  ");
  s.DateTimeFont = {Sj("ＭＳ 明朝"), 20, false, false};
  s.FontSizeChange = -3;
  s.TitleBack = kSystemColorFlag | 13;
  s.BorderColor = 0x123456;
  s.AlphaBlend = true;
  s.AlphaValue = 17;
  s.PopupMenuItem = kReactionNone;
  s.EscapeKeyDown = kReactionTransparency;
  s.HideTime = 255;
  s.HideWait = 1;
  s.DspCycle = 999;
  s.AlarmChk = 0;

  for (const TCalendarSettings& record : {TCalendarSettings{}, s}) {
    const OptionValues v = LoadOptions(record, WindowOf(record, 230, 1920));
    TCalendarSettings out = record;
    const OptionApplyResult r = ApplyOptions(v, {1920, 230}, out);
    EXPECT_EQ(out, record);
    EXPECT_EQ(r.windowPos, (Point{LeftFromSetting(record, 230, 1920), record.TopPosition}));
    EXPECT_EQ(r.refreshIntervalMs, record.DspCycle * 10);
  }
}

TEST(OptionColors, SamplesAndPresets) {
  OptionValues v = LoadOptions(TCalendarSettings{}, {});
  // The white preset is the settings' defaults.
  EXPECT_EQ(v.colorSlots, ColorPresetSlots(ColorPreset::White));
  EXPECT_EQ(v.selectedColorSlot, 0);

  for (int i = 0; i < kColorSlotCount; ++i) v.colorSlots[static_cast<std::size_t>(i)] = 100u + i;
  const ColorSample expected[] = {{100, 101}, {100, 101}, {100, 102}, {103, 104}, {103, 104},
                                  {105, 106}, {105, 106}, {107, 107}, {108, 108}};
  for (int slot = 0; slot < kColorSlotCount; ++slot) {
    EXPECT_EQ(ShowColorSlot(v, slot), expected[slot]) << "slot " << slot;
    EXPECT_EQ(v.selectedColorSlot, slot);
  }

  // A preset replaces all nine slots, shows slot 0 and leaves fonts and transparency alone.
  v.transparency = TransparencyMode::Alpha;
  const OptionValues before = v;
  const std::vector<std::vector<std::string_view>> names = {
      {"clCream", "clBlack", "clOlive", "clGreen", "clWhite", "clCream", "clBlack", "clTeal",
       "clCream"},
      {"clNavy", "clWhite", "clSkyBlue", "clTeal", "clWhite", "clNavy", "clWhite", "clSkyBlue",
       "clNavy"},
      {"clBlack", "clWhite", "clPurple", "clMaroon", "clWhite", "clBlack", "clWhite", "clPurple",
       "clBlack"}};
  for (int p = 0; p < 3; ++p) {
    ApplyColorPreset(v, static_cast<ColorPreset>(p));
    EXPECT_EQ(v.selectedColorSlot, 0);
    for (std::size_t i = 0; i < kColorSlotCount; ++i) {
      EXPECT_EQ(ColorName(v.colorSlots[i]), names[static_cast<std::size_t>(p)][i])
          << "preset " << p << " slot " << i;
    }
    // The colour key is the background of the calendar and of the date/time area.
    EXPECT_EQ(v.colorSlots[8], v.colorSlots[0]);
    EXPECT_EQ(v.colorSlots[8], v.colorSlots[5]);
  }
  OptionValues rest = v;
  rest.colorSlots = before.colorSlots;
  rest.selectedColorSlot = before.selectedColorSlot;
  EXPECT_EQ(rest, before);
}

// A hand-edited format longer than the combo box holds comes back whole unless the user changed
// what the box showed (the box cuts before a double-byte character that does not fit).
TEST(OptionFormats, AnUntouchedLongFormatIsStoredAsItWasRead) {
  const std::string longFormat = std::string(254, 'y') + Sj("年") + "mm";
  const std::string shown = std::string(254, 'y');
  EXPECT_EQ(FormatToStore(longFormat, shown), longFormat);
  EXPECT_EQ(FormatToStore(longFormat, shown + "d"), shown + "d");
  EXPECT_EQ(FormatToStore(longFormat, shown.substr(1)), shown.substr(1));
  EXPECT_EQ(FormatToStore("yyyy", "yyyy"), "yyyy");
  EXPECT_EQ(FormatToStore("yyyy", "yy"), "yy");
  EXPECT_EQ(FormatToStore("", "hh"), "hh");
}

TEST(OptionFonts, Description) {
  EXPECT_EQ(FontDescription({Sj("ＭＳ Ｐゴシック"), 12, false, true}),
            Sj("ＭＳ Ｐゴシック, 12p, 太字"));
  EXPECT_EQ(FontDescription({Sj("ＭＳ ゴシック"), 9, true, true}),
            Sj("ＭＳ ゴシック, 9p, 太字, 斜体"));
  EXPECT_EQ(FontDescription({"Arial", 11, true, false}), Sj("Arial, 11p, 斜体"));
}

TEST(OptionTransparency, ConfirmationIsAskedOncePerOpening) {
  int asked = 0;
  bool answer = false;
  const auto confirm = [&] {
    ++asked;
    return answer;
  };

  OptionValues v = LoadOptions(TCalendarSettings{}, {});
  EXPECT_TRUE(v.colorKeyConfirmArmed);
  SelectTransparency(v, TransparencyMode::Alpha, confirm);
  EXPECT_EQ(asked, 0);
  SelectTransparency(v, TransparencyMode::ColorKey, confirm);  // "キャンセル"
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(v.transparency, TransparencyMode::None);
  SelectTransparency(v, TransparencyMode::ColorKey, confirm);  // accepted without a question
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(v.transparency, TransparencyMode::ColorKey);

  // A new opening asks again; "OK" keeps the choice.
  v = LoadOptions(TCalendarSettings{}, {});
  answer = true;
  SelectTransparency(v, TransparencyMode::ColorKey, confirm);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(v.transparency, TransparencyMode::ColorKey);

  // Opened with colour-key on: never asked.
  TCalendarSettings on;
  on.Transparency = true;
  v = LoadOptions(on, {});
  SelectTransparency(v, TransparencyMode::None, confirm);
  SelectTransparency(v, TransparencyMode::ColorKey, confirm);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(v.transparency, TransparencyMode::ColorKey);

  // Ten lines joined by CR LF, blank lines before the second paragraph and the question.
  const std::string text = Cp932ToUtf8(TransparencyConfirmText());
  std::vector<std::string> lines;
  for (std::size_t at = 0;;) {
    const std::size_t end = text.find("\r\n", at);
    lines.push_back(text.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + 2;
  }
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[8], "");
  EXPECT_EQ(lines[9], "以上の注意点を踏まえた上で、背景透明化機能を有効にしますか？");
  EXPECT_EQ(TransparencyConfirmCaption(), Sj("確認"));
}

TEST(OptionReactions, EachTriggerKeepsItsOwnAction) {
  OptionValues v = LoadOptions(TCalendarSettings{}, {});
  EXPECT_EQ(v.selectedAction, kReactionTray);  // PopupMenuItem, trigger 0
  SelectReactionTrigger(v, 4);
  EXPECT_EQ(v.selectedAction, kReactionMonthCount);
  SetReactionAction(v, kReactionHide);
  SelectReactionTrigger(v, 3);
  EXPECT_EQ(v.selectedAction, kReactionToggleCalendar);
  SetReactionAction(v, kReactionNone);
  SelectReactionTrigger(v, 4);
  EXPECT_EQ(v.selectedAction, kReactionHide);
  SelectReactionTrigger(v, 6);  // no such trigger
  EXPECT_EQ(v.selectedTrigger, 4);

  TCalendarSettings s;
  ApplyOptions(v, {1280, 200}, s);
  EXPECT_EQ(s.SpaceBarDown, kReactionHide);
  EXPECT_EQ(s.EnterKeyDown, kReactionNone);
  EXPECT_EQ(s.MainDblClick, kReactionToggleCalendar);
  EXPECT_EQ(s.PopupMenuItem, kReactionTray);
}

TEST(OptionTexts, EveryCaptionAndPresetSurvivesCp932) {
  std::vector<std::string> texts = {TransparencyConfirmText()};
  const auto add = [&](const auto& list) { texts.insert(texts.end(), list.begin(), list.end()); };
  add(ReactionTriggerCaptions());
  add(ReactionActionCaptions());
  add(CalendarPositionCaptions());
  add(ClockPositionCaptions());
  add(FirstDayCaptions());
  add(ColorSlotCaptions());
  add(DateFormatPresets());
  add(TimeFormatPresets());
  for (const std::string& t : texts) {
    EXPECT_FALSE(t.empty());
    EXPECT_EQ(t.find('?'), std::string::npos) << Cp932ToUtf8(t);  // a character cp932 lacks
  }
  EXPECT_EQ(DateFormatPresets()[0], TCalendarSettings{}.DateFormat);
  EXPECT_EQ(TimeFormatPresets()[0], TCalendarSettings{}.TimeFormat);
}

TEST(OptionPreview, PlacementAndArrangement) {
  EXPECT_EQ(PreviewPlacement(false, {100, 50, 606, 549}), (Point{706, 50}));
  EXPECT_EQ(PreviewPlacement(true, {100, 50, 606, 549}), std::nullopt);

  // A narrow label takes the calendar's width, a wide one widens the calendar.
  PreviewLayout l = ArrangePreview({180, 150}, {90, 20});
  EXPECT_EQ(l.backPanel, (Rect{0, 0, 186, 176}));
  EXPECT_EQ(l.mainPanel, (Rect{3, 3, 180, 170}));
  EXPECT_EQ(l.calendar, (Rect{0, 0, 180, 150}));
  EXPECT_EQ(l.label, (Rect{0, 150, 180, 20}));
  EXPECT_EQ(l.client, (Size{186, 176}));
  l = ArrangePreview({180, 150}, {250, 30});
  EXPECT_EQ(l.calendar, (Rect{0, 0, 250, 150}));
  EXPECT_EQ(l.label, (Rect{0, 150, 250, 30}));
  EXPECT_EQ(l.client, (Size{256, 186}));

  OptionValues v = LoadOptions(TCalendarSettings{}, {});
  v.transparency = TransparencyMode::Alpha;
  v.alpha = 100;
  const PreviewLook look = PreviewLookOf(v);
  EXPECT_EQ(look.trailText, v.colorSlots[2]);
  EXPECT_EQ(look.formColor, v.colorSlots[7]);
  EXPECT_EQ(look.colorKey, v.colorSlots[8]);
  EXPECT_TRUE(look.alphaOn);
  EXPECT_FALSE(look.colorKeyOn);
  EXPECT_EQ(look.alpha, 100);
}

}  // namespace
}  // namespace mirovane
