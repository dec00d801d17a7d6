#include "format/formatter.h"

#include <array>
#include <cmath>
#include <cstring>

#include "format/calendar.h"
#include "format/names.h"
#include "platform/codec.h"

namespace mirovane {

namespace {

bool IsAsciiLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
char FoldUpper(unsigned char c) { return static_cast<char>(IsAsciiLower(c) ? c - 32 : c); }

// What a format byte starts, looked up once per step of the scan.
enum ByteClass : unsigned char {
  kEndOfFormat,  // NUL: a format ends at its first NUL byte
  kLiteral,      // copied as it is
  kLeadByte,     // first byte of a double-byte character
  kQuote,        // ' or ": quoted text up to the same quote
  kDateSep,      // /
  kTimeSep,      // :
  kRunToken,     // a token letter (either case), % or \, read as a run of equal bytes
};

constexpr std::array<ByteClass, 256> MakeByteClasses() {
  std::array<ByteClass, 256> c{};
  for (int b = 0; b < 256; ++b) {
    c[b] = IsCp932LeadByte(static_cast<unsigned char>(b)) ? kLeadByte : kLiteral;
  }
  c[0] = kEndOfFormat;
  c['\''] = kQuote;
  c['"'] = kQuote;
  c['/'] = kDateSep;
  c[':'] = kTimeSep;
  for (const char t : std::string_view("ACDEFGHJKLMNPRSTUVWYZ")) {
    c[static_cast<unsigned char>(t)] = kRunToken;
    c[static_cast<unsigned char>(t + 32)] = kRunToken;
  }
  c['%'] = kRunToken;
  c['\\'] = kRunToken;
  return c;
}
constexpr std::array<ByteClass, 256> kByteClasses = MakeByteClasses();

// Keeps the token step inside the scan loop. The compiler leaves it out of line by itself (it is
// large, and nested formats make the scan recursive), and a call per token costs the short time
// formats about a quarter more instructions.
#if defined(__GNUC__)
#define MIROVANE_SCAN_STEP [[gnu::always_inline]] inline
#elif defined(_MSC_VER)
#define MIROVANE_SCAN_STEP __forceinline
#else
#define MIROVANE_SCAN_STEP inline
#endif

// One top-level rendering: the output buffer, the two numeral modes and the nesting depth are
// shared by every nested expansion of the call.
//
// Set-up is kept to a few stores, since the clock renders a short time format many times a
// second: the name tables are fetched only by the tokens that print names or double-byte digits.
class Renderer {
 public:
  Renderer(const DateTimeRecord& dt, const RegionalSettings& rs, bool newEras, FormatBuffer& out)
      : dt_(dt), rs_(rs), out_(out), newEras_(newEras) {
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
  static const NameTables& Tables() { return Names(); }

  // ---- output writers ----
  void Append(const char* p, std::size_t n) {
    const std::size_t room = static_cast<std::size_t>(FormatBuffer::kCapacity - out_.length);
    if (n > room) n = room;
    char* o = out_.bytes + out_.length;
    // Separators and double-byte characters: copied without a library call.
    if (n == 1) {
      *o = *p;
    } else if (n == 2) {
      std::memcpy(o, p, 2);
    } else {
      std::memcpy(o, p, n);
    }
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
    // Most fields (hh, nn, ss, m, dd, ...) are 0..99 with a width of at most 2 in plain digits:
    // written straight into the buffer.
    if (static_cast<unsigned long long>(value) < 100 && width <= 2 && !JapaneseMode() &&
        out_.length <= FormatBuffer::kCapacity - 2) {
      const auto v = static_cast<unsigned>(value);
      char* o = out_.bytes + out_.length;
      if (v >= 10) {
        o[0] = static_cast<char>('0' + v / 10);
        o[1] = static_cast<char>('0' + v % 10);
        out_.length += 2;
      } else if (width == 2) {
        o[0] = zeroFill ? '0' : ' ';
        o[1] = static_cast<char>('0' + v);
        out_.length += 2;
      } else {
        o[0] = static_cast<char>('0' + v);
        out_.length += 1;
      }
      return;
    }
    AnyNumber(value, width, zeroFill);
  }

  void AnyNumber(long long value, long long width, bool zeroFill) {
    // Digits are produced from the right end of `digits`.
    char digits[24];
    char* const end = digits + sizeof digits;
    char* first = end;
    unsigned long long mag = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                       : static_cast<unsigned long long>(value);
    do {
      *--first = static_cast<char>('0' + mag % 10);
      mag /= 10;
    } while (mag != 0);
    if (value < 0) *--first = '-';
    const int len = static_cast<int>(end - first);

    long long pad = width > 1 && width > len ? width - len : 0;
    if (!JapaneseMode()) {
      const char fill = zeroFill ? '0' : ' ';
      for (; pad > 0 && !Full(); --pad) AppendByte(fill);
      Append(first, static_cast<std::size_t>(len));
      return;
    }
    const NameTables& names = Names();
    const char(*set)[2] = fullWidth_ ? names.wideDigit : names.kanjiDigit;
    const std::string& space = names.wideSpace;
    for (; pad > 0 && !Full(); --pad) {
      if (zeroFill) {
        Append(set[0], 2);
      } else {
        Append(space);
      }
    }
    for (const char* d = first; d != end; ++d) {
      if (*d >= '0' && *d <= '9') {
        Append(set[*d - '0'], 2);
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
      for (std::size_t i = (width - text.size()) / 2; i > 0; --i) Append(Tables().wideSpace);
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

  // Walks one format: literal bytes, double-byte characters, quoted texts and the two separators
  // are copied here; every run of a token byte goes to Token.
  void ScanBody(std::string_view f) {
    std::size_t i = 0;
    while (i < f.size()) {
      const auto b = static_cast<unsigned char>(f[i]);
      switch (kByteClasses[b]) {
        case kEndOfFormat:
          return;
        case kLiteral:
          AppendByte(static_cast<char>(b));
          ++i;
          break;
        case kLeadByte:
          i = CopyDoubleByte(f, i);
          break;
        case kQuote:
          i = CopyQuoted(f, i);
          break;
        case kDateSep:
          Append(rs_.DateSeparator);
          ++i;
          break;
        case kTimeSep:
          Append(rs_.TimeSeparator);
          ++i;
          break;
        case kRunToken:
          i = Token(f, i);
          break;
      }
    }
  }

  // The format ends at its first NUL: neither a quoted text nor a double-byte character reaches
  // past one.
  static bool EndsAt(std::string_view f, std::size_t k) { return k >= f.size() || f[k] == '\0'; }

  // A double-byte character at `i` is copied whole; a lone lead byte at the end as one byte.
  // Returns where the scan continues.
  std::size_t CopyDoubleByte(std::string_view f, std::size_t i) {
    const std::size_t len = EndsAt(f, i + 1) ? 1 : 2;
    Append(f.data() + i, len);
    return i + len;
  }

  // The text after the quote at `i` up to the same quote; an unterminated quote runs to the end
  // of the format. Returns where the scan continues.
  std::size_t CopyQuoted(std::string_view f, std::size_t i) {
    const char quote = f[i];
    const std::size_t start = i + 1;
    std::size_t j = start;
    while (!EndsAt(f, j) && f[j] != quote) {
      j += IsCp932LeadByte(static_cast<unsigned char>(f[j])) && !EndsAt(f, j + 1) ? 2 : 1;
    }
    Append(f.data() + start, j - start);
    return EndsAt(f, j) ? f.size() : j + 1;
  }

  // The run of equal token bytes at `start`, rendered by its letter (either case; the case picks
  // zeros or spaces as padding and one of two name sets) and its length. Returns where the scan
  // continues: after the run, or after the whole marker pattern of an a/A.
  MIROVANE_SCAN_STEP std::size_t Token(std::string_view f, std::size_t start) {
    const auto b = static_cast<unsigned char>(f[start]);
    std::size_t run = 1;
    while (start + run < f.size() && f[start + run] == f[start]) ++run;
    const std::size_t next = start + run;
    const long long count = static_cast<long long>(run);
    const bool lower = IsAsciiLower(b);
    char token = FoldUpper(b);
    if (token == 'E' && dt_.EraIndex == 0) token = 'Y';

    switch (token) {
      case '%':
      case '\\':
        NumeralSwitch(static_cast<char>(b), count);
        break;
      case 'Y':
        YearField(count, lower);
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
          TwoHourPeriod(count, lower);
        }
        break;
      case 'F':
        if (count <= 2) {
          Number(dt_.Hour % 12, count, lower);
        } else {
          BellCount(count, lower);
        }
        break;
      case 'N':
        if (count <= 2) {
          Number(dt_.Minute, count, lower);
        } else {
          Number(dt_.Hour * 60 + dt_.Minute, count == 3 ? 0 : 4, lower);
        }
        break;
      case 'S':
        if (count <= 2) {
          Number(dt_.Second, count, lower);
        } else {
          Number((dt_.Hour * 60 + dt_.Minute) * 60 + dt_.Second, count == 3 ? 0 : 5, lower);
        }
        break;
      case 'Z':
        Number(dt_.MilliSecond, count == 1 ? 1 : 3, lower);
        break;
      case 'C':
        RegionalDateTime();
        break;
      case 'T':
        Nested(count == 1 ? rs_.ShortTimeFormat : rs_.LongTimeFormat);
        break;
      case 'V':
        Nested(count == 1 ? rs_.ShortDateFormat : rs_.LongDateFormat);
        break;
      case 'E':
        Number(dt_.Year - kEras[Era()].yearOffset, count == 1 ? 1 : 2, lower);
        break;
      case 'G':
        EraName(count, lower);
        break;
      case 'K':
        OldMonth(f.data() + start, count, lower);
        break;
      case 'A':
        if (count == 1) return Marker(f, start);
        WeekdayJapanese(count, lower);
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
        LeapMark(count, lower);
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
    return next;
  }

  // ---- number and regional tokens ----

  // A single % or \ turns full-width or kanji numerals on or off; a longer run prints one byte
  // fewer than it has.
  void NumeralSwitch(char c, long long count) {
    if (count == 1) {
      bool& mode = c == '%' ? fullWidth_ : kanji_;
      mode = !mode;
    } else {
      for (long long k = 1; k < count && !Full(); ++k) AppendByte(c);
    }
  }

  void YearField(long long count, bool lower) {
    if (count <= 2) {
      Number(dt_.Year % 100, count, lower);
    } else if (count == 3) {
      Number(dt_.Year, 1, lower);
    } else {
      Number(dt_.Year, 4, lower);
    }
  }

  // The short date, and the long time unless it is midnight.
  void RegionalDateTime() {
    Nested(rs_.ShortDateFormat);
    if (dt_.Hour != 0 || dt_.Minute != 0 || dt_.Second != 0) {
      AppendByte(' ');
      Nested(rs_.LongTimeFormat);
    }
  }

  // ---- name, calendar and marker tokens ----

  // Traditional two-hour period (three letters and more).
  void TwoHourPeriod(long long count, bool lower) {
    const int h = HourBranchIndex(dt_.Hour);
    if (count == 3) {
      Append(lower ? Tables().branchKanji[h] : Tables().branchReading[h]);
    } else if (lower) {
      Append(Tables().zodiac[h]);
    } else {
      Full(Tables().branchReading[h], 6);
    }
  }

  // Bell count of the hour (three letters and more).
  void BellCount(long long count, bool lower) {
    const int j = BellCountIndex(dt_.Hour);
    if (count == 3 && lower) {
      Append(Tables().bellKanji[j]);
    } else if (lower || count == 3) {
      Append(lower ? Tables().bellKanji[j] : Tables().bellReading[j]);
      Append(Tables().bellSuffix);
    } else {
      Full(Tables().bellReading[j], Tables().bellSuffix, 8);
    }
  }

  // The leap-year mark; in a common year nothing for one letter, a blank or the common-year mark
  // for more.
  void LeapMark(long long count, bool lower) {
    if (dt_.IsLeapYear) {
      Append(Tables().leapMark);
    } else if (count >= 2) {
      Append(lower ? Tables().commonMark : Tables().wideSpace);
    }
  }

  void MonthName(long long n, bool lower) {
    const int m = dt_.Month;
    if (n <= 5) {
      const std::string& text = lower ? Tables().monthEnglish[m] : Tables().monthEnglishUpper[m];
      if (n == 3)
        Half(text, 3);
      else if (n == 4)
        Append(text);
      else
        Half(text, 9);
    } else {
      const std::string& text = lower ? Tables().monthWide[m] : Tables().monthWideUpper[m];
      if (n == 6)
        Full(text, 6);
      else if (n == 7)
        Append(text);
      else
        Full(text, 18);
    }
  }

  void WeekdayName(long long n, bool lower) {
    const int d = dt_.DayOfWeek;
    switch (n) {
      case 3:
        Half(lower ? Tables().weekdayEnglish[d] : Tables().weekdayEnglishUpper[d], 3);
        break;
      case 4:
        Append(lower ? Tables().weekdayEnglishDay[d] : Tables().weekdayEnglishDayUpper[d]);
        break;
      case 5:
        Half(lower ? Tables().weekdayEnglishDay[d] : Tables().weekdayEnglishDayUpper[d], 9);
        break;
      case 6:
        Full(lower ? Tables().weekdayWide[d] : Tables().weekdayWideUpper[d], 6);
        break;
      case 7:
        Append(lower ? Tables().weekdayWideDay[d] : Tables().weekdayWideDayUpper[d]);
        break;
      default:
        Full(lower ? Tables().weekdayWideDay[d] : Tables().weekdayWideDayUpper[d], 18);
        break;
    }
  }

  void WeekdayJapanese(long long n, bool lower) {
    const int d = dt_.DayOfWeek;
    switch (n) {
      case 2:
        Append(lower ? Tables().weekdayKanji[d] : Tables().weekdayReading[d]);
        break;
      case 3:
        if (lower)
          Append(Tables().weekdayKanji[d]);
        else
          Full(Tables().weekdayReading[d], 4);
        break;
      case 4:
        Append(lower ? Tables().weekdayKanjiYoubi[d] : Tables().weekdayReadingYoubi[d]);
        break;
      case 5:
        if (lower)
          Append(Tables().weekdayKanjiYoubi[d]);
        else
          Full(Tables().weekdayReadingYoubi[d], 10);
        break;
      case 6:
        Append(lower ? Tables().weekdayKatakanaDay[d] : Tables().weekdayHiraganaDay[d]);
        break;
      default:
        Full(lower ? Tables().weekdayKatakanaDay[d] : Tables().weekdayHiraganaDay[d], 12);
        break;
    }
  }

  // The era of the E and G tokens (index 0 never reaches them: E then prints the year and G the
  // empty names).
  int Era() const { return ShownEraIndex(dt_.EraIndex, dt_.Value, newEras_); }

  void EraName(long long n, bool lower) {
    const int e = Era();
    if (n == 1) {
      if (!JapaneseMode()) {
        if (lower)
          Append(Tables().eraLatin[e]);
        else
          Half(Tables().eraLatin[e], 1);
      } else {
        if (lower)
          Append(Tables().eraWide[e]);
        else
          Full(Tables().eraWide[e], 2);
      }
      return;
    }
    const std::string& text = lower ? Tables().eraKanji[e] : Tables().eraKana[e];
    if (n == 2)
      Full(text, 2);
    else if (n == 3)
      Append(text);
    else
      Full(text, lower ? 4 : 10);
  }

  void OldMonth(const char* letter, long long n, bool lower) {
    const int m = dt_.Month;
    const std::string& name = Tables().monthOld[m];
    const std::string& reading = Tables().monthOldReading[m];
    switch (n) {
      case 1:
        AppendByte(*letter);
        break;
      case 2:
        lower ? Full(name, 2) : Full(reading, 4);
        break;
      case 3:
        lower ? Full(name, 4) : Full(reading, 6);
        break;
      case 4:
        Append(lower ? name : reading);
        break;
      case 5:
        lower ? Full(name, 6) : Full(reading, 10);
        break;
      case 6:
        Append(lower ? Tables().monthKatakana[m] : Tables().monthHiragana[m]);
        break;
      default:
        Full(lower ? Tables().monthKatakana[m] : Tables().monthHiragana[m], 14);
        break;
    }
  }

  void CycleYear(const char* letter, long long n, bool lower) {
    const int s = YearStemIndex(dt_.Year);
    const int b = YearBranchIndex(dt_.Year);
    switch (n) {
      case 1:
        AppendByte(*letter);
        break;
      case 2:
        Append(lower ? Tables().stemKanji[s] : Tables().stemReading[s]);
        break;
      case 3:
        if (lower)
          Append(Tables().stemKanji[s]);
        else
          Full(Tables().stemReading[s], 8);
        break;
      case 4:
        Append(lower ? Tables().branchKanji[b] : Tables().branchReading[b]);
        break;
      case 5:
        if (lower)
          Append(Tables().zodiac[b]);
        else
          Full(Tables().branchReading[b], 6);
        break;
      case 6:
        if (lower) {
          Append(Tables().stemKanji[s]);
          Append(Tables().branchKanji[b]);
        } else {
          Append(Tables().stemReading[s]);
          Append(Tables().branchReading[b]);
        }
        break;
      default:
        if (lower) {
          Append(Tables().stemKanji[s]);
          Append(Tables().zodiac[b]);
        } else {
          Full(Tables().stemReading[s], Tables().branchReading[b], 14);
        }
        break;
    }
  }

  void MoonAgeField(long long n, bool lower) {
    const double age = MoonAge(dt_);
    const std::string_view sign =
        JapaneseMode() ? std::string_view(Tables().japaneseDecimal) : std::string_view(".");
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

  // AM/PM marker at `p` (an `a` or `A` of count 1). Returns where the scan continues. A NUL
  // matches no pattern letter and is no separator, so nothing after a NUL is ever used.
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
        Append(Tables().wideFullStop);
        Append(WideLetter(q[2]));
        Append(Tables().wideFullStop);
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
        if (q[0] == 'P') Append(Tables().wideSpace);
      }
    }
    return p + 2 * w + 1;
  }

  std::string_view WideLetter(char c) const {
    switch (c) {
      case 'A':
        return Tables().wideA;
      case 'M':
        return Tables().wideM;
      case 'P':
        return Tables().wideP;
      case 'a':
        return Tables().widea;
      case 'm':
        return Tables().widem;
      case 'p':
        return Tables().widep;
      default:
        return {};
    }
  }

  std::string_view KanjiLetter(char c) const {
    switch (c) {
      case 'a':
        return Tables().kanjiMae;
      case 'p':
        return Tables().kanjiAto;
      case 'm':
        return Tables().kanjiUma;
      case 'A':
        return Tables().kanaZen;
      case 'P':
      case 'M':
        return Tables().kanaGo;
      default:
        return {};
    }
  }

  const DateTimeRecord& dt_;
  const RegionalSettings& rs_;
  FormatBuffer& out_;
  bool newEras_;
  bool fullWidth_ = false;
  bool kanji_ = false;
  int depth_ = 0;
};

}  // namespace

DateTimeFormatter::DateTimeFormatter() : regional_(FixedJapaneseRegional()) {}
DateTimeFormatter::DateTimeFormatter(RegionalSettings regional) : regional_(std::move(regional)) {}

std::string_view DateTimeFormatter::FormatInto(std::string_view format,
                                               FormatBuffer& out) const noexcept {
  Renderer renderer(current_, regional_, newEras_, out);
  renderer.Scan(format);
  return out.view();
}

std::string DateTimeFormatter::FormatDateTimeEx(std::string_view format) const {
  FormatBuffer out;
  return std::string(FormatInto(format, out));
}

}  // namespace mirovane
