// The extended date/time formatter: renders a format string (cp932) from the current date-time.
#pragma once

#include <string>
#include <string_view>

#include "format/datetime.h"
#include "platform/regional.h"

namespace mirovane {

// Output of one rendering: at most 256 bytes, text beyond that is dropped.
struct FormatBuffer {
  static constexpr int kCapacity = 256;
  char bytes[kCapacity];
  int length = 0;
  std::string_view view() const noexcept { return {bytes, static_cast<std::size_t>(length)}; }
};

class DateTimeFormatter {
 public:
  DateTimeFormatter();  // the initial record (value 0.0) with the fixed Japanese regional settings
  explicit DateTimeFormatter(RegionalSettings regional);

  // Makes `value` the current date-time; true when anything a format can show has changed.
  bool SetDateTimeEx(double value) noexcept { return current_.Set(value); }
  const DateTimeRecord& Current() const noexcept { return current_; }

  void SetRegional(RegionalSettings regional) { regional_ = std::move(regional); }
  const RegionalSettings& Regional() const noexcept { return regional_; }

  // The era after the fourth (from 2019-05-01) in every era token. Off by default: then every
  // date from 1989-01-08 on is in the fourth era.
  void SetNewEras(bool on) noexcept { newEras_ = on; }
  bool NewEras() const noexcept { return newEras_; }

  std::string FormatDateTimeEx(std::string_view format) const;
  // The same without allocating; the view points into `out`.
  std::string_view FormatInto(std::string_view format, FormatBuffer& out) const noexcept;

 private:
  DateTimeRecord current_;
  RegionalSettings regional_;
  bool newEras_ = false;
};

// The program's one current date-time and the formatter over it (user-interface thread only).
DateTimeFormatter& TheFormatter();
inline bool SetDateTimeEx(double value) noexcept { return TheFormatter().SetDateTimeEx(value); }
inline std::string FormatDateTimeEx(std::string_view format) {
  return TheFormatter().FormatDateTimeEx(format);
}
inline const DateTimeRecord& CurrentDateTime() noexcept { return TheFormatter().Current(); }

}  // namespace mirovane
