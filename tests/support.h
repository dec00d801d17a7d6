// Helpers shared by the core tests: UTF-8 <-> cp932 at the test's edge.
#pragma once

#include <string>
#include <string_view>

#include "format/formatter.h"
#include "platform/codec.h"

namespace mirovane::test {

// Renders a UTF-8 format with `f` and returns the result as UTF-8.
inline std::string Render(const DateTimeFormatter& f, std::string_view utf8Format) {
  return Cp932ToUtf8(f.FormatDateTimeEx(Utf8ToCp932(utf8Format)));
}

inline std::string Sj(std::string_view utf8) { return Utf8ToCp932(utf8); }

}  // namespace mirovane::test
