#include <gtest/gtest.h>

#include "platform/ini.h"

namespace mirovane {
namespace {

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
