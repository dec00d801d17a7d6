// The options dialog (TOptionSetDialog) and its colour preview (TColorTestDialog) without a
// window: the values of every control, the load step that fills them from the settings record and
// the main window's present state, the apply step that writes them back, and the rules the
// dialog's handlers follow (month-grid limit, reaction slots, colour samples and presets, font
// descriptions, the transparency confirmation, the preview's place and shape).
//
// The Win32 dialog copies OptionValues into its controls after LoadOptions and back before
// ApplyOptions, and calls the rule functions from its handlers. The values LoadOptions returns
// are already consistent, so the controls' change handlers, which run again when the dialog sets
// them, change nothing. Texts are cp932.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settings/colors.h"
#include "settings/layout.h"
#include "settings/settings.h"

namespace mirovane {

inline constexpr int kReactionTriggerCount = 6;  // ReactionSlots, the items of cmbSetAction
inline constexpr int kReactionActionCount = 8;   // the items of cmbSelAction (action codes 0..7)
inline constexpr int kColorSlotCount = 9;        // ColorSlots, the items of cmbColor
inline constexpr int kNoSelection = -1;          // a combo box showing none of its items

// The three radio buttons of the transparency group.
enum class TransparencyMode {
  None,      // optNone
  ColorKey,  // optTransparent: every pixel of TransColor is see-through (Transparency)
  Alpha,     // optAlpha: the whole window translucent with AlphaValue (AlphaBlend)
};

// One value per control of the dialog's three tabs. Spin values are the spins' Value, that is
// within the spins' limits; combo indices are kNoSelection when the setting names no item.
struct OptionValues {
  // Tab 1 " 表示・動作 ", group " 表示 "
  int posY = 0;                 // spnPosY: the window's top
  int posX = 0;                 // spnPosX: the window's left (never the right-edge distance)
  int borderWidth = 1;          // spnBorderWidth
  int labelBorder = 2;          // spnLabelBorder
  bool memoryPosition = false;  // chkMemoryPos
  bool innerDesktop = true;     // chkInnerDesktop (enabled only while chkMemoryPos is off)
  bool stayOnTop = true;        // chkStayTop
  bool alignRight = true;       // chkAlignRight
  bool titleBar = false;        // chkMiniBar
  bool hideTrayIcon = false;    // chkShowTray (ticked = no icon)

  // Tab 1, group " 動作 "
  std::array<std::uint8_t, kReactionTriggerCount> reactionSlots{};  // ReactionSlots
  int selectedTrigger = 0;  // cmbSetAction: which slot is shown and edited
  int selectedAction = 0;   // cmbSelAction: the shown slot's action code, or kNoSelection
  int hideTime = 20;        // spnHideTime
  int hideWait = 5;         // spnHideWait
  int dspCycle = 50;        // spnDspCycle
  int alarmChk = 5;         // spnAlarmChk

  // Tab 2 " カレンダー・日付・時刻 ", group " カレンダー "
  bool hideCalendar = false;  // chkShowCalen (ticked = calendar hidden)
  int calendarPos = 1;        // cmbCalendarPos: 0 bottom, 1 top, 2 middle
  bool weekNumbers = false;   // chkWeekNum
  int firstDay = 7;           // cmbFirstDay: 0..6 Monday..Sunday, 7 the regional setting
  bool todayCircle = true;    // chkRedCircle
  int monthRows = 1;          // spnMonthY
  int monthColumns = 1;       // spnMonthX

  // Tab 2, group " 日付・時刻 "
  std::string dateFormat;      // cmbDateFormat
  bool hideDateLabel = false;  // chkShowDate (ticked = date hidden)
  std::string timeFormat;      // cmbTimeFormat
  bool hideTimeLabel = false;  // chkShowTime (ticked = time hidden)
  bool hideClock = false;      // chkShowClock (ticked = clock hidden; the ShowClock key)
  int clockPos = 0;            // cmbClockPos: 0 right, 1 left, 2 top, 3 bottom

  // Tab 3 " フォント・カラー ", group " フォント "
  FontSetting calendarFont;  // lblCalendar's font
  FontSetting dateTimeFont;  // lblDateTime's font
  int fontSizeChange = 0;    // spnFontSize

  // Tab 3, group " カラー "
  std::array<ColorValue, kColorSlotCount> colorSlots{};  // ColorSlots
  int selectedColorSlot = 0;                             // cmbColor

