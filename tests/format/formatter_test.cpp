#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "format/datetime.h"
#include "format/formatter.h"
#include "random_renderings.h"
#include "support.h"

namespace mirovane {
namespace {

using test::Render;
using test::Sj;

constexpr double kSample = 46364.71191114583;  // 2026-12-08 17:05:09.123, a Tuesday

DateTimeFormatter At(double value) {
  DateTimeFormatter f;
  f.SetDateTimeEx(value);
  return f;
}

DateTimeFormatter At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return At(JoinDateTime(DayNumberFromCivil(y, mo, d), ((h * 60LL + mi) * 60 + s) * 1000 + ms));
}

// The sample formats offered in the options dialog, rendered at the sample moment.
TEST(Formatter, SampleFormats) {
  const DateTimeFormatter f = At(kSample);
  const std::pair<const char*, const char*> cases[] = {
      {"yyyy/mm/dd'('aaa')'", "2026/12/08(火)"},
      {"\\ggge'年'm'月'd'日('aaa')'", "平成三八年一二月八日(火)"},
      {"%gggee'年'mm'月'dd'日（'www'）'", "平成３８年１２月０８日（火）"},
      {"%yyyy\"／\"mm\"／\"dd\"（\"DDD\"）月齢\"r", "２０２６／１２／０８（TUE）月齢２９"},
      {"\"'\"yy/mm/dd \"（ユリウス通日：\"u\"日）\"", "'26/12/08 （ユリウス通日：2461384日）"},
      {"%yyyy/mm/dd% dddddd %hh:nn:ss%  \"月齢\"rrr",
       "２０２６/１２/０８ Ｔｕｅ １７:０５:０９  月齢29.0"},
      {"%gee\"／\"mm\"／\"dd\"（\"aaaa\"） \"hh\"：\"nn\"：\"ss AM%PM",
       "Ｈ３８／１２／０８（火曜日） １７：０５：０９ ＰＭ"},
      {"\\ggge\"年\"kkkkkd\"日（\"aaa\"） \"am\\pm h\"時\"n\"分\"s\"秒\"",
       "平成三八年師走　八日（火） 午後 一七時五分九秒"},
      {"hh:nn:ss", "17:05:09"},
      {"\\h'時'n'分's'秒'", "一七時五分九秒"},
      {"ff:nn:ss a.m./p.m.", "05:05:09 p.m."},
      {"am%pm %f'時'n'分's'秒'", "ｐｍ ５時５分９秒"},
      {"gee/mm/dd'('aaa') 'hh:nn:ss", "H38/12/08(火) 17:05:09"},
      {"ddd\", \"dd\" \"mmm\" \"yyyy\", \"hh:nn:ss", "Tue, 08 Dec 2026, 17:05:09"},
      {"DDDD', 'dd' 'MMMM' 'yyyy', 'ff:nn:ss' 'AM/PM", "TUESDAY, 08 DECEMBER 2026, 05:05:09 PM"},
      {"\\ggge\"年（\"jjjj\"年・\"ll\"）\"kkk d\"日\" hhh\"の刻\"",
       "平成三八年（午年・平）師走 八日 酉の刻"},
  };
  for (const auto& [format, expected] : cases) {
    EXPECT_EQ(Render(f, format), expected) << format;
  }
}

TEST(Formatter, ModeSwitchesAndQuotes) {
  const DateTimeFormatter f = At(kSample);
  EXPECT_EQ(Render(f, ""), "");
  EXPECT_EQ(Render(f, "%"), "");
  EXPECT_EQ(Render(f, "\\"), "");
  EXPECT_EQ(Render(f, "%%"), "%");
  EXPECT_EQ(Render(f, "%%%"), "%%");
  EXPECT_EQ(Render(f, "\\\\"), "\\");
  // A doubled switch changes no mode.
  EXPECT_EQ(Render(f, "%%yy"), "%26");
  EXPECT_EQ(Render(f, "'abc"), "abc");
  EXPECT_EQ(Render(f, "''"), "");
  EXPECT_EQ(Render(f, "\"'\"yy"), "'26");
  EXPECT_EQ(Render(f, "'yy\"mm'"), "yy\"mm");
  // Modes stay on until toggled, and never carry over to the next call.
  EXPECT_EQ(Render(f, "\\yy\\yy"), "二六26");
  EXPECT_EQ(Render(f, "\\"), "");
  EXPECT_EQ(Render(f, "yy"), "26");
}

TEST(Formatter, CharactersWithoutRuleAndRuns) {
  const DateTimeFormatter f = At(kSample);
  EXPECT_EQ(Render(f, "bbb"), "bbb");
  EXPECT_EQ(Render(f, "BIOQX-_ 9"), "BIOQX-_ 9");
  // Runs are case-sensitive: yyYY is two runs of two.
  EXPECT_EQ(Render(f, "yyYY"), "2626");
  EXPECT_EQ(Render(f, "kK"), "kK");
  EXPECT_EQ(Render(f, "jJ"), "jJ");
}

TEST(Formatter, YearWidthsAndFill) {
  const DateTimeFormatter f = At(2005, 3, 4, 6, 7, 8, 9);
  EXPECT_EQ(Render(f, "yy"), "05");
  EXPECT_EQ(Render(f, "YY"), " 5");
  EXPECT_EQ(Render(f, "y"), "5");
  EXPECT_EQ(Render(f, "yyy"), "2005");
  EXPECT_EQ(Render(f, "yyyyyy"), "2005");
  EXPECT_EQ(Render(f, "m/d M/D mm/dd MM/DD"), "3/4 3/4 03/04  3/ 4");
  EXPECT_EQ(Render(f, "h:n:s.z hh:nn:ss.zz HH:NN:SS.ZZ"), "6:7:8.9 06:07:08.009  6: 7: 8.  9");
  EXPECT_EQ(Render(f, "nnn sss nnnn ssss NNNN SSSS"), "367 22028 0367 22028  367 22028");
}

TEST(Formatter, NumeralModes) {
  EXPECT_EQ(Render(At(kSample), "\\yyyy"), "二〇二六");
  EXPECT_EQ(Render(At(kSample), "%yyyy"), "２０２６");
  EXPECT_EQ(Render(At(kSample), "%\\yyyy"), "２０２６");
  EXPECT_EQ(Render(At(kSample), "\\%yyyy"), "２０２６");
  // Fill spaces become full-width spaces; a lower-case fill is a zero digit.
  EXPECT_EQ(Render(At(2026, 3, 1), "\\MM"), "　三");
  EXPECT_EQ(Render(At(2026, 3, 1), "\\mm"), "〇三");
  EXPECT_EQ(Render(At(2026, 3, 1), "%DD"), "　１");
}

TEST(Formatter, TwelveHourClock) {
  EXPECT_EQ(Render(At(2026, 1, 1, 12, 0), "f"), "0");
  EXPECT_EQ(Render(At(2026, 1, 1, 23, 59), "ff"), "11");
  EXPECT_EQ(Render(At(2026, 1, 1, 0, 0), "FF"), " 0");
}

TEST(Formatter, NestedRegionalFormats) {
  DateTimeFormatter f = At(kSample);
  EXPECT_EQ(Render(f, "c"), "2026/12/08 17:05:09");
  EXPECT_EQ(Render(f, "t|tt|v|vv"), "17:05|17:05:09|2026/12/08|2026年12月8日");
  // Midnight with milliseconds: only the date.
  EXPECT_EQ(Render(At(JoinDateTime(46364, 500)), "c"), "2026/12/08");

  // A nested token inside a nested expansion gives nothing; C still adds its space.
  RegionalSettings r = FixedJapaneseRegional();
  r.ShortDateFormat = "yyyy[c][t][ww]";
  r.LongTimeFormat = "hh";
  f.SetRegional(r);
  EXPECT_EQ(Render(f, "c"), "2026[ ][][] 17");
  EXPECT_EQ(Render(f, "v"), "2026[ ][][]");
  EXPECT_EQ(Render(f, "ww"), "火");  // top level: same as aa
  // A mode toggled inside a nested expansion stays toggled after it.
  r.ShortTimeFormat = "%";
  f.SetRegional(r);
  EXPECT_EQ(Render(f, "t hh"), " １７");
  // Separators come from the regional settings; a missing one prints nothing.
  r.DateSeparator = "-";
  r.TimeSeparator = "";
  f.SetRegional(r);
  EXPECT_EQ(Render(f, "yyyy/mm hh:nn"), "2026-12 1705");
}

TEST(Formatter, OutputIsCutAt256Bytes) {
  const DateTimeFormatter f = At(kSample);
  std::string format(300, 'x');
  EXPECT_EQ(f.FormatDateTimeEx(format).size(), 256u);
  // Appends after the buffer is full still run and drop everything.
  format = std::string(255, 'x') + "yyyy" + "\\" + "yyyy";
  EXPECT_EQ(f.FormatDateTimeEx(format), std::string(255, 'x') + "2");
  // A double-byte character straddling the limit loses its second byte.
  format = std::string(255, 'x') + "\\yy";
  const std::string out = f.FormatDateTimeEx(format);
  ASSERT_EQ(out.size(), 256u);
  EXPECT_EQ(out.back(), Sj("二")[0]);
  // A huge width is padded only up to the limit.
  EXPECT_EQ(f.FormatDateTimeEx(std::string(400, 'U')).size(), 256u);
  // Two-digit fields at the limit: cut after the byte that still fits, fill included.
  EXPECT_EQ(f.FormatDateTimeEx(std::string(254, 'x') + "hh"), std::string(254, 'x') + "17");
  EXPECT_EQ(f.FormatDateTimeEx(std::string(255, 'x') + "hh"), std::string(255, 'x') + "1");
  EXPECT_EQ(f.FormatDateTimeEx(std::string(255, 'x') + "SS"), std::string(255, 'x') + " ");
  EXPECT_EQ(f.FormatDateTimeEx(std::string(255, 'x') + "nn"), std::string(255, 'x') + "0");
  EXPECT_EQ(f.FormatDateTimeEx(std::string(256, 'x') + "hh"), std::string(256, 'x'));
}

TEST(Formatter, FormatEndsAtFirstNul) {
  DateTimeFormatter f = At(kSample);
  using namespace std::string_view_literals;
  EXPECT_EQ(f.FormatDateTimeEx("\0yy"sv), "");
  // A NUL inside quoted text ends the text and the format.
  EXPECT_EQ(f.FormatDateTimeEx("'ab\0cd'yy"sv), "ab");
  // A lead byte right before a NUL is a lone byte, inside quotes or not.
  EXPECT_EQ(f.FormatDateTimeEx("'x\x95\0yy'"sv), "x\x95");
  EXPECT_EQ(f.FormatDateTimeEx("\x95\0yy"sv), "\x95");
  // An AM/PM pattern never reaches across a NUL.
  EXPECT_EQ(f.FormatDateTimeEx("am\0pm"sv), "a12");
  EXPECT_EQ(f.FormatDateTimeEx("a\0P/"sv), "a");
  EXPECT_EQ(f.FormatDateTimeEx("A.M.\0P.M."sv), "A.12.");
  // A nested format ends at its own NUL and the outer one goes on.
  RegionalSettings r = FixedJapaneseRegional();
  r.ShortTimeFormat = std::string("hh\0nn", 5);
  f.SetRegional(r);
  EXPECT_EQ(f.FormatDateTimeEx("t|ss"), "17|09");
}

TEST(Formatter, DoubleByteCharactersAreNeverTokens) {
  const DateTimeFormatter f = At(kSample);
  // 表 and ソ end in 0x5C, the byte of the kanji switch: they must not toggle it.
  EXPECT_EQ(Render(f, "表yy"), "表26");
  EXPECT_EQ(Render(f, "ソ\\yy"), "ソ二六");
  EXPECT_EQ(Render(f, "\\表yy\\ソyy"), "表二六ソ26");
  EXPECT_EQ(Render(f, "'表'yy"), "表26");
  EXPECT_EQ(Render(f, "'ソ"), "ソ");
  // A quote byte as the second byte of a character does not end a literal (cp932 0x8D 0x27
  // does not exist, but a lead byte swallows whatever follows it).
  std::string tricky = "'";
  tricky += '\x81';
  tricky += "'yy";
  EXPECT_EQ(f.FormatDateTimeEx(tricky), std::string("\x81'yy"));
  // A lone lead byte at the end is appended as one byte.
  EXPECT_EQ(f.FormatDateTimeEx("yy\x95"), "26\x95");
  // The format ends at a NUL byte.
  EXPECT_EQ(f.FormatDateTimeEx(std::string_view("yy\0mm", 5)), "26");
}

TEST(Formatter, MonthAndWeekdayNames) {
  const DateTimeFormatter dec = At(2026, 12, 1);
  EXPECT_EQ(Render(dec, "mmm|MMMM|mmmmm|"), "Dec|DECEMBER|December |");
  EXPECT_EQ(Render(dec, "mmmmmm|MMMMMMM"), "Ｄｅｃ|ＤＥＣＥＭＢＥＲ");
  EXPECT_EQ(Render(At(2026, 5, 1), "mmmmmmmm|"), "Ｍａｙ　　　　　　|");
  const DateTimeFormatter wed = At(2026, 12, 9);
  EXPECT_EQ(Render(wed, "ddd|dddd|ddddd|"), "Wed|Wednesday|Wednesday|");
  EXPECT_EQ(Render(wed, "DDDDDDD"), "ＷＥＤＮＥＳＤＡＹ");
  EXPECT_EQ(Render(wed, "dddddd|DDDDDD"), "Ｗｅｄ|ＷＥＤ");
  EXPECT_EQ(Render(At(2026, 12, 11), "ddddd|dddddddd|"), "Friday   |Ｆｒｉｄａｙ　　　|");
  const DateTimeFormatter sun = At(2026, 12, 6);
  EXPECT_EQ(Render(sun, "aaa|aaaa|AAA|AA|AAAA"), "日|日曜日|にち|にち|にちようび");
  EXPECT_EQ(Render(At(kSample), "AAA|"), "か　|");
  EXPECT_EQ(Render(At(kSample), "AAAAA|aaaaaa|AAAAAA|aaaaaaa|"),
            "かようび　|チューズデー|ちゅーずでー|チューズデー|");
}

TEST(Formatter, TraditionalMonthsAndCycle) {
  EXPECT_EQ(Render(At(2026, 11, 1), "KKKKKK"), "のう゛ぇんばー");
  EXPECT_EQ(Render(At(2026, 11, 1), "KKKKKK").size(), 21u);  // seven characters in UTF-8
  EXPECT_EQ(Sj(Render(At(2026, 11, 1), "KKKKKK")).size(), 14u);
  EXPECT_EQ(Render(At(2026, 6, 1), "kkk|kk|kkkk|kkkkk|"), "水無|水|水無月|水無月|");
  EXPECT_EQ(Render(At(2026, 1, 1), "KK|KKK|KKKKK|kkkkkkk|"),
            "むつ|むつき|むつき　　|ジャニュアリー|");
  EXPECT_EQ(Render(At(1984, 5, 1), "JJJJJJ|jjjjjjj|jj|JJJ|"), "きのえね|甲鼠|甲|きのえ　|");
  EXPECT_EQ(Render(At(2026, 5, 1), "jjjj|JJJJ|jjjjj|JJJJJ|JJJJJJJ|"),
            "午|うま|馬|うま　|ひのえうま　　|");
}

TEST(Formatter, EraTokens) {
  EXPECT_EQ(Render(At(1868, 9, 7), "ggg|gg|ee|g|G|"), "|　|68|| |");
  EXPECT_EQ(Render(At(1868, 9, 8), "ggge"), "明治1");
  EXPECT_EQ(Render(At(1912, 7, 29), "gggee"), "明治45");
  EXPECT_EQ(Render(At(1912, 7, 30), "gggee"), "大正01");
  EXPECT_EQ(Render(At(1926, 12, 24), "gggEE"), "大正15");
  EXPECT_EQ(Render(At(1926, 12, 25), "gggEE"), "昭和 1");
  EXPECT_EQ(Render(At(1989, 1, 7), "ggge"), "昭和64");
  EXPECT_EQ(Render(At(1989, 1, 8), "ggge"), "平成1");
  EXPECT_EQ(Render(At(2026, 1, 1), "ggge|GGG|gg|GG|gggg|GGGG|"),
            "平成38|へいせい|平|へ|平成|へいせい　|");
  EXPECT_EQ(Render(At(2026, 1, 1), "g|G|%g|G"), "H|H|Ｈ|Ｈ");
}

// With the new eras on, the era from 2019-05-01 00:00 follows the fourth in every era token, in
// plain digits and in both numeral modes; its first year prints as the number 1. Off, the fourth
// era goes on.
TEST(Formatter, NewErasInEveryEraToken) {
  const std::string tokens = "g|G|gg|GG|ggg|GGG|gggg|GGGG|e|ee|E|EE";
  struct Case {
    DateTimeFormatter at;
    bool newEras;
    const char* plain;
    const char* kanji;
    const char* wide;
  };
  const Case cases[] = {
      {At(2019, 4, 30), true, "H|H|平|へ|平成|へいせい|平成|へいせい　|31|31|31|31",
       "Ｈ|Ｈ|平|へ|平成|へいせい|平成|へいせい　|三一|三一|三一|三一",
       "Ｈ|Ｈ|平|へ|平成|へいせい|平成|へいせい　|３１|３１|３１|３１"},
      {At(2019, 4, 30, 23, 59, 59, 999), true,
       "H|H|平|へ|平成|へいせい|平成|へいせい　|31|31|31|31",
       "Ｈ|Ｈ|平|へ|平成|へいせい|平成|へいせい　|三一|三一|三一|三一",
       "Ｈ|Ｈ|平|へ|平成|へいせい|平成|へいせい　|３１|３１|３１|３１"},
      {At(2019, 5, 1), true, "R|R|令|れ|令和|れいわ|令和|れいわ　　|1|01|1| 1",
       "Ｒ|Ｒ|令|れ|令和|れいわ|令和|れいわ　　|一|〇一|一|　一",
       "Ｒ|Ｒ|令|れ|令和|れいわ|令和|れいわ　　|１|０１|１|　１"},
      {At(kSample), true, "R|R|令|れ|令和|れいわ|令和|れいわ　　|8|08|8| 8",
       "Ｒ|Ｒ|令|れ|令和|れいわ|令和|れいわ　　|八|〇八|八|　八",
       "Ｒ|Ｒ|令|れ|令和|れいわ|令和|れいわ　　|８|０８|８|　８"},
      {At(2019, 5, 1), false, "H|H|平|へ|平成|へいせい|平成|へいせい　|31|31|31|31",
       "Ｈ|Ｈ|平|へ|平成|へいせい|平成|へいせい　|三一|三一|三一|三一",
       "Ｈ|Ｈ|平|へ|平成|へいせい|平成|へいせい　|３１|３１|３１|３１"},
      {At(kSample), false, "H|H|平|へ|平成|へいせい|平成|へいせい　|38|38|38|38",
       "Ｈ|Ｈ|平|へ|平成|へいせい|平成|へいせい　|三八|三八|三八|三八",
       "Ｈ|Ｈ|平|へ|平成|へいせい|平成|へいせい　|３８|３８|３８|３８"},
  };
  for (Case c : cases) {
    c.at.SetNewEras(c.newEras);
    const DayAndTime t = SplitDateTime(c.at.Current().Value);
    const CivilDate d = CivilFromDayNumber(t.day);
    const std::string where = std::to_string(d.year) + "-" + std::to_string(d.month) + "-" +
                              std::to_string(d.day) + " +" + std::to_string(t.msOfDay) + " ms" +
                              (c.newEras ? " (new eras)" : "");
    EXPECT_EQ(Render(c.at, tokens), c.plain) << where;
    EXPECT_EQ(Render(c.at, "\\" + tokens), c.kanji) << where;
    EXPECT_EQ(Render(c.at, "%" + tokens), c.wide) << where;
  }
  // Nested regional formats take the option too.
  DateTimeFormatter nested = At(kSample);
  RegionalSettings r = nested.Regional();
  r.ShortDateFormat = "ggge";
  nested.SetRegional(r);
  nested.SetNewEras(true);
  EXPECT_EQ(Render(nested, "v"), "令和8");
}

// Off, the output is the one from before the new eras existed: 60,000 pseudo-random moments
// (around every era change, across the years 1 to 9999, and odd values such as NaN) with
// formats of random tokens, separators, quotes and markers hash to the value recorded by
// rendering the same stream with the formatter as it was before the option was added.
TEST(Formatter, NewErasOffRendersAsBefore) {
  constexpr std::uint64_t kBefore = 0x38cee2713b3622b1u;
  DateTimeFormatter off;
  EXPECT_EQ(test::RandomRenderingsHash(off, 60'000, 20190501), kBefore);
  // The stream does reach the new era: on, the hash differs.
  DateTimeFormatter on;
  on.SetNewEras(true);
  EXPECT_NE(test::RandomRenderingsHash(on, 60'000, 20190501), kBefore);
}

TEST(Formatter, CalendarQuantities) {
  EXPECT_EQ(Render(At(2000, 1, 1, 11, 59), "u"), "2451545");
  EXPECT_EQ(Render(At(2000, 1, 1, 12, 0), "u"), "2451546");
  EXPECT_EQ(Render(At(2000, 1, 1, 12, 0), "uuuuuuuuu|UUUUUUUUU"), "002451546|  2451546");
  EXPECT_EQ(Render(At(36532.5), "r|rrr|rrrrr|RR|rrrr|RRRRRR"), "0|0.4|0.37| 0|00.4| 0.37");
  EXPECT_EQ(Render(At(46364.0), "r|rrr|rrrrr|\\rrr"), "28|28.3|28.30|二八・三");
  EXPECT_EQ(Render(At(2024, 2, 29), "p|l|ll|LL"), "0|閏|閏|閏");
  EXPECT_EQ(Render(At(2023, 2, 28), "p|l|ll|LL|"), "0||平|　|");
  EXPECT_EQ(Render(At(2023, 2, 1), "p|pp|PP"), "27|27|27");
  EXPECT_EQ(Render(At(2023, 2, 25), "pp|PP"), "03| 3");
  EXPECT_EQ(Render(At(2026, 12, 7), "w"), "1");
  EXPECT_EQ(Render(At(2026, 12, 8), "w"), "2");
  EXPECT_EQ(Render(At(2026, 12, 29), "w"), "5");
}

TEST(Formatter, TraditionalHours) {
  EXPECT_EQ(Render(At(2026, 1, 1, 23, 0), "hhh"), "子");
  EXPECT_EQ(Render(At(2026, 1, 1, 0, 30), "hhh|HHH|hhhh|HHHH"), "子|ね|鼠|ね　　");
  EXPECT_EQ(Render(At(2026, 1, 1, 11, 0), "hhh"), "午");
  EXPECT_EQ(Render(At(2026, 1, 1, 12, 59), "hhh"), "午");
  EXPECT_EQ(Render(At(2026, 1, 1, 12, 0), "fff|FFF|ffff|FFFF"), "九|ここのつ|九つ|ここのつ");
  EXPECT_EQ(Render(At(2026, 1, 1, 11, 59), "fff|FFFF"), "四|よつ　　");
}

TEST(Formatter, AmPmMarkers) {
  const DateTimeFormatter am = At(2026, 1, 1, 9, 0);
  const DateTimeFormatter pm = At(2026, 1, 1, 15, 0);
  EXPECT_EQ(Render(am, "am/pm"), "am");
  EXPECT_EQ(Render(pm, "am/pm"), "pm");
  EXPECT_EQ(Render(pm, "AM%PM"), "ＰＭ");
  EXPECT_EQ(Render(pm, "am\\pm"), "午後");
  EXPECT_EQ(Render(am, "am\\pm"), "午前");
  EXPECT_EQ(Render(am, "AMPM|ampm"), "午前|午前");
  EXPECT_EQ(Render(pm, "AMPM"), "午後");
  EXPECT_EQ(Render(am, "a/p"), "a");
  EXPECT_EQ(Render(pm, "a/p|A%P|a\\p"), "p|Ｐ|後");
  EXPECT_EQ(Render(am, "AM\\PM|A.M.\\P.M.|a.m.\\p.m."), "ごぜん|ごぜん|午前");
  EXPECT_EQ(Render(pm, "AM\\PM|A.M.\\P.M.|a.m.\\p.m."), "ごご|ごご　|午後");
  EXPECT_EQ(Render(pm, "A.M.%P.M."), "Ｐ．Ｍ．");
  // Only the pattern match ignores case; letters render as written.
  EXPECT_EQ(Render(am, "a.M.\\P.m."), "ご前");
  // No match, or an unknown separator: the letter itself, then ordinary scanning.
  EXPECT_EQ(Render(pm, "AM-PM"), "A1-301");
  EXPECT_EQ(Render(pm, "a"), "a");
  EXPECT_EQ(Render(pm, "am/p"), "a1/30");
  EXPECT_EQ(Render(pm, "A.M./P.X."), "A.1./30.X.");
}

}  // namespace
}  // namespace mirovane
