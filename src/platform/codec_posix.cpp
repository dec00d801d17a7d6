#include <iconv.h>

#include <cerrno>

#include "platform/codec.h"

namespace mirovane {

namespace {

// Converts with iconv; a sequence the target cannot hold, or an invalid input byte, becomes
// `replacement` and the conversion goes on after one input byte (or one whole character).
std::string Convert(const char* to, const char* from, std::string_view in,
                    std::string_view replacement, bool fromCp932) {
  std::string out;
  if (in.empty()) return out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  out.reserve(in.size() * 2);
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char buf[512];
  while (srcLeft > 0) {
    char* dst = buf;
    std::size_t dstLeft = sizeof buf;
    const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    if (r != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: skip the offending input character.
    out.append(replacement);
    std::size_t skip = 1;
    const auto b = static_cast<unsigned char>(*src);
    if (fromCp932) {
      if (IsCp932LeadByte(b) && srcLeft >= 2) skip = 2;
    } else if (b >= 0xC0) {
      skip = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
      while (skip > 1 && skip > srcLeft) --skip;
      // Only skip bytes that really continue the sequence.
      for (std::size_t k = 1; k < skip; ++k) {
        if ((static_cast<unsigned char>(src[k]) & 0xC0) != 0x80) {
          skip = k;
          break;
        }
      }
    }
    src += skip;
    srcLeft -= skip;
  }
  char* dst = buf;
  std::size_t dstLeft = sizeof buf;
  iconv(cd, nullptr, nullptr, &dst, &dstLeft);
  out.append(buf, static_cast<std::size_t>(dst - buf));
  iconv_close(cd);
  return out;
}

// The length of the UTF-8 character at `i` (1 for a byte that starts none).
std::size_t CharacterLength(std::string_view utf8, std::size_t i) {
  const auto b = static_cast<unsigned char>(utf8[i]);
  std::size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
  if (i + n > utf8.size()) return 1;
  for (std::size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

// Whether iconv converts all of `in` without a sequence it cannot map.
bool ConvertsWhole(const char* to, const char* from, std::string_view in, std::string& out) {
  out.clear();
  if (in.empty()) return true;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char buf[512];
  bool ok = true;
  while (srcLeft > 0 && ok) {
    char* dst = buf;
    std::size_t dstLeft = sizeof buf;
    const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    ok = r != static_cast<std::size_t>(-1) || errno == E2BIG;
  }
  iconv_close(cd);
  return ok;
}

}  // namespace

std::string Utf8ToCp932(std::string_view utf8) {
  if (std::optional<std::string> exact = Utf8ToCp932Exact(utf8)) return std::move(*exact);
  // Character by character, so that one without an exact form becomes "?" and never the code
  // of a look-alike.
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = CharacterLength(utf8, i);
    const std::optional<std::string> c = Utf8ToCp932Exact(utf8.substr(i, n));
    out += c ? *c : std::string("?");
    i += n;
  }
  return out;
}

std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8) {
  // The conversion maps some characters to the code of a look-alike (¥ to the backslash, 〜 to
  // ～): only a text that reads back as itself is exact, the rule the system's converter follows
  // without its best-fit table.
  std::string cp932, back;
  if (!ConvertsWhole("CP932", "UTF-8", utf8, cp932)) return std::nullopt;
  if (!ConvertsWhole("UTF-8", "CP932", cp932, back) || back != utf8) return std::nullopt;
  return cp932;
}

std::string Cp932LacksUtf8(std::string_view utf8) {
  std::string lacking;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = CharacterLength(utf8, i);
    const std::string_view c = utf8.substr(i, n);
    i += n;
    if (!Utf8ToCp932Exact(c) && lacking.find(c) == std::string::npos) lacking += c;
  }
  return lacking;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", true);
}

}  // namespace mirovane