  // Tab 3, group " 透明化 "
  TransparencyMode transparency = TransparencyMode::None;  // optNone / optTransparent / optAlpha
  int alpha = 200;                                         // spnAlpha
  // The one-shot flag of the colour-key confirmation: the first choice of optTransparent asks.
  bool colorKeyConfirmArmed = false;

  bool operator==(const OptionValues&) const = default;
};

// What the dialog reads from the main window besides the settings record.
struct OptionWindowState {
  int top = 0;  // the window's present top and left, screen coordinates
  int left = 0;
  int columns = 1;  // the present month grid (the month-count switch may differ from the record)
  int rows = 1;
  bool weekNumbers = false;  // the calendar's present week-number and today-circle states
  bool todayCircle = true;
};

// The screen and window widths the apply step converts a right-aligned position with.
struct OptionScreen {
  int screenWidth = 0;
  int windowWidth = 0;
};

// What the apply step hands to the main window beyond the record.
struct OptionApplyResult {
  Point windowPos;  // the window's new left and top
  int columns = 1;  // the month grid and the calendar's month scroll step (MonthDelta)
  int rows = 1;
  int monthDelta = 1;
  int refreshIntervalMs = 0;  // display refresh timer (Timer3); 0 = stopped
};

// The load step (FormCreate), in the dialog's order: tabs 1 and 2, reaction slots, the timing
// spins, tab 3, the first trigger and colour slot 0 shown, the confirmation armed. The month spins
// are set columns first, each running LimitMonthGrid, so an oversized grid opens corrected.
OptionValues LoadOptions(const TCalendarSettings& s, const OptionWindowState& window);

// The apply step (btnOkClick): every value back into the record, in the dialog's order. With
// AlignRight the stored LeftPosition is the gap between the window's right edge and the screen's.
// A combo box without a selection leaves its setting as it was. Besides what the result names,
// the main window applies to itself what the record now holds: fonts, the five calendar colours,
// week numbers and today circle, the date/time colours, window colour, transparency and alpha.
OptionApplyResult ApplyOptions(const OptionValues& v, const OptionScreen& screen,
                               TCalendarSettings& s);

// The format combo boxes take at most this many bytes of text.
inline constexpr std::size_t kFormatEditLimit = 255;
// cmbDateFormat / cmbTimeFormat in the apply step: a format longer than the box holds shows cut
// (never inside a double-byte character); while the box still shows exactly that cut, the user
// has not changed it and the format is kept whole as it was read. Anything else is the user's.
std::string FormatToStore(std::string_view loaded, std::string_view shown);

// The display refresh period of a DspCycle value: DspCycle × 10 ms, DspCycle at most 6000;
// 0 (timer stopped) for DspCycle ≤ 0.
int DisplayRefreshIntervalMs(int dspCycle) noexcept;

// The month-grid rule: the other spin's value after the changed spin took `changed`, so that
// columns × rows stays within 12 (2 → at most 6, 3 → 4, 4 → 3, 5 or 6 → 2, 7..12 → 1).
int LimitMonthGrid(int changed, int other) noexcept;
// spnMonthXChange / spnMonthYChange: sets one month spin (clamped to 1..12) and limits the other.
void SetMonthColumns(OptionValues& v, int columns);
void SetMonthRows(OptionValues& v, int rows);

// chkMemoryPosClick: chkInnerDesktop is enabled only while chkMemoryPos is off (its tick stays).
inline bool InnerDesktopEnabled(const OptionValues& v) noexcept { return !v.memoryPosition; }
// lblAlpha and spnAlpha are enabled only while optAlpha is selected.
inline bool AlphaControlsEnabled(const OptionValues& v) noexcept {
  return v.transparency == TransparencyMode::Alpha;
}

// SelectReactionTrigger: shows trigger `trigger` (0..5) and its action code in cmbSelAction
// (kNoSelection for a code outside 0..7). Other indices are ignored.
void SelectReactionTrigger(OptionValues& v, int trigger);
// cmbSelActionChange: the shown trigger's action := `action`. A combo without a selection
// (kNoSelection) leaves the slot as it was.
void SetReactionAction(OptionValues& v, int action);

// ShowColorSlot: the colours stcColor ("サンプル") is painted in for the selected slot: each text
// colour on the background it is drawn on; the border colour and the colour key as plain swatches.
struct ColorSample {
  ColorValue back = 0;
  ColorValue text = 0;
  bool operator==(const ColorSample&) const = default;
};
// Selects `slot` (clamped to 0..8) in cmbColor and returns its sample.
ColorSample ShowColorSlot(OptionValues& v, int slot);

// The colour presets of btnColorInit1..3: white (the settings' defaults), navy and black.
enum class ColorPreset { White = 0, Navy = 1, Black = 2 };
const std::array<ColorValue, kColorSlotCount>& ColorPresetSlots(ColorPreset preset) noexcept;
// Overwrites all nine slots with the preset and shows slot 0; fonts and transparency stay.
void ApplyColorPreset(OptionValues& v, ColorPreset preset);

// The sample label's text for a font (ShowFontSample): face, size in points and "p", then
// ", 太字" when bold and ", 斜体" when italic — "ＭＳ Ｐゴシック, 12p, 太字".
std::string FontDescription(const FontSetting& font);

// optAlphaClick, for a radio button that has just become selected: when it is optTransparent and
// the confirmation is armed, the flag is disarmed and `confirm` asked (true = "OK"); any other
// answer selects optNone instead. So the question comes at most once per opening, and never when
// colour-key transparency was on already.
void SelectTransparency(OptionValues& v, TransparencyMode mode,
                        const std::function<bool()>& confirm);
// The confirmation's message box: caption "確認", question icon, "OK" and "キャンセル".
const std::string& TransparencyConfirmCaption();
const std::string& TransparencyConfirmText();

// The item lists of the dialog's combo boxes; an item's index is the value it stands for.
const std::array<std::string, kReactionTriggerCount>& ReactionTriggerCaptions();  // cmbSetAction
const std::array<std::string, kReactionActionCount>& ReactionActionCaptions();    // cmbSelAction
const std::array<std::string, 3>& CalendarPositionCaptions();                     // cmbCalendarPos
const std::array<std::string, 4>& ClockPositionCaptions();                        // cmbClockPos
const std::array<std::string, 8>& FirstDayCaptions();                             // cmbFirstDay
const std::array<std::string, kColorSlotCount>& ColorSlotCaptions();              // cmbColor
const std::array<std::string, 8>& DateFormatPresets();                            // cmbDateFormat
const std::array<std::string, 8>& TimeFormatPresets();                            // cmbTimeFormat

// The colour preview (TColorTestDialog).

// btnTestClick: where the preview goes. Shown from hidden it is placed with its top at the
// dialog's top and its left at the dialog's right edge; pressed again while showing it is shown
// anew where it is (nothing to move).
std::optional<Point> PreviewPlacement(bool showing, Rect dialog);

// What the preview shows of the working values.
struct PreviewLook {
  ColorValue monthBack = 0;  // TestCalendar: slot 0
  ColorValue monthText = 0;  // slot 1
  ColorValue trailText = 0;  // slot 2
  ColorValue titleBack = 0;  // slot 3
  ColorValue titleText = 0;  // slot 4
  ColorValue panelBack = 0;  // MainPanel's background: slot 5
  ColorValue panelText = 0;  // MainPanel's font colour: slot 6
  ColorValue formColor = 0;  // the form's colour, seen as the frame: slot 7
  ColorValue colorKey = 0;   // the form's transparency colour: slot 8
  bool colorKeyOn = false;   // optTransparent selected
  bool alphaOn = false;      // optAlpha selected
  int alpha = 255;           // spnAlpha
  bool operator==(const PreviewLook&) const = default;
};
PreviewLook PreviewLookOf(const OptionValues& v);

// ArrangePreview: the calendar's one-month size and the date label's text size in, the panels
// out. Both controls take the wider of the two widths; the calendar sits above the label inside
// MainPanel, framed by 3 pixels of BackPanel (the form's colour); the client is BackPanel's size.
struct PreviewLayout {
  Rect backPanel;  // in the form's client area
  Rect mainPanel;  // in BackPanel
  Rect calendar;   // TestCalendar, in MainPanel
  Rect label;      // TestLabel, in MainPanel
  Size client;
  bool operator==(const PreviewLayout&) const = default;
};
PreviewLayout ArrangePreview(Size calendar, Size label);

}  // namespace mirovane
