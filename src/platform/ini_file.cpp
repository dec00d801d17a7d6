#include "platform/ini_file.h"

#include <algorithm>
#include <cstddef>

#include "platform/codec.h"

namespace mirovane {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::string_view Mark(IniEncoding e) {
  switch (e) {
    case IniEncoding::Utf8:
      return kUtf8Mark;
    case IniEncoding::Utf16Le:
      return kUtf16LeMark;
    case IniEncoding::Utf16Be:
      return kUtf16BeMark;
    case IniEncoding::Cp932:
      break;
  }
  return {};
}

bool IsUtf16(IniEncoding e) { return e == IniEncoding::Utf16Le || e == IniEncoding::Utf16Be; }

char16_t UnitAt(std::string_view bytes, std::size_t at, bool bigEndian) {
  const auto first = static_cast<unsigned char>(bytes[at]);
  const auto second = static_cast<unsigned char>(bytes[at + 1]);
  return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
}

void AppendUnit(std::string& out, char16_t unit, bool bigEndian) {
  const auto high = static_cast<char>(unit >> 8);
  const auto low = static_cast<char>(unit & 0xFF);
  out += bigEndian ? high : low;
  out += bigEndian ? low : high;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// A surrogate without its partner becomes U+FFFD; an odd last byte is left out.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char16_t unit = UnitAt(bytes, i, bigEndian);
    char32_t c = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
      const char16_t next = UnitAt(bytes, i + 2, bigEndian);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        c = 0x10000 + (static_cast<char32_t>(unit - 0xD800) << 10) +
            static_cast<char32_t>(next - 0xDC00);
        i += 2;
      }
    }
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    AppendUtf8(out, c);
  }
  return out;
}

// The length of the UTF-8 sequence that byte `b` starts, or 0 when no sequence starts with it.
std::size_t SequenceLength(unsigned char b) {
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b < 0xE0) return 2;
  if (b >= 0xE0 && b < 0xF0) return 3;
  if (b >= 0xF0 && b < 0xF5) return 4;
  return 0;
}

// A byte that starts no well-formed sequence becomes U+FFFD.
std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian) {
  std::string out;
  out.reserve(utf8.size() * 2);
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = SequenceLength(b);
    char32_t c = 0xFFFD;
    std::size_t used = 1;
    if (length == 1) {
      c = b;
    } else if (length > 1 && i + length <= utf8.size()) {
      char32_t v = b & (0x7Fu >> length);
      bool ok = true;
      for (std::size_t k = 1; k < length && ok; ++k) {
        const auto t = static_cast<unsigned char>(utf8[i + k]);
        ok = (t & 0xC0) == 0x80;
        v = (v << 6) | (t & 0x3Fu);
      }
      constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
      if (ok && v >= kSmallest[length] && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF)) {
        c = v;
        used = length;
      }
    }
    i += used;
    if (c >= 0x10000) {
      AppendUnit(out, static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), bigEndian);
      AppendUnit(out, static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), bigEndian);
    } else {
      AppendUnit(out, static_cast<char16_t>(c), bigEndian);
    }
  }
  return out;
}

// cp932 text as the body of a file in encoding `e` (the part after the mark).
std::string Body(std::string_view cp932, IniEncoding e) {
  std::string utf8 = Cp932ToUtf8(cp932);
  if (!IsUtf16(e)) return utf8;
  return Utf8ToUtf16(utf8, e == IniEncoding::Utf16Be);
}

// The lines of `s` (stored in encoding `e`) cut where IniDocument cuts them: at CR LF, a lone CR
// or a lone LF. The piece after the last line end counts as a line too, even when empty, so the
// line ends are exactly the gaps between the pieces.
std::vector<std::string_view> Lines(std::string_view s, IniEncoding e) {
  std::vector<std::string_view> lines;
  const std::size_t unit = IsUtf16(e) ? 2 : 1;
  const bool bigEndian = e == IniEncoding::Utf16Be;
  const auto at = [&](std::size_t i) -> char16_t {
    return unit == 2 ? UnitAt(s, i, bigEndian)
                     : static_cast<char16_t>(static_cast<unsigned char>(s[i]));
  };
  std::size_t start = 0;
  for (std::size_t i = 0; i + unit <= s.size();) {
    const char16_t c = at(i);
    if (c != u'\r' && c != u'\n') {
      i += unit;
      continue;
    }
    lines.push_back(s.substr(start, i - start));
    i += unit;
    if (c == u'\r' && i + unit <= s.size() && at(i) == u'\n') i += unit;
    start = i;
  }
  lines.push_back(s.substr(start));
  return lines;
}

}  // namespace

DecodedIniFile DecodeIniFile(std::string_view bytes) {
  DecodedIniFile out;
  IniEncoding e = IniEncoding::Cp932;
  if (bytes.starts_with(kUtf8Mark)) {
    e = IniEncoding::Utf8;
  } else if (bytes.starts_with(kUtf16LeMark)) {
    e = IniEncoding::Utf16Le;
  } else if (bytes.starts_with(kUtf16BeMark)) {
    e = IniEncoding::Utf16Be;
  }
  out.format.encoding = e;
  if (e == IniEncoding::Cp932) {
    out.text = std::string(bytes);
    return out;
  }
  const std::string_view body = bytes.substr(Mark(e).size());
  out.text =
      Utf8ToCp932(IsUtf16(e) ? Utf16ToUtf8(body, e == IniEncoding::Utf16Be) : std::string(body));

  // The lines that do not come back as they were are remembered with their own bytes, and so is
  // every other line that reads as the same cp932 text, so that each gets its own bytes back.
  // Line ends are the same characters in every encoding, so the lines of the three texts pair up.
  const std::string back = Body(out.text, e);
  if (back == body) return out;
  const auto theirs = Lines(body, e);
  const auto ours = Lines(out.text, IniEncoding::Cp932);
  const auto again = Lines(back, e);
  if (ours.size() != theirs.size() || again.size() != theirs.size()) return out;
  auto& kept = out.format.keptLines;
  for (std::size_t i = 0; i < theirs.size(); ++i) {
    if (again[i] != theirs[i]) kept.try_emplace(std::string(ours[i]));
  }
  for (std::size_t i = 0; i < theirs.size(); ++i) {
    if (const auto it = kept.find(std::string(ours[i])); it != kept.end()) {
      it->second.emplace_back(theirs[i]);
    }
  }
  return out;
}

std::string EncodeIniFile(std::string_view text, const IniFileFormat& format) {
  const IniEncoding e = format.encoding;
  if (e == IniEncoding::Cp932) return std::string(text);
  std::string out(Mark(e));
  const std::string body = Body(text, e);
  const auto theirs = Lines(body, e);
  const auto ours = Lines(text, IniEncoding::Cp932);
  if (format.keptLines.empty() || ours.size() != theirs.size()) return out + body;

  // Each kept line in place of its conversion, equal texts taking their bytes in file order.
  std::unordered_map<const std::vector<std::string>*, std::size_t> taken;
  std::size_t from = 0;  // where the previous line ended in `body`
  for (std::size_t i = 0; i < theirs.size(); ++i) {
    const auto begin = static_cast<std::size_t>(theirs[i].data() - body.data());
    out.append(body, from, begin - from);  // the line end before this line
    from = begin + theirs[i].size();
    const auto kept = format.keptLines.find(std::string(ours[i]));
    if (kept == format.keptLines.end() || kept->second.empty()) {
      out += theirs[i];
      continue;
    }
    std::size_t& n = taken[&kept->second];
    out += kept->second[std::min(n, kept->second.size() - 1)];
    ++n;
  }
  return out;
}

}  // namespace mirovane
