// Moving the settings record to and from the INI document, with the file's value encodings.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/ini.h"
#include "settings/settings.h"

namespace mirovane {

// An integer as the INI file holds it: decimal, "$" + hexadecimal, or "0x" + hexadecimal (more
// than two characters), with an optional sign; nothing when the text is not a 32-bit integer.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// The INI file's sections and keys.
namespace ini {
inline constexpr std::string_view kMainForm = "MainForm";
inline constexpr std::string_view kCalendar = "Calendar";
inline constexpr std::string_view kDateTime = "DateTime";
inline constexpr std::string_view kColorSet = "ColorSet";
inline constexpr std::string_view kReaction = "Reaction";
}  // namespace ini

// Reads every key in load order. `s` supplies each key's default on entry (the two font faces
// default to the faces the calendar and the window have now) and receives the values read.
// The refresh and alarm periods are brought into their ranges (0..6000 and 0..1800).
void ReadSettings(const IniDocument& doc, TCalendarSettings& s);

// Writes every key, in save order, into `doc` (other sections, keys and comments stay).
void WriteSettings(IniDocument& doc, const TCalendarSettings& s);

}  // namespace mirovane
