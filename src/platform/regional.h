// The eight regional settings the formatter reads. All texts are cp932 and the four formats are
// written in the formatter's own language (m is the month, n the minute, AMPM the designator).
#pragma once

#include <string>
#include <string_view>

namespace mirovane {

struct RegionalSettings {
  std::string DateSeparator;  // one character, empty for none
  std::string TimeSeparator;
  std::string ShortDateFormat;
  std::string LongDateFormat;
  std::string ShortTimeFormat;
  std::string LongTimeFormat;
  std::string AmDesignator;
  std::string PmDesignator;
};

// "/", ":", "yyyy/mm/dd", "yyyy'年'm'月'd'日'", "h:nn", "h:nn:ss", "午前", "午後".
const RegionalSettings& FixedJapaneseRegional();

// The user's settings on Windows, the fixed Japanese set elsewhere.
RegionalSettings SystemRegional();

// Translates a date or time picture of the system's locale (d M y g H h m s t and quoted text)
// into the formatter's language. Input and output are cp932.
std::string TranslateLocalePicture(std::string_view picture);

}  // namespace mirovane
