// Arbitrary bytes as a format, arbitrary date-time values and regional formats: the output never
// exceeds 256 bytes and nothing reads outside its input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "format/formatter.h"

namespace {

double TakeDouble(const std::uint8_t*& data, std::size_t& size) {
  double v = 0;
  if (size >= sizeof v) {
    std::memcpy(&v, data, sizeof v);
    data += sizeof v;
    size -= sizeof v;
  }
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mirovane::DateTimeFormatter formatter;
  // Two moments, so that both the change-of-day and the time-only paths run.
  formatter.SetDateTimeEx(TakeDouble(data, size));
  formatter.SetDateTimeEx(TakeDouble(data, size));

  // The first byte chooses whether the rest also becomes a regional short date format, and
  // whether the era after the fourth is shown.
  if (size > 0) formatter.SetNewEras((data[0] & 2) != 0);
  if (size > 0 && (data[0] & 1)) {
    mirovane::RegionalSettings r = formatter.Regional();
    const std::size_t half = size / 2;
    r.ShortDateFormat.assign(reinterpret_cast<const char*>(data), half);
    r.LongTimeFormat.assign(reinterpret_cast<const char*>(data + half), size - half);
    formatter.SetRegional(r);
  }

  // Copy into an exact-size heap block so ASan sees any read past the end.
  char* format = new char[size];
  std::memcpy(format, data, size);
  mirovane::FormatBuffer out;
  const std::string_view text = formatter.FormatInto(std::string_view(format, size), out);
  if (text.size() > 256 || out.length < 0 || out.length > 256) __builtin_trap();
  delete[] format;
  return 0;
}
