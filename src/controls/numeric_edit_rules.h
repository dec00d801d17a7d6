// The rules of the numeric input controls, without a window: TIntegerEdit's rendering, clamping,
// reading and key filter, TSpinEditEx's steps, TUpDownLimited's reading of its arrow position,
// and TBaseEdit's background colours.
//
// The Win32 controls keep the text in the real edit control. They hand that text to these rules
// and put back the text the rules return, so the number is never stored twice. Texts are cp932;
// a number's rendering is plain ASCII.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirovane {

// What the key filter decided about one typed character.
struct CharVerdict {
  bool insert = false;  // pass the character on to the edit's own handling
  bool beep = false;    // refused with the default message beep
  // The text to show instead (the sign keys and Enter re-render the number); none = unchanged.
  std::optional<std::string> newText;
};

// TIntegerEdit's number: a signed 32-bit integer held as the edit's text.
class IntegerEditRules {
 public:
  std::int32_t MinValue = 0;
  std::int32_t MaxValue = 0;  // the limits apply only while MinValue < MaxValue
  bool ShowPlus = false;      // "+" before positive numbers
  bool ZeroFill = false;      // leading zeros up to MaxLength characters, sign included
  bool ZeroToBlank = false;   // 0 shows as an empty text
  int MaxLength = 0;          // the edit's length limit; 0 = none
  // The most recent result of ClampValue: what a text that does not parse reads as.
  std::int32_t LastValue = 0;

  bool LimitsOn() const noexcept { return MinValue < MaxValue; }

  // The text of `n` (ZeroToBlank, then ZeroFill, then ShowPlus).
  std::string ShowNumber(std::int32_t n) const;
  // `n` brought into the limits (when they are on) and into 32 bits; the result is LastValue.
  std::int32_t ClampValue(std::int64_t n);
  // Reading Value: an empty text is 0, a text that is no 32-bit decimal integer is LastValue;
  // the number then passes through ClampValue.
  std::int32_t ReadValue(std::string_view text);
  // Writing Value: the text that shows ClampValue(n).
  std::string WriteValue(std::int64_t n) { return ShowNumber(ClampValue(n)); }
  // RefreshText: `text` parsed, clamped and rendered again.
  std::string RefreshText(std::string_view text) { return ShowNumber(ReadValue(text)); }

  // The key filter for a character typed into an edit showing `text`. Digits, Backspace and the
  // other control characters go on to the edit; "+" makes a negative number positive and "-"
  // toggles the sign, where the limits allow that sign, and neither is ever inserted; Enter
  // re-renders the text. Anything else is refused with a beep, and so are digits, signs,
  // Backspace and Enter while the editor is disabled. A read-only edit keeps its sign.
  CharVerdict CharAllowed(char32_t c, std::string_view text, bool editorEnabled,
                          bool readOnly = false);

  // `steps` steps of `increment` from the number in `text` (negative steps go down), each one
  // clamped as a write of Value would be; the text that shows the result.
  std::string Step(std::string_view text, std::int32_t increment, int steps);
};

// TUpDownLimited's arrow button works in the range 0..2 from position 1 and reports its position
// after every click, also when it stays at an end. 0 and 2 name the arrow; 1 is only reached by
// leaving an end, so it means the reverse of the previous direction.
class ArrowReading {
 public:
  bool LastWasUp = false;
  // Returns the direction of this click (LastWasUp).
  bool HandleArrow(int position) noexcept;
};

// The pace of an arrow held down: one step at the press, the first repeat after the keyboard's
// repeat delay (its setting 0..3 is 250..1000 ms), then a step every kArrowRepeatMs, as long as
// the pointer stays on the arrow that was pressed.
inline constexpr unsigned kArrowRepeatMs = 125;
constexpr unsigned ArrowFirstRepeatMs(int keyboardDelaySetting) noexcept {
  return static_cast<unsigned>((keyboardDelaySetting < 0   ? 0
                                : keyboardDelaySetting > 3 ? 3
                                                           : keyboardDelaySetting) +
                               1) *
         250u;
}

