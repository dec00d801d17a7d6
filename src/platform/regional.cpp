#include "platform/regional.h"

#include <cctype>

#include "platform/codec.h"

namespace mirovane {

const RegionalSettings& FixedJapaneseRegional() {
  static const RegionalSettings fixed = [] {
    RegionalSettings r;
    r.DateSeparator = "/";
    r.TimeSeparator = ":";
    r.ShortDateFormat = "yyyy/mm/dd";
    r.LongDateFormat = Utf8ToCp932("yyyy'年'm'月'd'日'");
    r.ShortTimeFormat = "h:nn";
    r.LongTimeFormat = "h:nn:ss";
    r.AmDesignator = Utf8ToCp932("午前");
    r.PmDesignator = Utf8ToCp932("午後");
    return r;
  }();
  return fixed;
}

namespace {

void AppendLiteral(std::string& out, std::string_view text) {
  if (text.empty()) return;
  // The formatter's literals have no escape: quote with whichever quote the text lacks.
  const char quote = text.find('\'') == std::string_view::npos ? '\'' : '"';
  out += quote;
  out += text;
  out += quote;
}

}  // namespace

std::string TranslateLocalePicture(std::string_view picture) {
  std::string out;
  std::string literal;  // pending literal text, quoted as one piece
  auto flush = [&] {
    AppendLiteral(out, literal);
    literal.clear();
  };
  std::size_t i = 0;
  const std::size_t n = picture.size();
  while (i < n) {
    const auto b = static_cast<unsigned char>(picture[i]);
    if (IsCp932LeadByte(b)) {
      // Double-byte characters are never tokens; copy them as they are.
      flush();
      out.append(picture.substr(i, i + 1 < n ? 2 : 1));
      i += 2;
      continue;
    }
    if (b == '\'') {
      // 'text' is literal; '' inside or outside quotes is one apostrophe.
      ++i;
      if (i < n && picture[i] == '\'') {
        literal += '\'';
        ++i;
        continue;
      }
      while (i < n) {
        const auto c = static_cast<unsigned char>(picture[i]);
        if (c == '\'') {
          if (i + 1 < n && picture[i + 1] == '\'') {
            literal += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        const std::size_t len = IsCp932LeadByte(c) && i + 1 < n ? 2 : 1;
        literal.append(picture.substr(i, len));
        i += len;
      }
      continue;
    }
    std::size_t run = 1;
    while (i + run < n && picture[i + run] == picture[i]) ++run;
    const char c = static_cast<char>(b);
    switch (c) {
      case 'd':    // day, or weekday names from three letters on
      case 'M':    // month
      case 'y':    // year
      case 'H':    // hour 0-23
      case 'h':    // hour of the 12-hour clock
      case 'm':    // minute
      case 's':    // second
      case 'g':    // era name
      case 't': {  // AM/PM designator
        flush();
        const char token = c == 'M' ? 'm' : c == 'H' ? 'h' : c == 'h' ? 'f' : c == 'm' ? 'n' : c;
        if (token == 't') {
          out += "AMPM";
        } else if (token == 'g') {
          out += "ggg";
        } else {
          out.append(run, token);
        }
        break;
      }
      default:
        if (std::isalpha(b) || c == '%' || c == '\\' || c == '"') {
          // Letters and the formatter's own switches would be read as tokens: keep them literal.
          literal.append(run, c);
        } else {
          flush();
          out.append(run, c);
        }
        break;
    }
    i += run;
  }
  flush();
  return out;
}

}  // namespace mirovane
