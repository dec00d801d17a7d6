#include "controls/numeric_edit_rules.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <limits>

namespace mirovane {

namespace {

constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();

bool IsBlank(char c) noexcept { return c == ' ' || c == '\t'; }

// A decimal integer with an optional sign, blanks around it allowed; nothing when the text is
// anything else or the number does not fit in 32 bits.
std::optional<std::int32_t> ParseInt32(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  std::uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  const std::int64_t limit = negative ? -kMin32 : kMax32;
  if (magnitude > static_cast<std::uint64_t>(limit)) return std::nullopt;
  const auto value = static_cast<std::int64_t>(magnitude);
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

std::string IntegerEditRules::ShowNumber(std::int32_t n) const {
  if (ZeroToBlank && n == 0) return {};
  const bool plus = ShowPlus && n > 0;
  const bool minus = n < 0;
  const std::int64_t magnitude = std::abs(static_cast<std::int64_t>(n));
  const std::string digits = std::to_string(magnitude);
  std::string text = plus ? "+" : minus ? "-" : "";
  if (ZeroFill) {
    // The sign counts towards MaxLength; a longer number is not cut. At least one digit shows,
    // also without a length limit.
    const int width = MaxLength - (plus || minus ? 1 : 0);
    if (width > static_cast<int>(digits.size())) {
      text.append(static_cast<std::size_t>(width) - digits.size(), '0');
    }
  }
  return text + digits;
}

std::int32_t IntegerEditRules::ClampValue(std::int64_t n) {
  // A step or a sign change past the 32-bit range stops at its end instead of wrapping round.
  LastValue = static_cast<std::int32_t>(std::clamp(n, kMin32, kMax32));
  if (LimitsOn()) LastValue = std::clamp(LastValue, MinValue, MaxValue);
  return LastValue;
}

std::int32_t IntegerEditRules::ReadValue(std::string_view text) {
  if (text.empty()) return ClampValue(0);
  return ClampValue(ParseInt32(text).value_or(LastValue));
}

CharVerdict IntegerEditRules::CharAllowed(char32_t c, std::string_view text, bool editorEnabled,
                                          bool readOnly) {
  constexpr char32_t kBackspace = 8;
  constexpr char32_t kEnter = 13;
  CharVerdict verdict;
  const bool digit = c >= U'0' && c <= U'9';
  const bool sign = c == U'+' || c == U'-';
  if (!digit && !sign && c >= 32) {
    verdict.beep = true;
    return verdict;
  }
  if (!editorEnabled && (digit || sign || c == kBackspace || c == kEnter)) {
    verdict.beep = true;
    return verdict;
  }
  if (c == U'+') {
    // Only a negative number changes, and only when positive numbers are within the limits.
    if (!readOnly && MaxValue >= 0) {
      const std::int32_t value = ReadValue(text);
      if (value < 0) verdict.newText = WriteValue(-static_cast<std::int64_t>(value));
    }
    return verdict;
  }
  if (c == U'-') {
    // Toggles the sign when the limits allow both signs (or are off).
    if (!readOnly && MinValue <= 0 && MaxValue >= 0) {
      const std::int32_t value = ReadValue(text);
      if (value != 0) verdict.newText = WriteValue(-static_cast<std::int64_t>(value));
    }
    return verdict;
  }
  if (c == kEnter) {
    verdict.newText = RefreshText(text);
    return verdict;
  }
  verdict.insert = true;
  return verdict;
}

std::string IntegerEditRules::Step(std::string_view text, std::int32_t increment, int steps) {
  std::int32_t value = ReadValue(text);
  const std::int64_t delta = steps < 0 ? -static_cast<std::int64_t>(increment) : increment;
  for (int i = 0; i < std::abs(steps); ++i) value = ClampValue(value + delta);
  return ShowNumber(value);
}

bool ArrowReading::HandleArrow(int position) noexcept {
  if (position == 0) {
    LastWasUp = false;
  } else if (position == 2) {
    LastWasUp = true;
  } else {
    LastWasUp = !LastWasUp;
  }
  return LastWasUp;
}

int WheelNotches::Take(int delta) noexcept {
  constexpr int kNotch = 120;
  rest_ += delta;
  const int notches = rest_ / kNotch;
  rest_ -= notches * kNotch;
  return notches;
}

bool EditColors::SetEditable(bool editable) noexcept {
  editable_ = editable;
  return SetColor(editable ? enableColor_ : disableColor_);
}

bool EditColors::SetEnableColor(EditColor color) noexcept {
  enableColor_ = color;
  return editable_ && SetColor(color);
}

bool EditColors::SetDisableColor(EditColor color) noexcept {
  disableColor_ = color;
  return !editable_ && SetColor(color);
}

bool EditColors::SetColor(EditColor color) noexcept {
  if (color == color_) return false;
  color_ = color;
  (editable_ ? enableColor_ : disableColor_) = color;
  return true;
}

}  // namespace mirovane
