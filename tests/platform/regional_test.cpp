#include <gtest/gtest.h>

#include "platform/codec.h"
#include "platform/regional.h"

namespace mirovane {
namespace {

std::string Translate(std::string_view utf8) {
  return Cp932ToUtf8(TranslateLocalePicture(Utf8ToCp932(utf8)));
}

TEST(Regional, FixedJapaneseSet) {
  const RegionalSettings& r = FixedJapaneseRegional();
  EXPECT_EQ(r.DateSeparator, "/");
  EXPECT_EQ(r.TimeSeparator, ":");
  EXPECT_EQ(r.ShortDateFormat, "yyyy/mm/dd");
  EXPECT_EQ(Cp932ToUtf8(r.LongDateFormat), "yyyy'年'm'月'd'日'");
  EXPECT_EQ(r.ShortTimeFormat, "h:nn");
  EXPECT_EQ(r.LongTimeFormat, "h:nn:ss");
  EXPECT_EQ(Cp932ToUtf8(r.AmDesignator), "午前");
  EXPECT_EQ(Cp932ToUtf8(r.PmDesignator), "午後");
}

TEST(Regional, LocalePicturesBecomeFormatterFormats) {
  EXPECT_EQ(Translate("yyyy/MM/dd"), "yyyy/mm/dd");
  EXPECT_EQ(Translate("yyyy'年'M'月'd'日'"), "yyyy'年'm'月'd'日'");
  EXPECT_EQ(Translate("yyyy年M月d日"), "yyyy年m月d日");
  EXPECT_EQ(Translate("H:mm:ss"), "h:nn:ss");
  EXPECT_EQ(Translate("tt h:mm"), "AMPM f:nn");
  EXPECT_EQ(Translate("dddd, MMMM d, yyyy"), "dddd, mmmm d, yyyy");
  EXPECT_EQ(Translate("ggyy/M/d"), "gggyy/m/d");
  // Literal letters and the formatter's own switches are quoted; '' is an apostrophe.
  EXPECT_EQ(Translate("hh 'o''clock' tt"), "ff \"o'clock\" AMPM");
  EXPECT_EQ(Translate("HH%Ex"), "hh'%Ex'");
}

}  // namespace
}  // namespace mirovane
