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

TEST(Codec, DropIncompleteTrail) {
  EXPECT_EQ(DropIncompleteTrail("ab\x95"), "ab");
  EXPECT_EQ(DropIncompleteTrail("ab\x95\x5C"), "ab\x95\x5C");
  // 0x5C after a complete character is a byte of its own and stays.
  EXPECT_EQ(DropIncompleteTrail("\x95\x5C\x5C"), "\x95\x5C\x5C");
  EXPECT_EQ(DropIncompleteTrail(""), "");
}

}  // namespace
}  // namespace mirovane
