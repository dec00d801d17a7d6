// The extended date/time formatter: renders a format string (cp932) from the current date-time.
//
// There is no program-wide current date-time. Each formatter holds its own record, and whoever
// needs a "now" owns one or is handed one, read-only:
// - the main window owns the displayed record (TCalendarDialog::Display); only its display
//   refresh, and the return to now at the end of a layout, move it;
// - the alarm engine reads, as now, the record its owner hands it at construction: the main
//   window's Display, the CLI's own simulated clock, a test's fake clock; it never sets it;
// - the layout measures the labels on a copy set to the sample moment;
// - every format preview of the options dialog renders on a copy of the main window's Display;
// - the CLI and the tests keep formatters of their own.
// So nothing changes another part's now as a side effect of measuring or previewing.
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

}  // namespace mirovane
