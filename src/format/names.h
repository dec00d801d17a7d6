// The formatter's constant name tables in cp932, built once from readable UTF-8 source text.
#pragma once

#include <string>

namespace mirovane {

struct NameTables {
  // Two bytes each: the digit of the kanji and of the full-width numeral mode.
  char kanjiDigit[10][2];
  char wideDigit[10][2];

  // Index 0: before the first era; 5: the era after the fourth, shown only when asked for.
  std::string eraKanji[6], eraKana[6], eraLatin[6], eraWide[6];

  std::string stemKanji[10], stemReading[10];  // readings composed: element + elder/younger suffix
  std::string branchKanji[12], zodiac[12], branchReading[12];
  std::string bellKanji[6], bellReading[6];

  // Index 1..12 (0 unused). The upper-cased forms are prepared here so rendering never converts.
  std::string monthEnglish[13], monthEnglishUpper[13];
  std::string monthWide[13], monthWideUpper[13];
  std::string monthKatakana[13], monthHiragana[13];
  std::string monthOld[13], monthOldReading[13];

  // Index 1..7 = Sunday..Saturday (0 unused), with the suffixed forms the tokens print.
  std::string weekdayEnglish[8], weekdayEnglishUpper[8];        // Tues
  std::string weekdayEnglishDay[8], weekdayEnglishDayUpper[8];  // Tuesday
  std::string weekdayWide[8], weekdayWideUpper[8];              // Ｔｕｅｓ
  std::string weekdayWideDay[8], weekdayWideDayUpper[8];        // Ｔｕｅｓｄａｙ
  std::string weekdayKanji[8], weekdayReading[8];               // 火, か
  std::string weekdayKanjiYoubi[8], weekdayReadingYoubi[8];     // 火曜日, かようび
  std::string weekdayKatakanaDay[8], weekdayHiraganaDay[8];  // チューズデー, ちゅーずでー

  std::string bellSuffix;       // つ
  std::string leapMark;         // 閏
  std::string commonMark;       // 平
  std::string japaneseDecimal;  // ・
  std::string wideFullStop;     // ．
  std::string wideSpace;        // U+3000
  std::string wideA, wideM, wideP, widea, widem, widep;
  std::string kanjiMae, kanjiAto, kanjiUma;  // 前 後 午
  std::string kanaZen, kanaGo;               // ぜん ご
};

const NameTables& Names();

// ASCII a-z only.
std::string UpperAscii(std::string text);
// a-z and the full-width ａ-ｚ; double-byte characters are stepped over whole.
std::string UpperWithFullWidth(std::string text);

}  // namespace mirovane
