#include <gtest/gtest.h>

#include "platform/codec.h"
#include "platform/ini.h"
#include "platform/ini_file.h"

namespace mirovane {
namespace {

// UTF-16 bytes of UTF-8 text (well formed), as an editor stores them.
std::string Utf16(std::string_view utf8, bool bigEndian) {
  std::string out;
  const auto put = [&](char32_t unit) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? b : b & (0x7Fu >> n);
    for (int k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
    i += static_cast<std::size_t>(n);
    if (c < 0x10000) {
      put(c);
    } else {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

TEST(IniDocument, ReadsLikeThePrivateProfileFunctions) {
  const IniDocument doc(
      "; comment\r\n"
      "[MainForm]\r\n"
      "  TopPosition  =  12  \r\n"
      "toppositION=99\r\n"  // the first of equal keys wins
      "Quoted=\"  a b  \"\r\n"
      "Single='x'\r\n"
      "Unbalanced=\"abc\r\n"
      "Empty=\r\n"
      "NoEquals\r\n"
      ";Hidden=1\r\n"
      "\r\n"
      "[ mainform ]\n"  // a second section of the same name is not searched
      "Other=1\n"
      "[DateTime]\r"
      "DateFormat=yy=mm\r\n");
  EXPECT_EQ(doc.Get("MainForm", "TopPosition"), "12");
  EXPECT_EQ(doc.Get("MAINFORM", "topposition"), "12");
  EXPECT_EQ(doc.Get("MainForm", "Quoted"), "  a b  ");
  EXPECT_EQ(doc.Get("MainForm", "Single"), "x");
  EXPECT_EQ(doc.Get("MainForm", "Unbalanced"), "\"abc");
  EXPECT_EQ(doc.Get("MainForm", "Empty"), "");
  EXPECT_EQ(doc.Get("MainForm", "Hidden"), std::nullopt);
  EXPECT_EQ(doc.Get("MainForm", "Other"), std::nullopt);
  EXPECT_EQ(doc.Get("DateTime", "DateFormat"), "yy=mm");
  EXPECT_EQ(doc.Get("Missing", "DateFormat"), std::nullopt);
}

TEST(IniDocument, HeadersBareLinesAndSemicolonsAsTheSystemReadsThem) {
  const IniDocument doc(
      "[First]\r\n"
      "A=1\r\n"
      "Bare\r\n"
      ";Note=text\r\n"
      "[Open\r\n"  // no ']': not a header, so B stays in [First]
      "B=2\r\n"
      "[Broken=3\r\n"  // nor is it an entry
      "[Inner ] x] tail\r\n"
      "K=inner\r\n");
  EXPECT_EQ(doc.Get("First", "A"), "1");
  EXPECT_EQ(doc.Get("First", "Bare"), std::nullopt);  // a line without '=' is no key
  EXPECT_EQ(doc.Get("First", ";Note"), "text");
  EXPECT_EQ(doc.Get("First", "Note"), std::nullopt);
  EXPECT_EQ(doc.Get("First", "B"), "2");
  EXPECT_EQ(doc.Get("Open", "B"), std::nullopt);
  EXPECT_EQ(doc.Get("First", "[Broken"), std::nullopt);
  EXPECT_EQ(doc.Get("Inner ] x", "K"), "inner");  // the name ends at the last ']'
  EXPECT_EQ(doc.Get("Inner", "K"), std::nullopt);

  // Setting a key that only stands as a bare line adds a real entry; the bare line stays.
  IniDocument edited(doc);
  edited.Set("First", "Bare", "v");
  EXPECT_EQ(edited.Get("First", "Bare"), "v");
  EXPECT_NE(edited.Text().find("Bare\r\n"), std::string::npos);
}

TEST(IniDocument, CaseFoldingStepsOverDoubleByteCharacters) {
  // 0x83 0x61 (a katakana) has an ASCII 'a' as its second byte; it must not equal 0x83 0x41.
  const IniDocument doc("[S]\r\n\x83\x61=1\r\n");
  EXPECT_EQ(doc.Get("S", "\x83\x61"), "1");
  EXPECT_EQ(doc.Get("S", "\x83\x41"), std::nullopt);
  EXPECT_TRUE(EqualsIgnoringAsciiCase("DateFormat", "dateformat"));
}

// After edits the document answers every question as its saved text answers when read anew:
// keys added before trailing comments and ahead of later sections, a key that only a later,
// equal section holds, a key rewritten in place, an entry added ahead of one of its own key, a
// section name that can equal nothing, and a key whose entry line reads as a section header.
TEST(IniDocument, EditedDocumentReadsLikeItsSavedText) {
  IniDocument doc(
      "[A]\r\n"
      "  K = 1\r\n"
      "\r\n"
      ";Note=before B\r\n"
      "[B]\r\n"
      "X=b\r\n"
      "[a]\r\n"
      "Late=second A\r\n");
  const auto readsLikeItsText = [](const IniDocument& edited) {
    const IniDocument reread(edited.Text());
    for (const char* section : {"A", "B", "Cut", "a", "\x83"}) {
      for (const char* key : {"K", "New", "Late", ";Note", "X", "Y", "X2", "W", "[Cut]", "Z"}) {
        EXPECT_EQ(edited.Get(section, key), reread.Get(section, key)) << section << "/" << key;
      }
    }
  };
  doc.Set("a", "New", "n");         // before A's blank line and comment, not in the second [a]
  doc.Set("A", "Late", "first A");  // the second [a] is never searched: A gets its own Late
  doc.Set("A", "k", "2");           // rewritten in place, in the file's spelling
  doc.Set("A", ";Note=x", "v");     // the line ";Note=x=v" is the first entry of ";Note" now
  doc.Set("B", "Y", "y");
  doc.Set("\x83", "Z", "z");  // half a character: a new section each time
  doc.Set("\x83", "Z", "z");
  readsLikeItsText(doc);
  EXPECT_EQ(doc.Get("A", ";note"), "x=v");

  doc.Set("B", "[Cut]", "c");  // "[Cut]=c" reads as a header: B ends before it
  doc.Set("B", "X2", "x");
  doc.Set("Cut", "W", "w");
  readsLikeItsText(doc);
  EXPECT_EQ(doc.Get("B", "X2"), "x");
  EXPECT_EQ(doc.Get("Cut", "W"), "w");
  EXPECT_EQ(doc.Text(),
            "[A]\r\nK=2\r\nNew=n\r\nLate=first A\r\n;Note=x=v\r\n\r\n;Note=before B\r\n"
            "[B]\r\nX=b\r\nY=y\r\nX2=x\r\n[Cut]=c\r\nW=w\r\n[a]\r\nLate=second A\r\n"
            "\r\n[\x83]\r\nZ=z\r\n\r\n[\x83]\r\nZ=z\r\n");
}

// Files saved with a byte-order mark, as editors write them, read in the program's cp932 (the
// first section too) and go back in their own encoding: byte for byte when nothing changed, even
// a line that cp932 cannot hold; a changed value in the file's encoding.
TEST(IniFile, ByteOrderMarkedFilesKeepTheirEncoding) {
  const std::string before =
      "[日本語]\r\n"
      "表示=ソ能\r\n"
      "; 🙂 メモ ¥\r\n"
      "[Calendar]\r\n"
      "FontName=ＭＳ Ｐゴシック\r\n";
  const std::string after =
      "[日本語]\r\n"
      "表示=新しい値\r\n"
      "; 🙂 メモ ¥\r\n"
      "[Calendar]\r\n"
      "FontName=ＭＳ Ｐゴシック\r\n";
  struct Case {
    IniEncoding encoding;
    std::string (*bytes)(const std::string& utf8);
  };
  const Case cases[] = {
      {IniEncoding::Utf8, [](const std::string& t) { return "\xEF\xBB\xBF" + t; }},
      {IniEncoding::Utf16Le, [](const std::string& t) { return "\xFF\xFE" + Utf16(t, false); }},
      {IniEncoding::Utf16Be, [](const std::string& t) { return "\xFE\xFF" + Utf16(t, true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.encoding));
    const std::string file = c.bytes(before);
    const DecodedIniFile decoded = DecodeIniFile(file);
    EXPECT_EQ(decoded.format.encoding, c.encoding);
    IniDocument doc(decoded.text);
    EXPECT_EQ(doc.Get(Utf8ToCp932("日本語"), Utf8ToCp932("表示")), Utf8ToCp932("ソ能"));
    EXPECT_EQ(doc.Get("calendar", "FontName"), Utf8ToCp932("ＭＳ Ｐゴシック"));
    EXPECT_EQ(EncodeIniFile(doc.Text(), decoded.format), file);

    doc.Set(Utf8ToCp932("日本語"), Utf8ToCp932("表示"), Utf8ToCp932("新しい値"));
    EXPECT_EQ(EncodeIniFile(doc.Text(), decoded.format), c.bytes(after));
  }

  // Without a mark the file is cp932 as it stands, whatever its bytes.
  const std::string plain = Utf8ToCp932("[日本語]\r\n表示=ソ能\r\n") + "\xEF\xBB\xBF\x83\r\n";
  const DecodedIniFile decoded = DecodeIniFile(plain);
  EXPECT_EQ(decoded.format.encoding, IniEncoding::Cp932);
  EXPECT_EQ(decoded.text, plain);
  EXPECT_EQ(EncodeIniFile(plain, decoded.format), plain);
}

TEST(IniDocument, LongValuesAreCutAt2047Bytes) {
  std::string value(3000, 'v');
  IniDocument doc("[S]\r\nK=" + value + "\r\n");
  EXPECT_EQ(doc.Get("S", "K")->size(), 2047u);
  // A double-byte character across the limit is left out whole.
  value = std::string(2046, 'v') + "\x95\x5C" + "tail";
  doc = IniDocument("[S]\r\nK=" + value + "\r\n");
  EXPECT_EQ(doc.Get("S", "K"), std::string(2046, 'v'));
}

TEST(IniDocument, SettingKeepsEverythingElse) {
  IniDocument doc(
      "; my settings\r\n"
      "[MainForm]\r\n"
      "TopPosition=1\r\n"
      "Custom=keep me\r\n"
      "\r\n"
      "; before calendar\r\n"
      "[Calendar]\r\n"
      "HideCalendar=0\n");
  doc.Set("mainform", "topposition", "5");
  doc.Set("MainForm", "LeftPosition", "7");
  doc.Set("DateTime", "DateFormat", "\"  yy  \"");
  EXPECT_EQ(doc.Text(),
            "; my settings\r\n"
            "[MainForm]\r\n"
            "TopPosition=5\r\n"
            "Custom=keep me\r\n"
            "LeftPosition=7\r\n"
            "\r\n"
            "; before calendar\r\n"
            "[Calendar]\r\n"
            "HideCalendar=0\r\n"
            "\r\n"
            "[DateTime]\r\n"
            "DateFormat=\"  yy  \"\r\n");
  EXPECT_EQ(doc.Get("DateTime", "DateFormat"), "  yy  ");
  EXPECT_EQ(IniDocument().Text(), "");
}

}  // namespace
}  // namespace mirovane
