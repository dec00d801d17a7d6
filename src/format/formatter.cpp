#include "format/formatter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "format/calendar.h"
#include "format/names.h"
#include "platform/codec.h"

namespace mirovane {

namespace {

bool IsAsciiLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
char FoldUpper(unsigned char c) { return static_cast<char>(IsAsciiLower(c) ? c - 32 : c); }

// One top-level rendering: the output buffer, the two numeral modes and the nesting depth are
// shared by every nested expansion of the call.
class Renderer {
 public:
  Renderer(const DateTimeRecord& dt, const RegionalSettings& rs, FormatBuffer& out)
      : dt_(dt), rs_(rs), out_(out), names_(Names()) {
    out_.length = 0;
  }

  // Scans one format; nothing happens at depth 2 and deeper (one level of nesting is allowed).
  void Scan(std::string_view format) {
    if (depth_ >= 2) return;
    ++depth_;
    ScanBody(format);
    --depth_;
  }

 private:
  // ---- output writers ----
  void Append(const char* p, std::size_t n) {
    const std::size_t room = static_cast<std::size_t>(FormatBuffer::kCapacity - out_.length);
    if (n > room) n = room;
    std::memcpy(out_.bytes + out_.length, p, n);
    out_.length += static_cast<int>(n);
  }
  void Append(std::string_view s) { Append(s.data(), s.size()); }
  void AppendByte(char c) {
    if (out_.length < FormatBuffer::kCapacity) out_.bytes[out_.length++] = c;
  }
  bool Full() const { return out_.length >= FormatBuffer::kCapacity; }

  bool JapaneseMode() const { return fullWidth_ || kanji_; }

  // Decimal number padded on the left to `width` (zeros for a lower-case token, spaces for an
  // upper-case one); in a numeral mode every byte becomes a double-byte character.
  void Number(long long value, long long width, bool zeroFill) {
    char digits[24];
    int len = 0;
    unsigned long long mag = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                       : static_cast<unsigned long long>(value);
    do {
      digits[len++] = static_cast<char>('0' + mag % 10);
      mag /= 10;
    } while (mag != 0);
    if (value < 0) digits[len++] = '-';
    std::reverse(digits, digits + len);

    long long pad = width > 1 && width > len ? width - len : 0;
    if (!JapaneseMode()) {
      const char fill = zeroFill ? '0' : ' ';
      for (; pad > 0 && !Full(); --pad) AppendByte(fill);
      Append(digits, static_cast<std::size_t>(len));
      return;
    }
    const char(*set)[2] = fullWidth_ ? names_.wideDigit : names_.kanjiDigit;
    const std::string& space = names_.wideSpace;
    for (; pad > 0 && !Full(); --pad) {
      if (zeroFill) {
        Append(set[0], 2);
      } else {
        Append(space);
      }
    }
    for (int i = 0; i < len; ++i) {
      if (digits[i] >= '0' && digits[i] <= '9') {
        Append(set[digits[i] - '0'], 2);
      } else {
        Append(space);
      }
    }
  }

  // Fixed half-width field: padded with spaces on the right, then cut to exactly `width` bytes.
  void Half(std::string_view text, std::size_t width) {
    if (text.size() >= width) {
      Append(text.data(), width);
    } else {
      Append(text);
      for (std::size_t i = text.size(); i < width; ++i) AppendByte(' ');
    }
  }

  // Fixed full-width field: padded with full-width spaces, then cut to exactly `width` bytes.
  void Full(std::string_view text, std::size_t width) {
    if (text.size() >= width) {
      Append(text.data(), width);
    } else {
      Append(text);
      for (std::size_t i = (width - text.size()) / 2; i > 0; --i) Append(names_.wideSpace);
    }
  }

  // The same for a text given in two pieces.
  void Full(std::string_view head, std::string_view tail, std::size_t width) {
    if (head.size() >= width) {
      Append(head.data(), width);
      return;
    }
    Append(head);
    Full(tail, width - head.size());
  }

  void Nested(std::string_view format) { Scan(format); }

