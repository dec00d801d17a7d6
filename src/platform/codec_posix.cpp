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

}  // namespace

std::string Utf8ToCp932(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8, "?", false);
}

std::string Cp932ToUtf8(std::string_view cp932) {
  return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", true);
}

}  // namespace mirovane
