#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/numeric_edit_rules.h"

namespace mirovane {
namespace {

IntegerEditRules Limits(std::int32_t min, std::int32_t max, int maxLength = 3) {
  IntegerEditRules r;
  r.MinValue = min;
  r.MaxValue = max;
  r.MaxLength = maxLength;
  return r;
}

TEST(NumericEditRules, RenderingWithMaxLength3) {
  IntegerEditRules r = Limits(0, 0);
  r.ZeroFill = true;
  EXPECT_EQ(r.ShowNumber(7), "007");
  EXPECT_EQ(r.ShowNumber(-7), "-07");
  EXPECT_EQ(r.ShowNumber(0), "000");
  EXPECT_EQ(r.ShowNumber(-1234), "-1234");  // longer numbers are not cut
  r.ShowPlus = true;
  EXPECT_EQ(r.ShowNumber(7), "+07");
  EXPECT_EQ(r.ShowNumber(0), "000");
  r.ZeroFill = false;
  EXPECT_EQ(r.ShowNumber(7), "+7");
  EXPECT_EQ(r.ShowNumber(0), "0");
  EXPECT_EQ(r.ShowNumber(-2147483647 - 1), "-2147483648");
  // Without a length limit zero fill still shows a digit.
  r.ZeroFill = true;
  r.MaxLength = 0;
  EXPECT_EQ(r.ShowNumber(0), "0");
  EXPECT_EQ(r.ShowNumber(5), "+5");

  // ZeroToBlank comes first; an empty text reads as 0.
  r.ZeroToBlank = true;
  r.MaxLength = 3;
  EXPECT_EQ(r.ShowNumber(0), "");
  EXPECT_EQ(r.ReadValue(""), 0);
  EXPECT_EQ(r.RefreshText("0"), "");
  EXPECT_EQ(r.RefreshText("+000"), "");
  EXPECT_EQ(r.RefreshText("4"), "+04");
}

TEST(NumericEditRules, ReadingClampsAndFallsBackToTheLastValue) {
  IntegerEditRules r = Limits(1, 255);
  EXPECT_EQ(r.RefreshText("0"), "1");
  EXPECT_EQ(r.RefreshText("999"), "255");
  EXPECT_EQ(r.LastValue, 255);
  EXPECT_EQ(r.ReadValue("-7"), 1);
  EXPECT_EQ(r.ReadValue(" 42 "), 42);
  // Text that is no 32-bit number reads as the last value, which is then clamped too.
  EXPECT_EQ(r.ReadValue("4x"), 42);
  EXPECT_EQ(r.ReadValue("2147483648"), 42);
  EXPECT_EQ(r.ReadValue("99999999999999999999999"), 42);
  EXPECT_EQ(r.ReadValue("+-3"), 42);
  EXPECT_EQ(r.ReadValue(""), 1);  // empty is 0, clamped
  EXPECT_EQ(r.WriteValue(1000), "255");

  // Limits off (both 0, or min not below max): anything in 32 bits stays as it is.
  IntegerEditRules off = Limits(0, 0);
  EXPECT_EQ(off.RefreshText("-5000"), "-5000");
  EXPECT_EQ(off.ReadValue("2147483647"), 2147483647);
  EXPECT_EQ(off.ReadValue("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(off.ReadValue("123"), 123);
  EXPECT_EQ(off.ReadValue("-2147483649"), 123);  // the last value
  IntegerEditRules reversed = Limits(10, 5);
  EXPECT_FALSE(reversed.LimitsOn());
  EXPECT_EQ(reversed.ReadValue("700"), 700);
}

TEST(NumericEditRules, KeyFilter) {
  IntegerEditRules r = Limits(-99, 99);
  const auto type = [&](char32_t c, std::string_view text, bool editorEnabled = true) {
    return r.CharAllowed(c, text, editorEnabled);
  };
  // "-" toggles the sign, "+" only makes a number positive; neither is ever inserted or beeps.
  CharVerdict v = type(U'-', "12");
  EXPECT_FALSE(v.insert);
  EXPECT_FALSE(v.beep);
  EXPECT_EQ(v.newText, "-12");
  EXPECT_EQ(type(U'-', "-12").newText, "12");
  EXPECT_EQ(type(U'+', "-12").newText, "12");
  EXPECT_EQ(type(U'+', "12").newText, std::nullopt);
  EXPECT_EQ(type(U'-', "0").newText, std::nullopt);
  EXPECT_EQ(type(U'-', "150").newText, "-99");  // the number read is clamped first
  // A read-only edit keeps its sign.
  EXPECT_EQ(r.CharAllowed(U'-', "12", true, true).newText, std::nullopt);

  // Only positive numbers allowed: no sign change; only negative: no "+".
  r = Limits(5, 255);
  EXPECT_EQ(type(U'-', "12").newText, std::nullopt);
  r = Limits(-50, -1);
  EXPECT_EQ(type(U'+', "-12").newText, std::nullopt);
  EXPECT_EQ(type(U'-', "-12").newText, std::nullopt);
  // Limits off: both signs.
  r = Limits(0, 0);
  EXPECT_EQ(type(U'-', "-2147483648").newText, "2147483647");  // the negation stops at the end

  // Enter re-renders and is not inserted; digits and Backspace go on to the edit.
  r = Limits(1, 255);
  v = type(13, "0999");
  EXPECT_FALSE(v.insert);
  EXPECT_FALSE(v.beep);
  EXPECT_EQ(v.newText, "255");
  for (char32_t c : {U'0', U'9', char32_t{8}, char32_t{3}, char32_t{22}}) {
    v = type(c, "5");
    EXPECT_TRUE(v.insert && !v.beep && !v.newText) << static_cast<int>(c);
  }
  // Letters, ".", DEL and anything beyond ASCII beep.
  for (char32_t c : {U'a', U'.', U' ', char32_t{127}, U'\uFF15', U'\u5186'}) {
    v = type(c, "5");
    EXPECT_TRUE(!v.insert && v.beep && !v.newText) << static_cast<int>(c);
  }
  // Editor disabled: digits, signs, Backspace and Enter beep; other control keys (copy) pass.
  for (char32_t c : {U'1', U'+', U'-', char32_t{8}, char32_t{13}}) {
    v = type(c, "-5", false);
    EXPECT_TRUE(!v.insert && v.beep && !v.newText) << static_cast<int>(c);
  }
  EXPECT_TRUE(type(3, "5", false).insert);
}

// Drives ArrowReading as the up-down control does: range 0..2 from 1, the position reported
// after every click, also when it stays at an end.
class FakeArrows {
 public:
  // Returns whether the click was read as an up click.
  bool Click(bool up) {
    position_ = up ? std::min(position_ + 1, 2) : std::max(position_ - 1, 0);
    return reading_.HandleArrow(position_);
  }

 private:
  int position_ = 1;
  ArrowReading reading_;
};

TEST(SpinRules, EveryArrowClickIsOneStepInItsDirection) {
  FakeArrows arrows;
  const std::vector<bool> clicks{true, false, true,  false, false, false, true, true,
                                 true, true,  false, true,  false, false, true};
  for (std::size_t i = 0; i < clicks.size(); ++i) {
    EXPECT_EQ(arrows.Click(clicks[i]), clicks[i]) << "click " << i;
  }

  // spnMinute: 0..720 by 5. Up at the limit stays there; the next down goes one step down.
  IntegerEditRules r = Limits(kSpinAlarmMinute.min, kSpinAlarmMinute.max);
  std::string text = "710";
  const auto click = [&](bool up) {
    text = r.Step(text, kSpinAlarmMinute.increment, arrows.Click(up) ? 1 : -1);
    return text;
  };
  EXPECT_EQ(click(true), "715");
  EXPECT_EQ(click(true), "720");
  EXPECT_EQ(click(true), "720");
  EXPECT_EQ(click(true), "720");
  EXPECT_EQ(click(false), "715");
  EXPECT_EQ(click(true), "720");
  EXPECT_EQ(click(false), "715");
  EXPECT_EQ(click(false), "710");
}

TEST(SpinRules, StepsAreClampedAndStopAtTheLimits) {
  IntegerEditRules alpha = Limits(kSpinAlpha.min, kSpinAlpha.max);
  EXPECT_EQ(alpha.Step("7", 5, -1), "5");  // 2 is clamped
  EXPECT_EQ(alpha.Step("253", 5, 1), "255");
  EXPECT_EQ(alpha.Step("255", 5, 1), "255");
  EXPECT_EQ(alpha.Step("255", 5, -1), "250");
  EXPECT_EQ(alpha.Step("200", 5, 3), "215");   // three wheel notches
  EXPECT_EQ(alpha.Step("junk", 5, 1), "220");  // from the last value

  // Limits off: no wrap-around at the ends of 32 bits.
  IntegerEditRules off = Limits(0, 0);
  EXPECT_EQ(off.Step("2147483647", 1, 1), "2147483647");
  EXPECT_EQ(off.Step("-2147483648", 5, -1), "-2147483648");

  WheelNotches wheel;
  EXPECT_EQ(wheel.Take(120), 1);
  EXPECT_EQ(wheel.Take(60), 0);  // half a notch waits for the other half
  EXPECT_EQ(wheel.Take(60), 1);
  EXPECT_EQ(wheel.Take(-360), -3);
}

TEST(SpinRules, EveryDeclaredSpinEditShowsItsLimitsAndInitialValueWithinItsLength) {
  for (const SpinSetup& setup : kAllSpinSetups) {
    IntegerEditRules r = Limits(setup.min, setup.max, setup.maxLength);
    r.ShowPlus = setup.showPlus;
    ASSERT_TRUE(r.LimitsOn());
    for (std::int32_t n : {setup.min, setup.max, setup.initial}) {
      const std::string text = r.WriteValue(n);
      EXPECT_LE(static_cast<int>(text.size()), setup.maxLength) << text;
      EXPECT_EQ(r.ReadValue(text), n) << text;
    }
  }
}

TEST(BaseEditColors, BackgroundFollowsTheEditableState) {
  EditColors c;
  EXPECT_EQ(c.Color(), kEditWindowColor);
  EXPECT_EQ(c.DisableColor(), kEditButtonFaceColor);

  EXPECT_TRUE(c.SetEditable(false));  // disabled
  EXPECT_EQ(c.Color(), kEditButtonFaceColor);
  // Colour set directly while disabled becomes the disabled colour.
  EXPECT_TRUE(c.SetColor(0x0000FF));
  EXPECT_EQ(c.DisableColor(), 0x0000FFu);
  EXPECT_EQ(c.EnableColor(), kEditWindowColor);
  // The enabled colour is only stored while disabled.
  EXPECT_FALSE(c.SetEnableColor(0x00FF00));
  EXPECT_EQ(c.Color(), 0x0000FFu);

  EXPECT_TRUE(c.SetEditable(true));
  EXPECT_EQ(c.Color(), 0x00FF00u);
  EXPECT_TRUE(c.SetColor(0xFF0000));
  EXPECT_EQ(c.EnableColor(), 0xFF0000u);
  EXPECT_EQ(c.DisableColor(), 0x0000FFu);
  EXPECT_FALSE(c.SetDisableColor(0x123456));
  EXPECT_FALSE(c.SetColor(0xFF0000));  // unchanged
  EXPECT_TRUE(c.SetEditable(false));
  EXPECT_EQ(c.Color(), 0x123456u);
}

}  // namespace
}  // namespace mirovane
