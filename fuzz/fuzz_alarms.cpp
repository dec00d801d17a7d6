// Arbitrary alarm lines at arbitrary moments: parsing, the due computation at load and after a
// firing, the choice of the pending alarm and the actions never misbehave, and a repeating alarm
// recomputed after it fired is never already past (it would fire again at once, for ever).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "alarms/alarm_engine.h"
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

class QuietHost final : public mirovane::AlarmHost {
 public:
  bool ShowMessageWindow(std::string_view text, int kind, bool, bool) override {
    if (kind < 0 || kind > 4) __builtin_trap();
    bytes += text.size();
    return true;
  }
  bool FileExists(std::string_view path) override { return path.size() % 2 == 0; }
  void SoundBeep(unsigned) override {}
  bool ShellOpen(std::string_view file, std::string_view) override {
    if (file.size() < 2 || file.front() != '"' || file.back() != '"') __builtin_trap();
    return true;
  }
  void SetAlarmTimer(bool enabled, unsigned intervalMs) override {
    if (enabled && intervalMs < 500) __builtin_trap();
  }
  std::size_t bytes = 0;
};

// Moments where due values compare as the calendar runs (after 1899 and well before 9999).
bool Ordinary(double v) { return v >= 1.0 && v <= 2'958'000.0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mirovane;
  const double loadAt = TakeDouble(data, size);
  const double fireAt = TakeDouble(data, size);
  const bool startup = size > 0 && (data[0] & 1);

  const std::vector<std::string> lines =
      SplitAlarmLines(std::string_view(reinterpret_cast<const char*>(data), size));

  DateTimeFormatter clock;
  clock.SetDateTimeEx(loadAt);
  QuietHost host;
  bool busy = false;
  AlarmEngine engine(host, busy, clock.Current());
  engine.SetCheckInterval(static_cast<int>(size % 7));
  engine.LoadAlarmLines(lines, startup);
  engine.SelectNextAlarm(true);
  if (engine.Entries().size() > kMaxAlarmEntries) __builtin_trap();
  const std::uint8_t next = engine.NextAlarmIndex();
  if (next != kNoAlarmIndex &&
      (next >= engine.Entries().size() || !engine.Entries()[next].Active)) {
    __builtin_trap();
  }

  // Every entry fires at the second moment and is computed anew, as the tick does.
  clock.SetDateTimeEx(fireAt);
  for (std::size_t i = 0; i < engine.Entries().size(); ++i) {
    if (!engine.Entries()[i].Active) continue;
    engine.ComputeNextDue(i, false);
    const AlarmEntry& e = engine.Entries()[i];
    if (!e.Active) continue;
    if (!std::isfinite(e.Due)) __builtin_trap();
    if (Ordinary(loadAt) && Ordinary(fireAt) && engine.IsPast(e.Due, true)) __builtin_trap();
  }
  engine.SelectNextAlarm(true);

  for (const std::string& line : lines) {
    // Each line once more from an exact-size block, so ASan sees any read past its end.
    std::vector<char> exact(line.begin(), line.end());
    const std::string_view view(exact.data(), exact.size());
    AlarmEntry entry;
    ParseAlarmLine(view, entry);
    PerformAlarmLine(view, host);
  }
  return 0;
}