  // ---- the scan ----
  void ScanBody(std::string_view f) {
    // A format ends at its terminating NUL.
    if (const auto nul = f.find('\0'); nul != std::string_view::npos) f = f.substr(0, nul);
    const std::size_t n = f.size();
    std::size_t i = 0;
    while (i < n) {
      const auto b = static_cast<unsigned char>(f[i]);
      if (IsCp932LeadByte(b)) {
        // A double-byte character is copied whole; a lone lead byte at the end as one byte.
        const std::size_t len = i + 1 < n ? 2 : 1;
        Append(f.data() + i, len);
        i += len;
        continue;
      }
      const bool lower = IsAsciiLower(b);
      char token = FoldUpper(b);
      if (token == 'E' && dt_.EraIndex == 0) token = 'Y';

      switch (token) {
        case '"':
        case '\'': {
          const std::size_t start = i + 1;
          std::size_t j = start;
          while (j < n && static_cast<unsigned char>(f[j]) != b) {
            j += IsCp932LeadByte(static_cast<unsigned char>(f[j])) && j + 1 < n ? 2 : 1;
          }
          Append(f.data() + start, j - start);
          i = j < n ? j + 1 : n;
          continue;
        }
        case '/':
          Append(rs_.DateSeparator);
          ++i;
          continue;
        case ':':
          Append(rs_.TimeSeparator);
          ++i;
          continue;
        default:
          break;
      }

      if (!IsRunToken(token)) {
        AppendByte(static_cast<char>(b));
        ++i;
        continue;
      }
      std::size_t run = 1;
      while (i + run < n && f[i + run] == f[i]) ++run;
      const std::size_t start = i;
      i += run;
      const long long count = static_cast<long long>(run);

      switch (token) {
        case '%':
        case '\\':
          if (count == 1) {
            (token == '%' ? fullWidth_ : kanji_) = !(token == '%' ? fullWidth_ : kanji_);
          } else {
            for (long long k = 1; k < count && !Full(); ++k) AppendByte(static_cast<char>(b));
          }
          break;
        case 'Y':
          if (count <= 2) {
            Number(dt_.Year % 100, count, lower);
          } else if (count == 3) {
            Number(dt_.Year, 1, lower);
          } else {
            Number(dt_.Year, 4, lower);
          }
          break;
        case 'M':
          if (count <= 2) {
            Number(dt_.Month, count, lower);
          } else {
            MonthName(count, lower);
          }
          break;
        case 'D':
          if (count <= 2) {
            Number(dt_.Day, count, lower);
          } else {
            WeekdayName(count, lower);
          }
          break;
        case 'H':
          if (count <= 2) {
            Number(dt_.Hour, count, lower);
          } else {
            const int h = HourBranchIndex(dt_.Hour);
            if (count == 3) {
              Append(lower ? names_.branchKanji[h] : names_.branchReading[h]);
            } else if (lower) {
              Append(names_.zodiac[h]);
            } else {
              Full(names_.branchReading[h], 6);
            }
          }
          break;
        case 'F':
          if (count <= 2) {
            Number(dt_.Hour % 12, count, lower);
          } else {
            const int j = BellCountIndex(dt_.Hour);
            if (count == 3 && lower) {
              Append(names_.bellKanji[j]);
            } else if (lower || count == 3) {
              Append(lower ? names_.bellKanji[j] : names_.bellReading[j]);
              Append(names_.bellSuffix);
            } else {
              Full(names_.bellReading[j], names_.bellSuffix, 8);
            }
          }
          break;
        case 'N': {
          const int minutes = dt_.Hour * 60 + dt_.Minute;
          if (count <= 2) {
            Number(dt_.Minute, count, lower);
          } else {
            Number(minutes, count == 3 ? 0 : 4, lower);
          }
          break;
        }
        case 'S': {
          const int seconds = (dt_.Hour * 60 + dt_.Minute) * 60 + dt_.Second;
          if (count <= 2) {
            Number(dt_.Second, count, lower);
          } else {
            Number(seconds, count == 3 ? 0 : 5, lower);
          }
          break;
        }
        case 'Z':
          Number(dt_.MilliSecond, count == 1 ? 1 : 3, lower);
          break;
        case 'C':
          Nested(rs_.ShortDateFormat);
          if (dt_.Hour != 0 || dt_.Minute != 0 || dt_.Second != 0) {
            AppendByte(' ');
            Nested(rs_.LongTimeFormat);
          }
          break;
        case 'T':
          Nested(count == 1 ? rs_.ShortTimeFormat : rs_.LongTimeFormat);
          break;
        case 'V':
          Nested(count == 1 ? rs_.ShortDateFormat : rs_.LongDateFormat);
          break;
        case 'E':
          Number(dt_.Year - kEras[dt_.EraIndex].yearOffset, count == 1 ? 1 : 2, lower);
          break;
        case 'G':
          EraName(count, lower);
          break;
        case 'K':
          OldMonth(f.data() + start, count, lower);
          break;
        case 'A':
          if (count == 1) {
            i = Marker(f, start);
          } else {
            WeekdayJapanese(count, lower);
          }
          break;
        case 'W':
          if (count == 1) {
            Number((dt_.Day - 1) / 7 + 1, 1, lower);
          } else if (depth_ < 2) {
            // A nested expansion of `count` letters a (or A) is the weekday token of that count;
            // like every nested expansion it gives nothing when already nested.
            WeekdayJapanese(count, lower);
          }
          break;
        case 'J':
          CycleYear(f.data() + start, count, lower);
          break;
        case 'L':
          if (dt_.IsLeapYear) {
            Append(names_.leapMark);
          } else if (count >= 2) {
            Append(lower ? names_.commonMark : names_.wideSpace);
          }
          break;
        case 'P':
          Number(DaysInMonth(dt_.Year, dt_.Month) - dt_.Day, count == 1 ? 1 : 2, lower);
          break;
        case 'U':
          Number(dt_.JulianDay + (dt_.Hour >= 12 ? 1 : 0), count, lower);
          break;
        case 'R':
          MoonAgeField(count, lower);
          break;
        default:
          break;
      }
    }
  }

