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

std::string FromWide(UINT codePage, std::wstring_view in) {
  if (in.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, in.data(), static_cast<int>(in.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, in.data(), static_cast<int>(in.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

}  // namespace

std::wstring Cp932ToWide(std::string_view cp932) { return ToWide(932, cp932); }
std::string WideToCp932(std::wstring_view wide) { return FromWide(932, wide); }
std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string WideToUtf8(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }

std::string Utf8ToCp932(std::string_view utf8) { return WideToCp932(Utf8ToWide(utf8)); }
std::string Cp932ToUtf8(std::string_view cp932) { return WideToUtf8(Cp932ToWide(cp932)); }

}  // namespace mirovane
