#include <gtest/gtest.h>

#include "platform/codec.h"

namespace mirovane {
namespace {

TEST(Codec, Cp932RoundTripKeepsTrailBackslashes) {
  const std::string sj = Utf8ToCp932("表ソ能ｱ年A");
  EXPECT_EQ(sj, std::string("\x95\x5C\x83\x5C\x94\x5C\xB1\x94\x4E" "A"));
  EXPECT_EQ(Cp932ToUtf8(sj), "表ソ能ｱ年A");
}

TEST(Codec, UnmappableAndInvalidInputIsReplaced) {
  EXPECT_EQ(Utf8ToCp932("a😀b"), "a?b");
  EXPECT_EQ(Utf8ToCp932("a\xFF" "b"), "a?b");
  EXPECT_EQ(Cp932ToUtf8("a\x81"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToCp932(""), "");
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