  static bool IsRunToken(char t) {
    switch (t) {
      case 'A': case 'C': case 'D': case 'E': case 'F': case 'G': case 'H': case 'J': case 'K':
      case 'L': case 'M': case 'N': case 'P': case 'R': case 'S': case 'T': case 'U': case 'V':
      case 'W': case 'Y': case 'Z': case '%': case '\\':
        return true;
      default:
        return false;
    }
  }

  // ---- name, calendar and marker tokens ----
  void MonthName(long long n, bool lower) {
    const int m = dt_.Month;
    if (n <= 5) {
      const std::string& text = lower ? names_.monthEnglish[m] : names_.monthEnglishUpper[m];
      if (n == 3) Half(text, 3);
      else if (n == 4) Append(text);
      else Half(text, 9);
    } else {
      const std::string& text = lower ? names_.monthWide[m] : names_.monthWideUpper[m];
      if (n == 6) Full(text, 6);
      else if (n == 7) Append(text);
      else Full(text, 18);
    }
  }

  void WeekdayName(long long n, bool lower) {
    const int d = dt_.DayOfWeek;
    switch (n) {
      case 3: Half(lower ? names_.weekdayEnglish[d] : names_.weekdayEnglishUpper[d], 3); break;
      case 4: Append(lower ? names_.weekdayEnglishDay[d] : names_.weekdayEnglishDayUpper[d]); break;
      case 5: Half(lower ? names_.weekdayEnglishDay[d] : names_.weekdayEnglishDayUpper[d], 9); break;
      case 6: Full(lower ? names_.weekdayWide[d] : names_.weekdayWideUpper[d], 6); break;
      case 7: Append(lower ? names_.weekdayWideDay[d] : names_.weekdayWideDayUpper[d]); break;
      default: Full(lower ? names_.weekdayWideDay[d] : names_.weekdayWideDayUpper[d], 18); break;
    }
  }

