#include <gtest/gtest.h>

#include "platform/codec.h"

namespace mirovane {
namespace {

TEST(Codec, Cp932RoundTripKeepsTrailBackslashes) {
  const std::string sj = Utf8ToCp932("表ソ能ｱ年A");
  EXPECT_EQ(sj, std::string("\x95\x5C\x83\x5C\x94\x5C\xB1\x94\x4E"
                            "A"));
  EXPECT_EQ(Cp932ToUtf8(sj), "表ソ能ｱ年A");
}

TEST(Codec, UnmappableAndInvalidInputIsReplaced) {
  // Windows replaces each UTF-16 half of a character outside the BMP; the result is still only
  // question marks between the neighbours.
  const std::string emoji = Utf8ToCp932("a😀b");
  EXPECT_TRUE(emoji == "a?b" || emoji == "a??b") << emoji;
  EXPECT_EQ(Utf8ToCp932(""), "");
#ifndef _WIN32
  EXPECT_EQ(Utf8ToCp932("a\xFF"
                        "b"),
            "a?b");
  EXPECT_EQ(Cp932ToUtf8("a\x81"), "a\xEF\xBF\xBD");
#endif
  // A cut character never swallows the text before it.
  EXPECT_EQ(Cp932ToUtf8("a\x81").substr(0, 1), "a");
}

// Text the user gives is stored or run exactly or not at all: no character may turn into a
// look-alike (the system's best-fit table makes "Jürgen" a "Jurgen" and "¥" a path separator).
TEST(Codec, ExactConversionRefusesWhatCp932Lacks) {
  EXPECT_EQ(Utf8ToCp932Exact("表ソ能ｱ～①∥￢ A\\"), Utf8ToCp932("表ソ能ｱ～①∥￢ A\\"));
  EXPECT_EQ(Utf8ToCp932Exact(""), std::string());
  for (const char* lacking : {"Jürgen", "¥", "¦", "ß", "〜", "‖", "¬", "a😀", "a\xFF"}) {
    EXPECT_FALSE(Utf8ToCp932Exact(lacking).has_value()) << lacking;
  }
  EXPECT_EQ(Cp932LacksUtf8("Jürgen ¥ü¦ 表 ß😀"), "ü¥¦ß😀");
  EXPECT_EQ(Cp932LacksUtf8("表ソ能"), "");
  // The plain conversion marks what is missing and never substitutes a look-alike.
  EXPECT_EQ(Utf8ToCp932("Jürgen"), "J?rgen");
  EXPECT_EQ(Utf8ToCp932("C:\\a¥b¦c"), "C:\\a?b?c");
#ifdef _WIN32
  EXPECT_FALSE(WideToCp932Exact(L"C:\\test\\J\u00fcrgen\\prog.exe").has_value());
  EXPECT_EQ(WideToCp932Exact(L"C:\\test\\prog.exe"), "C:\\test\\prog.exe");
  EXPECT_EQ(Cp932Lacks(L"\u00fc\u00df\u8868\u00fc"), L"\u00fc\u00df");
#endif
}

TEST(Codec, DropIncompleteTrail) {
  EXPECT_EQ(DropIncompleteTrail("ab\x95"), "ab");
  EXPECT_EQ(DropIncompleteTrail("ab\x95\x5C"), "ab\x95\x5C");
  // 0x5C after a complete character is a byte of its own and stays.
  EXPECT_EQ(DropIncompleteTrail("\x95\x5C\x5C"), "\x95\x5C\x5C");
  EXPECT_EQ(DropIncompleteTrail(""), "");
}

}  // namespace
}  // namespace mirovane
