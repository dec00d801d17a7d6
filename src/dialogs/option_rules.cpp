#include "dialogs/option_rules.h"

#include <algorithm>
#include <cstddef>

#include "controls/numeric_edit_rules.h"
#include "platform/codec.h"
#include "settings/window_rules.h"

namespace mirovane {

namespace {

// A spin's Value: `n` within the spin's limits.
int SpinValue(const SpinSetup& spin, long long n) {
  return static_cast<int>(std::clamp<long long>(n, spin.min, spin.max));
}

// A combo box's index for a stored code: the code itself when the list has that item.
int ComboIndex(int code, int items) { return code >= 0 && code < items ? code : kNoSelection; }

template <std::size_t N>
std::array<std::string, N> Cp932List(const char* const (&utf8)[N]) {
  std::array<std::string, N> out;
  for (std::size_t i = 0; i < N; ++i) out[i] = Utf8ToCp932(utf8[i]);
  return out;
}

// ColorValue of the presets, by the names the settings file writes for them.
constexpr ColorValue kBlack = 0x000000;
constexpr ColorValue kMaroon = 0x000080;
constexpr ColorValue kGreen = 0x008000;
constexpr ColorValue kOlive = 0x008080;
constexpr ColorValue kNavy = 0x800000;
constexpr ColorValue kPurple = 0x800080;
constexpr ColorValue kTeal = 0x808000;
constexpr ColorValue kWhite = 0xFFFFFF;
constexpr ColorValue kSkyBlue = 0xF0CAA6;
constexpr ColorValue kCream = 0xF0FBFF;

constexpr std::array<std::array<ColorValue, kColorSlotCount>, 3> kPresets{{
    {kCream, kBlack, kOlive, kGreen, kWhite, kCream, kBlack, kTeal, kCream},      // white
    {kNavy, kWhite, kSkyBlue, kTeal, kWhite, kNavy, kWhite, kSkyBlue, kNavy},     // navy
    {kBlack, kWhite, kPurple, kMaroon, kWhite, kBlack, kWhite, kPurple, kBlack},  // black
}};

// The slots stcColor takes its background and text from, by selected slot: each text colour
// over the background it is drawn on.
struct SamplePair {
  int back;
  int text;
};
constexpr std::array<SamplePair, kColorSlotCount> kSamplePairs{
    {{0, 1}, {0, 1}, {0, 2}, {3, 4}, {3, 4}, {5, 6}, {5, 6}, {7, 7}, {8, 8}}};

}  // namespace

std::string FormatToStore(std::string_view loaded, std::string_view shown) {
  std::size_t cut = 0;
  while (cut < loaded.size()) {
    const std::size_t step = IsCp932LeadByte(static_cast<unsigned char>(loaded[cut])) ? 2 : 1;
    if (cut + step > kFormatEditLimit) break;
    cut += step;
  }
  return shown == loaded.substr(0, cut) ? std::string(loaded) : std::string(shown);
}

int DisplayRefreshIntervalMs(int dspCycle) noexcept {
  return dspCycle > 0 ? std::min(dspCycle, 6000) * 10 : 0;
}

int LimitMonthGrid(int changed, int other) noexcept {
  if (changed <= 1) return other;
  // 2 → 6, 3 → 4, 4 → 3, 5 and 6 → 2, 7 and more → 1: the most that keeps the product ≤ 12.
  return std::min(other, std::max(1, 12 / changed));
}

void SetMonthColumns(OptionValues& v, int columns) {
  v.monthColumns = SpinValue(kSpinMonthCount, columns);
  v.monthRows = LimitMonthGrid(v.monthColumns, v.monthRows);
}

void SetMonthRows(OptionValues& v, int rows) {
  v.monthRows = SpinValue(kSpinMonthCount, rows);
  v.monthColumns = LimitMonthGrid(v.monthRows, v.monthColumns);
}

void SelectReactionTrigger(OptionValues& v, int trigger) {
  if (trigger < 0 || trigger >= kReactionTriggerCount) return;
  v.selectedTrigger = trigger;
  v.selectedAction =
      ComboIndex(v.reactionSlots[static_cast<std::size_t>(trigger)], kReactionActionCount);
}

void SetReactionAction(OptionValues& v, int action) {
  // Showing a trigger whose code has no item clears the action combo; that must not overwrite
  // the code, and neither may anything else outside the list.
  if (action < 0 || action >= kReactionActionCount) return;
  if (v.selectedTrigger < 0 || v.selectedTrigger >= kReactionTriggerCount) return;
  v.selectedAction = action;
  v.reactionSlots[static_cast<std::size_t>(v.selectedTrigger)] = static_cast<std::uint8_t>(action);
}

ColorSample ShowColorSlot(OptionValues& v, int slot) {
  v.selectedColorSlot = std::clamp(slot, 0, kColorSlotCount - 1);
  const SamplePair pair = kSamplePairs[static_cast<std::size_t>(v.selectedColorSlot)];
  return {v.colorSlots[static_cast<std::size_t>(pair.back)],
          v.colorSlots[static_cast<std::size_t>(pair.text)]};
}

const std::array<ColorValue, kColorSlotCount>& ColorPresetSlots(ColorPreset preset) noexcept {
  return kPresets[static_cast<std::size_t>(preset)];
}

void ApplyColorPreset(OptionValues& v, ColorPreset preset) {
  v.colorSlots = ColorPresetSlots(preset);
  ShowColorSlot(v, 0);
}

std::string FontDescription(const FontSetting& font) {
  static const std::string kBold = Utf8ToCp932(", 太字");
  static const std::string kItalic = Utf8ToCp932(", 斜体");
  std::string text = font.Name + ", " + std::to_string(font.Size) + "p";
  if (font.Bold) text += kBold;
  if (font.Italic) text += kItalic;
  return text;
}

void SelectTransparency(OptionValues& v, TransparencyMode mode,
                        const std::function<bool()>& confirm) {
  v.transparency = mode;
  if (mode != TransparencyMode::ColorKey || !v.colorKeyConfirmArmed) return;
  v.colorKeyConfirmArmed = false;
  // Anything but "OK" (no one to ask included) keeps the window opaque.
  if (!confirm || !confirm()) v.transparency = TransparencyMode::None;
}

const std::string& TransparencyConfirmCaption() {
  static const std::string text = Utf8ToCp932("確認");
  return text;
}

const std::string& TransparencyConfirmText() {
  static const std::string text = Utf8ToCp932(
      "背景透明化機能では、透明化に指定した一つの色を透過色に設定します。\r\n"
      "従って、透明化指定色を文字などに使用していると、その部分まで透明になってしまいます。\r\n"
      "また、各部分の配色に純色ではなく混合色を使用していると正しく透明化されません。\r\n"
      "背景透明化を有効にする前に各部分の配色設定を確認して下さい。\r\n"
      "\r\n"
      "背景透明化機能による透明化はウィンドウが透けて見えるだけではありません。\r\n"
      "透明になった部分でのマウス操作は、透明部分の下に見えるウィンドウへの操作になります。\r\n"
      "本ソフトウェアをマウスで操作する際は透明ではない部分を選んで操作する必要があります。\r\n"
      "\r\n"
      "以上の注意点を踏まえた上で、背景透明化機能を有効にしますか？");
  return text;
}

const std::array<std::string, kReactionTriggerCount>& ReactionTriggerCaptions() {
  static const char* const kUtf8[] = {
      "ポップアップメニュー表示項目",        "メインウィンドウ ダブルクリック実行時",
      "トレイアイコン ダブルクリック実行時", "Enterキー押下時（アクティブ時のみ）",
      "Spaceキー押下時（アクティブ時のみ）", "Escキー押下時（アクティブ時のみ）"};
  static const auto list = Cp932List(kUtf8);
  return list;
}

const std::array<std::string, kReactionActionCount>& ReactionActionCaptions() {
  static const char* const kUtf8[] = {
      "何もしない",         "オプション設定画面", "アラーム設定画面", "タスクトレイに収納",
      "ウィンドウ一時隠蔽", "カレンダー可視切替", "表示月数切替",     "背景透明化切替"};
  static const auto list = Cp932List(kUtf8);
  return list;
}

const std::array<std::string, 3>& CalendarPositionCaptions() {
  static const char* const kUtf8[] = {"下段", "上段", "中段"};
  static const auto list = Cp932List(kUtf8);
  return list;
}

const std::array<std::string, 4>& ClockPositionCaptions() {
  static const char* const kUtf8[] = {"右側", "左側", "上段", "下段"};
  static const auto list = Cp932List(kUtf8);
  return list;
}

const std::array<std::string, 8>& FirstDayCaptions() {
  static const char* const kUtf8[] = {"月曜日", "火曜日", "水曜日", "木曜日",
                                      "金曜日", "土曜日", "日曜日", "地域の設定に従う"};
  static const auto list = Cp932List(kUtf8);
  return list;
}

const std::array<std::string, kColorSlotCount>& ColorSlotCaptions() {
  static const char* const kUtf8[] = {"カレンダー／日付背景色",
                                      "カレンダー／日付文字色（当月）",
                                      "カレンダー／日付文字色（前月・次月）",
                                      "カレンダー／年月背景色",
                                      "カレンダー／年月文字色",
                                      "日付・時刻／背景色",
                                      "日付・時刻／文字色",
                                      "ウィンドウ境界色",
                                      "透明化指定色（背景透明化使用時のみ）"};
  static const auto list = Cp932List(kUtf8);
  return list;
}

const std::array<std::string, 8>& DateFormatPresets() {
  static const char* const kUtf8[] = {
      R"~(yyyy/mm/dd'('aaa')')~",
      R"~(\ggge'年'm'月'd'日('aaa')')~",
      R"~(%gggee'年'mm'月'dd'日（'www'）')~",
      R"~(%yyyy"／"mm"／"dd"（"DDD"）月齢"r)~",
      R"~("'"yy/mm/dd "（ユリウス通日："u"日）")~",
      R"~(%yyyy/mm/dd% dddddd %hh:nn:ss%  "月齢"rrr)~",
      R"~(%gee"／"mm"／"dd"（"aaaa"） "hh"："nn"："ss AM%PM)~",
      R"~(\ggge"年"kkkkkd"日（"aaa"） "am\pm h"時"n"分"s"秒")~",
  };
  static const auto list = Cp932List(kUtf8);
  return list;
}

const std::array<std::string, 8>& TimeFormatPresets() {
  static const char* const kUtf8[] = {
      R"~(hh:nn:ss)~",
      R"~(\h'時'n'分's'秒')~",
      R"~(ff:nn:ss a.m./p.m.)~",
      R"~(am%pm %f'時'n'分's'秒')~",
      R"~(gee/mm/dd'('aaa') 'hh:nn:ss)~",
      R"~(ddd", "dd" "mmm" "yyyy", "hh:nn:ss)~",
      R"~(DDDD', 'dd' 'MMMM' 'yyyy', 'ff:nn:ss' 'AM/PM)~",
      R"~(\ggge"年（"jjjj"年・"ll"）"kkk d"日" hhh"の刻")~",
  };
  static const auto list = Cp932List(kUtf8);
  return list;
}

OptionValues LoadOptions(const TCalendarSettings& s, const OptionWindowState& window) {
  OptionValues v;

  // Tabs 1 and 2. The position spins show where the window is now, not the stored values.
  v.memoryPosition = s.MemoryPosition;
  v.innerDesktop = s.InnerDesktop;
  v.alignRight = s.AlignRight;
  v.posY = SpinValue(kSpinPosition, window.top);
  v.posX = SpinValue(kSpinPosition, window.left);
  v.borderWidth = SpinValue(kSpinBorder, s.BorderWidth);
  v.labelBorder = SpinValue(kSpinBorder, s.LabelBorder);
  v.hideTrayIcon = s.HideTrayIcon;
  v.stayOnTop = s.StayOnTop;
  v.titleBar = s.TitleBar;
  v.hideCalendar = s.HideCalendar;
  v.hideDateLabel = s.HideNowDate;
  v.hideTimeLabel = s.HideNowTime;
  v.hideClock = s.ShowClock;
  v.todayCircle = window.todayCircle;
  v.weekNumbers = window.weekNumbers;
  v.firstDay = ComboIndex(s.FirstDayOfWeek, 8);
  // The month spins start at their initial value; each setting runs the month-grid rule, columns
  // first, so a grid of more than twelve months opens corrected (12 × 12 as 1 × 12).
  v.monthColumns = v.monthRows = kSpinMonthCount.initial;
  SetMonthColumns(v, window.columns);
  SetMonthRows(v, window.rows);
  v.calendarPos = ComboIndex(s.CalendarPosition & 15, 3);
  v.dateFormat = s.DateFormat;
  v.timeFormat = s.TimeFormat;
  v.clockPos = ComboIndex(s.CalendarPosition >> 4, 4);

  // Reaction slots in trigger order, then the timing spins.
  v.reactionSlots = {s.PopupMenuItem, s.MainDblClick, s.IconDblClick,
                     s.EnterKeyDown,  s.SpaceBarDown, s.EscapeKeyDown};
  v.hideTime = SpinValue(kSpinHideTime, s.HideTime);
  v.hideWait = SpinValue(kSpinHideTime, s.HideWait);
  v.dspCycle = SpinValue(kSpinDspCycle, s.DspCycle);
  v.alarmChk = SpinValue(kSpinAlarmChk, s.AlarmChk);

  // Tab 3. optTransparent, then optAlpha: with both modes on, optAlpha is the one shown. The
  // confirmation is not armed yet, so selecting here asks nothing.
  v.calendarFont = s.CalendarFont;
  v.dateTimeFont = s.DateTimeFont;
  v.fontSizeChange = SpinValue(kSpinFontSize, s.FontSizeChange);
  v.colorSlots = {s.CalendarBack, s.CalendarText, s.TrailText,   s.TitleBack, s.TitleText,
                  s.LabelBack,    s.LabelText,    s.BorderColor, s.TransColor};
  v.transparency = TransparencyMode::None;
  v.colorKeyConfirmArmed = false;
  if (s.Transparency) SelectTransparency(v, TransparencyMode::ColorKey, nullptr);
  if (s.AlphaBlend) SelectTransparency(v, TransparencyMode::Alpha, nullptr);
  v.alpha = SpinValue(kSpinAlpha, s.AlphaValue);

  SelectReactionTrigger(v, 0);
  ShowColorSlot(v, 0);
  // Last: the question about colour-key transparency is asked only when it is off now.
  v.colorKeyConfirmArmed = v.transparency != TransparencyMode::ColorKey;
  return v;
}

OptionApplyResult ApplyOptions(const OptionValues& v, const OptionScreen& screen,
                               TCalendarSettings& s) {
  OptionApplyResult r;

  s.MemoryPosition = v.memoryPosition;
  s.InnerDesktop = v.innerDesktop;
  s.AlignRight = v.alignRight;
  // The window moves to the spins; with AlignRight the stored left is the right-edge gap.
  r.windowPos = {SpinValue(kSpinPosition, v.posX), SpinValue(kSpinPosition, v.posY)};
  s.TopPosition = r.windowPos.y;
  s.LeftPosition = LeftToSetting(s, r.windowPos.x, screen.windowWidth, screen.screenWidth);
  s.BorderWidth = static_cast<std::uint8_t>(SpinValue(kSpinBorder, v.borderWidth));
  s.LabelBorder = static_cast<std::uint8_t>(SpinValue(kSpinBorder, v.labelBorder));
  s.HideTrayIcon = v.hideTrayIcon;
  s.StayOnTop = v.stayOnTop;
  s.TitleBar = v.titleBar;
  s.HideCalendar = v.hideCalendar;
  s.HideNowDate = v.hideDateLabel;
  s.HideNowTime = v.hideTimeLabel;
  s.ShowClock = v.hideClock;
  s.ShowRedCircle = v.todayCircle;
  s.ShowWeekNumber = v.weekNumbers;
  if (v.firstDay >= 0 && v.firstDay < 8) s.FirstDayOfWeek = static_cast<std::uint8_t>(v.firstDay);

  r.columns = SpinValue(kSpinMonthCount, v.monthColumns);
  r.rows = SpinValue(kSpinMonthCount, v.monthRows);
  r.monthDelta = r.columns * r.rows;
  s.ShowMonthCount = static_cast<std::uint8_t>(16 * r.columns + r.rows);

  // A placement combo without a selection keeps its half of the byte.
  int calendarPos = s.CalendarPosition & 15;
  int clockPos = s.CalendarPosition >> 4;
  if (v.calendarPos >= 0 && v.calendarPos < 3) calendarPos = v.calendarPos;
  if (v.clockPos >= 0 && v.clockPos < 4) clockPos = v.clockPos;
  s.CalendarPosition = static_cast<std::uint8_t>(calendarPos + 16 * clockPos);

  s.DateFormat = v.dateFormat;
  s.TimeFormat = v.timeFormat;

  s.PopupMenuItem = v.reactionSlots[0];
  s.MainDblClick = v.reactionSlots[1];
  s.IconDblClick = v.reactionSlots[2];
  s.EnterKeyDown = v.reactionSlots[3];
  s.SpaceBarDown = v.reactionSlots[4];
  s.EscapeKeyDown = v.reactionSlots[5];
  s.HideTime = static_cast<std::uint8_t>(SpinValue(kSpinHideTime, v.hideTime));
  s.HideWait = static_cast<std::uint8_t>(SpinValue(kSpinHideTime, v.hideWait));

  const int cycle = SpinValue(kSpinDspCycle, v.dspCycle);
  s.DspCycle = cycle >= 1 ? std::min(cycle, 6000) : 0;
  r.refreshIntervalMs = DisplayRefreshIntervalMs(s.DspCycle);
  const int check = SpinValue(kSpinAlarmChk, v.alarmChk);
  s.AlarmChk = check < 1 ? 0 : std::min(check, 1800);

  // Tab 3.
  s.CalendarFont = v.calendarFont;
  s.DateTimeFont = v.dateTimeFont;
  s.FontSizeChange = static_cast<std::int8_t>(SpinValue(kSpinFontSize, v.fontSizeChange));
  s.CalendarBack = v.colorSlots[0];
  s.CalendarText = v.colorSlots[1];
  s.TrailText = v.colorSlots[2];
  s.TitleBack = v.colorSlots[3];
  s.TitleText = v.colorSlots[4];
  s.LabelBack = v.colorSlots[5];
  s.LabelText = v.colorSlots[6];
  s.BorderColor = v.colorSlots[7];
  s.TransColor = v.colorSlots[8];
  s.Transparency = v.transparency == TransparencyMode::ColorKey;
  s.AlphaBlend = v.transparency == TransparencyMode::Alpha;
  s.AlphaValue = static_cast<std::uint8_t>(SpinValue(kSpinAlpha, v.alpha));
  return r;
}

std::optional<Point> PreviewPlacement(bool showing, Rect dialog) {
  if (showing) return std::nullopt;
  return Point{dialog.Right(), dialog.y};
}

PreviewLook PreviewLookOf(const OptionValues& v) {
  const auto& c = v.colorSlots;
  PreviewLook look;
  look.monthBack = c[0];
  look.monthText = c[1];
  look.trailText = c[2];
  look.titleBack = c[3];
  look.titleText = c[4];
  look.panelBack = c[5];
  look.panelText = c[6];
  look.formColor = c[7];
  look.colorKey = c[8];
  look.colorKeyOn = v.transparency == TransparencyMode::ColorKey;
  look.alphaOn = v.transparency == TransparencyMode::Alpha;
  look.alpha = SpinValue(kSpinAlpha, v.alpha);
  return look;
}

PreviewLayout ArrangePreview(Size calendar, Size label) {
  constexpr int kFrame = 3;  // BackPanel's colour around MainPanel
  const int w = std::max(calendar.w, label.w);
  const int h = calendar.h + label.h;
  PreviewLayout out;
  out.mainPanel = {kFrame, kFrame, w, h};
  out.backPanel = {0, 0, w + 2 * kFrame, h + 2 * kFrame};
  out.label = {0, calendar.h, w, label.h};  // aligned to MainPanel's bottom
  out.calendar = {0, 0, w, calendar.h};     // fills the rest
  out.client = {out.backPanel.w, out.backPanel.h};
  return out;
}

}  // namespace mirovane
