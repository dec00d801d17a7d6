// Colour values and their text form in the INI file.
//
// A colour is 32 bits: 0x00BBGGRR for a plain colour, 0x80000000 + index for a system colour,
// 0x1FFFFFFF for none and 0x20000000 for the default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirovane {

using ColorValue = std::uint32_t;

inline constexpr ColorValue kColorNone = 0x1FFFFFFF;
inline constexpr ColorValue kColorDefault = 0x20000000;
inline constexpr ColorValue kSystemColorFlag = 0x80000000;

// The name of a colour that has one ("clCream"), else nothing.
std::optional<std::string_view> ColorName(ColorValue value);
// The value of a colour name (any ASCII case), else nothing.
std::optional<ColorValue> ColorFromName(std::string_view name);

// The INI text of a colour: its name, or "$" and eight upper-case hexadecimal digits.
std::string ColorToText(ColorValue value);
// A name, a decimal or "$" hexadecimal integer; anything else is black (0).
ColorValue ColorFromText(std::string_view text);

}  // namespace mirovane