  void WeekdayJapanese(long long n, bool lower) {
    const int d = dt_.DayOfWeek;
    switch (n) {
      case 2: Append(lower ? names_.weekdayKanji[d] : names_.weekdayReading[d]); break;
      case 3:
        if (lower) Append(names_.weekdayKanji[d]);
        else Full(names_.weekdayReading[d], 4);
        break;
      case 4: Append(lower ? names_.weekdayKanjiYoubi[d] : names_.weekdayReadingYoubi[d]); break;
      case 5:
        if (lower) Append(names_.weekdayKanjiYoubi[d]);
        else Full(names_.weekdayReadingYoubi[d], 10);
        break;
      case 6: Append(lower ? names_.weekdayKatakanaDay[d] : names_.weekdayHiraganaDay[d]); break;
      default: Full(lower ? names_.weekdayKatakanaDay[d] : names_.weekdayHiraganaDay[d], 12); break;
    }
  }

  void EraName(long long n, bool lower) {
    const int e = dt_.EraIndex;
    if (n == 1) {
      if (!JapaneseMode()) {
        if (lower) Append(names_.eraLatin[e]);
        else Half(names_.eraLatin[e], 1);
      } else {
        if (lower) Append(names_.eraWide[e]);
        else Full(names_.eraWide[e], 2);
      }
      return;
    }
    const std::string& text = lower ? names_.eraKanji[e] : names_.eraKana[e];
    if (n == 2) Full(text, 2);
    else if (n == 3) Append(text);
    else Full(text, lower ? 4 : 10);
  }

  void OldMonth(const char* letter, long long n, bool lower) {
    const int m = dt_.Month;
    const std::string& name = names_.monthOld[m];
    const std::string& reading = names_.monthOldReading[m];
    switch (n) {
      case 1: AppendByte(*letter); break;
      case 2: lower ? Full(name, 2) : Full(reading, 4); break;
      case 3: lower ? Full(name, 4) : Full(reading, 6); break;
      case 4: Append(lower ? name : reading); break;
      case 5: lower ? Full(name, 6) : Full(reading, 10); break;
      case 6: Append(lower ? names_.monthKatakana[m] : names_.monthHiragana[m]); break;
      default: Full(lower ? names_.monthKatakana[m] : names_.monthHiragana[m], 14); break;
    }
  }

  void CycleYear(const char* letter, long long n, bool lower) {
    const int s = YearStemIndex(dt_.Year);
    const int b = YearBranchIndex(dt_.Year);
    switch (n) {
      case 1: AppendByte(*letter); break;
      case 2: Append(lower ? names_.stemKanji[s] : names_.stemReading[s]); break;
      case 3:
        if (lower) Append(names_.stemKanji[s]);
        else Full(names_.stemReading[s], 8);
        break;
      case 4: Append(lower ? names_.branchKanji[b] : names_.branchReading[b]); break;
      case 5:
        if (lower) Append(names_.zodiac[b]);
        else Full(names_.branchReading[b], 6);
        break;
      case 6:
        if (lower) {
          Append(names_.stemKanji[s]);
          Append(names_.branchKanji[b]);
        } else {
          Append(names_.stemReading[s]);
          Append(names_.branchReading[b]);
        }
        break;
      default:
        if (lower) {
          Append(names_.stemKanji[s]);
          Append(names_.zodiac[b]);
        } else {
          Full(names_.stemReading[s], names_.branchReading[b], 14);
        }
        break;
    }
  }

  void MoonAgeField(long long n, bool lower) {
    const double age = MoonAge(dt_);
    const std::string_view sign =
        JapaneseMode() ? std::string_view(names_.japaneseDecimal) : std::string_view(".");
    if (n <= 2) {
      Number(static_cast<long long>(std::trunc(age + 0.5)), n, lower);
    } else if (n <= 4) {
      const auto v = static_cast<long long>(std::trunc(age * 10 + 0.5));
      Number(v / 10, n == 3 ? 1 : 2, lower);
      Append(sign);
      Number(v % 10, 1, lower);
    } else {
      const auto v = static_cast<long long>(std::trunc(age * 100 + 0.5));
      Number(v / 100, n == 5 ? 1 : 2, lower);
      Append(sign);
      Number(v % 100, 2, true);
    }
  }

