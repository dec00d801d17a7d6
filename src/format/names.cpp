#include "format/names.h"

#include <cstring>

#include "platform/codec.h"

namespace mirovane {

namespace {

template <std::size_t N>
void Fill(std::string (&dst)[N], const char* const (&src)[N]) {
  for (std::size_t i = 0; i < N; ++i) dst[i] = Utf8ToCp932(src[i]);
}

NameTables Build() {
  NameTables t;
  static const char* const kKanjiDigits[10] = {"〇", "一", "二", "三", "四",
                                               "五", "六", "七", "八", "九"};
  static const char* const kWideDigits[10] = {"０", "１", "２", "３", "４",
                                              "５", "６", "７", "８", "９"};
  for (int i = 0; i < 10; ++i) {
    const std::string k = Utf8ToCp932(kKanjiDigits[i]);
    const std::string w = Utf8ToCp932(kWideDigits[i]);
    std::memcpy(t.kanjiDigit[i], k.data(), 2);
    std::memcpy(t.wideDigit[i], w.data(), 2);
  }

  Fill(t.eraKanji, {"", "明治", "大正", "昭和", "平成", "令和"});
  Fill(t.eraKana, {"", "めいじ", "たいしょう", "しょうわ", "へいせい", "れいわ"});
  Fill(t.eraLatin, {"", "M", "T", "S", "H", "R"});
  Fill(t.eraWide, {"", "Ｍ", "Ｔ", "Ｓ", "Ｈ", "Ｒ"});

  Fill(t.stemKanji, {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"});
  static const char* const kElements[5] = {"き", "ひ", "つち", "か", "みず"};
  static const char* const kSuffixes[2] = {"のえ", "のと"};
  for (int s = 0; s < 10; ++s) {
    t.stemReading[s] = Utf8ToCp932(kElements[s / 2]) + Utf8ToCp932(kSuffixes[s % 2]);
  }
  Fill(t.branchKanji, {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"});
  Fill(t.zodiac, {"鼠", "牛", "虎", "兎", "竜", "蛇", "馬", "羊", "猿", "鳥", "犬", "猪"});
  Fill(t.branchReading,
       {"ね", "うし", "とら", "う", "たつ", "み", "うま", "ひつじ", "さる", "とり", "いぬ", "ゐ"});
  Fill(t.bellKanji, {"九", "八", "七", "六", "五", "四"});
  Fill(t.bellReading, {"ここの", "や", "なな", "む", "いつ", "よ"});

  Fill(t.monthEnglish, {"", "January", "February", "March", "April", "May", "June", "July",
                        "August", "September", "October", "November", "December"});
  Fill(t.monthWide, {"", "Ｊａｎｕａｒｙ", "Ｆｅｂｒｕａｒｙ", "Ｍａｒｃｈ", "Ａｐｒｉｌ", "Ｍａｙ",
                     "Ｊｕｎｅ", "Ｊｕｌｙ", "Ａｕｇｕｓｔ", "Ｓｅｐｔｅｍｂｅｒ", "Ｏｃｔｏｂｅｒ",
                     "Ｎｏｖｅｍｂｅｒ", "Ｄｅｃｅｍｂｅｒ"});
  Fill(t.monthKatakana,
       {"", "ジャニュアリー", "フェブラリー", "マーチ", "エイプリル", "メイ", "ジューン",
        "ジュライ", "オーガスト", "セプテンバー", "オクトーバー", "ノヴェンバー", "ディセンバー"});
  // November's hiragana spells its voiced sound with the separate voiced mark (U+309B).
  Fill(t.monthHiragana, {"", "じゃにゅありー", "ふぇぶらりー", "まーち", "えいぷりる", "めい",
                         "じゅーん", "じゅらい", "おーがすと", "せぷてんばー", "おくとーばー",
                         "のう\u309Bぇんばー", "でぃせんばー"});
  Fill(t.monthOld, {"", "睦月", "如月", "弥生", "卯月", "皐月", "水無月", "文月", "葉月", "長月",
                    "神無月", "霜月", "師走"});
  Fill(t.monthOldReading, {"", "むつき", "きさらぎ", "やよい", "うづき", "さつき", "みなづき",
                           "ふみつき", "はづき", "ながつき", "かんなづき", "しもつき", "しわす"});
  for (int m = 0; m < 13; ++m) {
    t.monthEnglishUpper[m] = UpperAscii(t.monthEnglish[m]);
    t.monthWideUpper[m] = UpperWithFullWidth(t.monthWide[m]);
  }

  Fill(t.weekdayEnglish, {"", "Sun", "Mon", "Tues", "Wednes", "Thurs", "Fri", "Satur"});
  Fill(t.weekdayWide,
       {"", "Ｓｕｎ", "Ｍｏｎ", "Ｔｕｅｓ", "Ｗｅｄｎｅｓ", "Ｔｈｕｒｓ", "Ｆｒｉ", "Ｓａｔｕｒ"});
  std::string katakana[8], hiragana[8];
  Fill(katakana, {"", "サン", "マン", "チューズ", "ウェンズ", "サーズ", "フライ", "サタ"});
  Fill(hiragana, {"", "さん", "まん", "ちゅーず", "うぇんず", "さーず", "ふらい", "さた"});
  Fill(t.weekdayKanji, {"", "日", "月", "火", "水", "木", "金", "土"});
  Fill(t.weekdayReading, {"", "にち", "げつ", "か", "すい", "もく", "きん", "ど"});
  const std::string wideDay = Utf8ToCp932("ｄａｙ");
  const std::string kanjiYoubi = Utf8ToCp932("曜日");
  const std::string readingYoubi = Utf8ToCp932("ようび");
  const std::string katakanaDay = Utf8ToCp932("デー");
  const std::string hiraganaDay = Utf8ToCp932("でー");
  for (int d = 1; d < 8; ++d) {
    t.weekdayEnglishUpper[d] = UpperAscii(t.weekdayEnglish[d]);
    t.weekdayEnglishDay[d] = t.weekdayEnglish[d] + "day";
    t.weekdayEnglishDayUpper[d] = UpperAscii(t.weekdayEnglishDay[d]);
    t.weekdayWideUpper[d] = UpperWithFullWidth(t.weekdayWide[d]);
    t.weekdayWideDay[d] = t.weekdayWide[d] + wideDay;
    t.weekdayWideDayUpper[d] = UpperWithFullWidth(t.weekdayWideDay[d]);
    t.weekdayKanjiYoubi[d] = t.weekdayKanji[d] + kanjiYoubi;
    t.weekdayReadingYoubi[d] = t.weekdayReading[d] + readingYoubi;
    t.weekdayKatakanaDay[d] = katakana[d] + katakanaDay;
    t.weekdayHiraganaDay[d] = hiragana[d] + hiraganaDay;
  }

  t.bellSuffix = Utf8ToCp932("つ");
  t.leapMark = Utf8ToCp932("閏");
  t.commonMark = Utf8ToCp932("平");
  t.japaneseDecimal = Utf8ToCp932("・");
  t.wideFullStop = Utf8ToCp932("．");
  t.wideSpace = Utf8ToCp932("\u3000");
  t.wideA = Utf8ToCp932("Ａ");
  t.wideM = Utf8ToCp932("Ｍ");
  t.wideP = Utf8ToCp932("Ｐ");
  t.widea = Utf8ToCp932("ａ");
  t.widem = Utf8ToCp932("ｍ");
  t.widep = Utf8ToCp932("ｐ");
  t.kanjiMae = Utf8ToCp932("前");
  t.kanjiAto = Utf8ToCp932("後");
  t.kanjiUma = Utf8ToCp932("午");
  t.kanaZen = Utf8ToCp932("ぜん");
  t.kanaGo = Utf8ToCp932("ご");
  return t;
}

}  // namespace

const NameTables& Names() {
  static const NameTables tables = Build();
  return tables;
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string UpperWithFullWidth(std::string text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (IsCp932LeadByte(b)) {
      // ａ..ｚ are 0x82 0x81..0x9A; Ａ..Ｚ are 0x82 0x60..0x79.
      if (i + 1 < text.size() && b == 0x82) {
        const auto t = static_cast<unsigned char>(text[i + 1]);
        if (t >= 0x81 && t <= 0x9A) text[i + 1] = static_cast<char>(t - 0x21);
      }
      ++i;
    } else if (b >= 'a' && b <= 'z') {
      text[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
  return text;
}

}  // namespace mirovane
