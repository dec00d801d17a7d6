#include <windows.h>

#include "platform/codec.h"
#include "platform/regional.h"

namespace mirovane {

namespace {

bool ReadLocale(LCTYPE type, std::string& out) {
  wchar_t buf[128];
  const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buf, 128);
  if (n <= 0) return false;
  out = WideToCp932(std::wstring_view(buf, static_cast<std::size_t>(n - 1)));
  return true;
}

// Separators are one character: the first one of the locale's text, or none.
std::string FirstCharacter(const std::string& text) {
  if (text.empty()) return {};
  const std::size_t len =
      IsCp932LeadByte(static_cast<unsigned char>(text[0])) && text.size() > 1 ? 2 : 1;
  return text.substr(0, len);
}

}  // namespace

RegionalSettings SystemRegional() {
  RegionalSettings r = FixedJapaneseRegional();
  std::string value;
  if (ReadLocale(LOCALE_SDATE, value)) r.DateSeparator = FirstCharacter(value);
  if (ReadLocale(LOCALE_STIME, value)) r.TimeSeparator = FirstCharacter(value);
  if (ReadLocale(LOCALE_SSHORTDATE, value)) r.ShortDateFormat = TranslateLocalePicture(value);
  if (ReadLocale(LOCALE_SLONGDATE, value)) r.LongDateFormat = TranslateLocalePicture(value);
  if (ReadLocale(LOCALE_SSHORTTIME, value)) r.ShortTimeFormat = TranslateLocalePicture(value);
  if (ReadLocale(LOCALE_STIMEFORMAT, value)) r.LongTimeFormat = TranslateLocalePicture(value);
  if (ReadLocale(LOCALE_S1159, value)) r.AmDesignator = value;
  if (ReadLocale(LOCALE_S2359, value)) r.PmDesignator = value;
  return r;
}

}  // namespace mirovane