// Whole wheel notches out of wheel deltas (120 a notch; finer wheels send parts of one).
class WheelNotches {
 public:
  // The signed number of whole notches completed by `delta`; the rest is kept for the next.
  int Take(int delta) noexcept;

 private:
  int rest_ = 0;
};

// A colour as the program's settings hold it: 0x00BBGGRR, or kEditSystemColor + a system colour
// index.
using EditColor = std::uint32_t;
inline constexpr EditColor kEditSystemColor = 0x80000000;
inline constexpr EditColor kEditWindowColor = kEditSystemColor | 5;       // COLOR_WINDOW
inline constexpr EditColor kEditButtonFaceColor = kEditSystemColor | 15;  // COLOR_BTNFACE

// TBaseEdit's background: EnableColor while the control is editable (enabled, with its editor
// enabled), DisableColor while it is not. Color is the one showing; setting it directly stores
// it into the colour of the present state. Each setter returns whether Color changed.
class EditColors {
 public:
  EditColor EnableColor() const noexcept { return enableColor_; }
  EditColor DisableColor() const noexcept { return disableColor_; }
  EditColor Color() const noexcept { return color_; }
  bool Editable() const noexcept { return editable_; }

  // Enabled or EditorEnabled changed: Color follows the new state.
  bool SetEditable(bool editable) noexcept;
  bool SetEnableColor(EditColor color) noexcept;
  bool SetDisableColor(EditColor color) noexcept;
  bool SetColor(EditColor color) noexcept;

 private:
  EditColor enableColor_ = kEditWindowColor;
  EditColor disableColor_ = kEditButtonFaceColor;
  EditColor color_ = kEditWindowColor;
  bool editable_ = true;
};

// One spin edit of the dialogs, declared in one line.
struct SpinSetup {
  std::int32_t min = 0;
  std::int32_t max = 0;
  std::int32_t increment = 1;
  int maxLength = 0;
  std::int32_t initial = 0;
  bool showPlus = false;
  bool enabled = true;
};

// The spin edits of the options dialog and the alarm editor.
// spnPosX, spnPosY
inline constexpr SpinSetup kSpinPosition{.min = -32768, .max = 32767, .maxLength = 6};
// spnBorderWidth, spnLabelBorder
inline constexpr SpinSetup kSpinBorder{.min = 0, .max = 255, .maxLength = 3};
// spnHideTime, spnHideWait
inline constexpr SpinSetup kSpinHideTime{.min = 1, .max = 255, .maxLength = 3, .initial = 1};
// spnDspCycle
inline constexpr SpinSetup kSpinDspCycle{.min = 0, .max = 999, .maxLength = 3, .initial = 10};
// spnAlarmChk
inline constexpr SpinSetup kSpinAlarmChk{.min = 0, .max = 999, .maxLength = 3, .initial = 5};
// spnMonthX, spnMonthY
inline constexpr SpinSetup kSpinMonthCount{.min = 1, .max = 12, .maxLength = 2, .initial = 1};
// spnFontSize
inline constexpr SpinSetup kSpinFontSize{.min = -99, .max = 99, .maxLength = 3, .showPlus = true};
// spnAlpha
inline constexpr SpinSetup kSpinAlpha{
    .min = 5, .max = 255, .increment = 5, .maxLength = 3, .initial = 200, .enabled = false};
// spnMinute of the alarm editor
inline constexpr SpinSetup kSpinAlarmMinute{
    .min = 0, .max = 720, .increment = 5, .maxLength = 3, .initial = 30};
// spnDelayed of the alarm editor
inline constexpr SpinSetup kSpinAlarmDelay{.min = 0, .max = 90, .increment = 5, .maxLength = 2};

inline constexpr std::array<SpinSetup, 10> kAllSpinSetups{
    kSpinPosition,   kSpinBorder,   kSpinHideTime, kSpinDspCycle,    kSpinAlarmChk,
    kSpinMonthCount, kSpinFontSize, kSpinAlpha,    kSpinAlarmMinute, kSpinAlarmDelay};

}  // namespace mirovane
