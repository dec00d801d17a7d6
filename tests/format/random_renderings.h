// Pseudo-random moments and formats, rendered one after another and folded into one hash, to
// compare the formatter's whole output with that of an earlier build of it. The stream is the raw
// output of std::mt19937_64 (the same on every standard library; no distributions are used), so
// the same seed gives the same moments and formats everywhere.
#pragma once

#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "format/datetime.h"
#include "format/formatter.h"

namespace mirovane::test {

// FNV-1a (64 bits) over every rendering's bytes and length. The formatter keeps its own numeral
// modes per rendering, but the current date-time carries over from one moment to the next, so
// both the change-of-day and the time-only decodes are exercised.
inline std::uint64_t RandomRenderingsHash(DateTimeFormatter& f, int count, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  const auto below = [&random](std::uint64_t n) { return static_cast<std::int64_t>(random() % n); };

  // Days around the first days of the eras (the four and the one after them), where era names
  // and years change.
  static constexpr std::int64_t kEraDays[] = {-11435, 4595, 9856, 32516, 43586};
  static constexpr const char* kTokens = "ACDEFGHJKLMNPRSTUVWYZacdefghjklmnprstuvwyzEeGgEeGg";
  static constexpr const char* kPieces[] = {
      "/",        ":",         " ",    "'x'",   "\"\x94\x4e\"",  // 年 quoted
      "\x94\x4e", "%",         "\\",   "am/pm", "AM/PM",
      "a/p",      "a.m./p.m.", "ampm", "'",     "\x81",  // a quote and a lead byte left open
  };

  std::uint64_t hash = 14695981039346656037ull;
  const auto mix = [&hash](unsigned char b) {
    hash ^= b;
    hash *= 1099511628211ull;
  };
  FormatBuffer out;
  std::string format;
  for (int i = 0; i < count; ++i) {
    const std::int64_t kind = below(20);
    const std::int64_t ms = below(4) == 0 ? 0 : below(kMsPerDay);
    double value;
    if (kind < 8) {
      value = JoinDateTime(kEraDays[below(5)] + below(7) - 3, ms);
    } else if (kind < 14) {
      value = JoinDateTime(kMinDayNumber + below(kMaxDayNumber - kMinDayNumber + 1), ms);
    } else if (kind < 18) {
      value = JoinDateTime(31'000 + below(18'000), ms);  // 1984 to 2033
    } else {
      static constexpr double kOdd[] = {0.0,
                                        -0.25,
                                        -1.25,
                                        -11435.25,
                                        43585.99999999999,
                                        2958465.99999,
                                        1e300,
                                        -1e300,
                                        std::numeric_limits<double>::infinity(),
                                        std::numeric_limits<double>::quiet_NaN()};
      value = kOdd[below(10)];
    }
    f.SetDateTimeEx(value);

    format.clear();
    for (std::int64_t n = 1 + below(10); n > 0; --n) {
      if (below(3) == 0) {
        format += kPieces[below(15)];
      } else {
        format.append(static_cast<std::size_t>(1 + below(6)), kTokens[below(50)]);
      }
    }
    const std::string_view text = f.FormatInto(format, out);
    for (const char c : text) mix(static_cast<unsigned char>(c));
    mix(static_cast<unsigned char>(text.size()));
  }
  return hash;
}

}  // namespace mirovane::test
