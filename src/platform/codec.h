// Text codec: cp932 (Shift-JIS) is the program's text; UTF-8 and UTF-16 exist only at the edges.
#pragma once

#include <string>
#include <string_view>

namespace mirovane {

// True for a byte that starts a double-byte cp932 character (0x81..0x9F, 0xE0..0xFC).
constexpr bool IsCp932LeadByte(unsigned char b) noexcept {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Characters that cp932 cannot hold become '?'; invalid input bytes become U+FFFD / '?'.
std::string Utf8ToCp932(std::string_view utf8);
std::string Cp932ToUtf8(std::string_view cp932);

// Removes a trailing lead byte whose second byte is missing (the text was cut mid-character).
std::string_view DropIncompleteTrail(std::string_view cp932) noexcept;

#ifdef _WIN32
std::wstring Cp932ToWide(std::string_view cp932);
std::string WideToCp932(std::wstring_view wide);
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
#endif

}  // namespace mirovane