  // AM/PM marker at `p` (an `a` or `A` of count 1). Returns where the scan continues.
  std::size_t Marker(std::string_view f, std::size_t p) {
    const std::size_t n = f.size();
    auto matches = [&](std::size_t at, std::string_view pattern) {
      if (at + pattern.size() > n) return false;
      for (std::size_t k = 0; k < pattern.size(); ++k) {
        if (FoldUpper(static_cast<unsigned char>(f[at + k])) != pattern[k]) return false;
      }
      return true;
    };
    const bool am = dt_.Hour < 12;
    if (matches(p, "AMPM")) {
      Append(am ? rs_.AmDesignator : rs_.PmDesignator);
      return p + 4;
    }
    std::size_t w = 0;
    if (matches(p, "A.M.")) {
      if (matches(p + 5, "P.M.")) w = 4;
    } else if (matches(p, "AM")) {
      if (matches(p + 3, "PM")) w = 2;
    } else if (matches(p + 2, "P")) {
      w = 1;
    }
    const char separator = w != 0 ? f[p + w] : '\0';
    if (w == 0 || (separator != '/' && separator != '%' && separator != '\\')) {
      AppendByte(f[p]);
      return p + 1;
    }
    const char* q = f.data() + (am ? p : p + w + 1);
    if (separator == '/') {
      Append(q, w);
    } else if (separator == '%') {
      if (w == 4) {
        Append(WideLetter(q[0]));
        Append(names_.wideFullStop);
        Append(WideLetter(q[2]));
        Append(names_.wideFullStop);
      } else {
        for (std::size_t k = 0; k < w; ++k) Append(WideLetter(q[k]));
      }
    } else {
      if (w == 1) {
        Append(KanjiLetter(q[0]));
      } else if (w == 2) {
        Append(KanjiLetter(q[1]));
        Append(KanjiLetter(q[0]));
      } else {
        Append(KanjiLetter(q[2]));
        Append(KanjiLetter(q[0]));
        if (q[0] == 'P') Append(names_.wideSpace);
      }
    }
    return p + 2 * w + 1;
  }

  std::string_view WideLetter(char c) const {
    switch (c) {
      case 'A': return names_.wideA;
      case 'M': return names_.wideM;
      case 'P': return names_.wideP;
      case 'a': return names_.widea;
      case 'm': return names_.widem;
      case 'p': return names_.widep;
      default: return {};
    }
  }

  std::string_view KanjiLetter(char c) const {
    switch (c) {
      case 'a': return names_.kanjiMae;
      case 'p': return names_.kanjiAto;
      case 'm': return names_.kanjiUma;
      case 'A': return names_.kanaZen;
      case 'P':
      case 'M': return names_.kanaGo;
      default: return {};
    }
  }

  const DateTimeRecord& dt_;
  const RegionalSettings& rs_;
  FormatBuffer& out_;
  const NameTables& names_;
  bool fullWidth_ = false;
  bool kanji_ = false;
  int depth_ = 0;
};

}  // namespace

DateTimeFormatter::DateTimeFormatter() : regional_(FixedJapaneseRegional()) {}
DateTimeFormatter::DateTimeFormatter(RegionalSettings regional) : regional_(std::move(regional)) {}

std::string_view DateTimeFormatter::FormatInto(std::string_view format,
                                               FormatBuffer& out) const noexcept {
  Renderer renderer(current_, regional_, out);
  renderer.Scan(format);
  return out.view();
}

std::string DateTimeFormatter::FormatDateTimeEx(std::string_view format) const {
  FormatBuffer out;
  return std::string(FormatInto(format, out));
}

DateTimeFormatter& TheFormatter() {
  static DateTimeFormatter formatter;
  return formatter;
}

}  // namespace mirovane
