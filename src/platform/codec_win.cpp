#include <windows.h>

#include "platform/codec.h"

namespace mirovane {

namespace {

std::wstring ToWide(UINT codePage, std::string_view in) {
  if (in.empty()) return {};
  const int n =
      MultiByteToWideChar(codePage, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, in.data(), static_cast<int>(in.size()), out.data(), n);
  return out;
}

std::string FromWide(UINT codePage, std::wstring_view in, bool* inexact = nullptr) {
  if (inexact) *inexact = false;
  if (in.empty()) return {};
  // Without best fit a character cp932 lacks becomes the default character and is reported,
  // instead of silently turning into a look-alike. UTF-8 takes neither flag.
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const used = codePage == CP_UTF8 ? nullptr : &usedDefault;
  const int n = WideCharToMultiByte(codePage, flags, in.data(), static_cast<int>(in.size()),
                                    nullptr, 0, nullptr, used);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, in.data(), static_cast<int>(in.size()), out.data(), n,
                      nullptr, used);
  if (inexact) *inexact = usedDefault != FALSE || n <= 0;
  return out;
}

// One character of `wide` at `i`: a surrogate pair or a single unit.
std::size_t CharacterLength(std::wstring_view wide, std::size_t i) {
  const wchar_t c = wide[i];
  if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
      wide[i + 1] <= 0xDFFF) {
    return 2;
  }
  return 1;
}

}  // namespace

std::wstring Cp932ToWide(std::string_view cp932) { return ToWide(932, cp932); }
std::string WideToCp932(std::wstring_view wide) { return FromWide(932, wide); }
std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string WideToUtf8(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }

std::optional<std::string> WideToCp932Exact(std::wstring_view wide) {
  bool inexact = false;
  std::string out = FromWide(932, wide, &inexact);
  if (inexact) return std::nullopt;
  return out;
}

std::wstring Cp932Lacks(std::wstring_view wide) {
  std::wstring lacking;
  for (std::size_t i = 0; i < wide.size();) {
    const std::size_t n = CharacterLength(wide, i);
    const std::wstring_view c = wide.substr(i, n);
    i += n;
    if (!WideToCp932Exact(c) && lacking.find(c) == std::wstring::npos) lacking += c;
  }
  return lacking;
}

std::string Utf8ToCp932(std::string_view utf8) { return WideToCp932(Utf8ToWide(utf8)); }
std::string Cp932ToUtf8(std::string_view cp932) { return WideToUtf8(Cp932ToWide(cp932)); }

std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8) {
  // Bytes that are not UTF-8 would come through as U+FFFD, which cp932 lacks.
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                    static_cast<int>(utf8.size()), nullptr, 0);
  if (n <= 0 && !utf8.empty()) return std::nullopt;
  return WideToCp932Exact(Utf8ToWide(utf8));
}

std::string Cp932LacksUtf8(std::string_view utf8) {
  return WideToUtf8(Cp932Lacks(Utf8ToWide(utf8)));
}

}  // namespace mirovane
