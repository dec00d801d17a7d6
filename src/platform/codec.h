// Text codec: cp932 (Shift-JIS) is the program's text; UTF-8 and UTF-16 exist only at the edges.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mirovane {

// True for a byte that starts a double-byte cp932 character (0x81..0x9F, 0xE0..0xFC).
constexpr bool IsCp932LeadByte(unsigned char b) noexcept {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Characters that cp932 cannot hold become '?'; invalid input bytes become U+FFFD / '?'. Never a
// look-alike: the system's best-fit table would turn "ü" into "u" and "¥" into "\\".
std::string Utf8ToCp932(std::string_view utf8);
std::string Cp932ToUtf8(std::string_view cp932);

// The cp932 text of `utf8` when every character has a cp932 form that reads back as the same
// character; nothing when one has not (or the input is not UTF-8). Text the user gives is stored,
// formatted or run only in this exact form.
std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8);
// The characters of `utf8` that cp932 cannot hold exactly, each once, in their order (UTF-8).
std::string Cp932LacksUtf8(std::string_view utf8);

// Removes a trailing lead byte whose second byte is missing (the text was cut mid-character).
std::string_view DropIncompleteTrail(std::string_view cp932) noexcept;

#ifdef _WIN32
std::wstring Cp932ToWide(std::string_view cp932);
std::string WideToCp932(std::wstring_view wide);
std::optional<std::string> WideToCp932Exact(std::wstring_view wide);
// The characters of `wide` that cp932 cannot hold exactly, each once, in their order.
std::wstring Cp932Lacks(std::wstring_view wide);
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
#endif

}  // namespace mirovane
