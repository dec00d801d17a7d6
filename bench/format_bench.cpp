// Cost of decoding and rendering, against glibc strftime (and ICU's Japanese-calendar format)
// measured in the same binary.
#include <benchmark/benchmark.h>

#include <ctime>

#include "format/formatter.h"
#include "platform/codec.h"

#ifdef MIROVANE_BENCH_ICU
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>
#endif

namespace {

using mirovane::DateTimeFormatter;
using mirovane::FormatBuffer;

constexpr double kSample = 46364.71191114583;  // 2026-12-08 17:05:09.123

void BM_SetDateTimeEx_SameValue(benchmark::State& state) {
  DateTimeFormatter f;
  f.SetDateTimeEx(kSample);
  double v = kSample;
  for (auto _ : state) {
    benchmark::DoNotOptimize(v);
    benchmark::DoNotOptimize(f.SetDateTimeEx(v));
  }
}
BENCHMARK(BM_SetDateTimeEx_SameValue);

void BM_SetDateTimeEx_NewMillisecond(benchmark::State& state) {
  DateTimeFormatter f;
  f.SetDateTimeEx(kSample);
  const double step = 1.0 / 86'400'000.0;
  double v = kSample;
  int i = 0;
  for (auto _ : state) {
    v = kSample + step * (++i & 1023);  // stays within the day
    benchmark::DoNotOptimize(f.SetDateTimeEx(v));
  }
}
BENCHMARK(BM_SetDateTimeEx_NewMillisecond);

void BM_SetDateTimeEx_NewDay(benchmark::State& state) {
  DateTimeFormatter f;
  int i = 0;
  for (auto _ : state) {
    const double v = kSample + (++i & 1023);
    benchmark::DoNotOptimize(f.SetDateTimeEx(v));
  }
}
BENCHMARK(BM_SetDateTimeEx_NewDay);

void Render(benchmark::State& state, const char* utf8Format) {
  DateTimeFormatter f;
  f.SetDateTimeEx(kSample);
  const std::string format = mirovane::Utf8ToCp932(utf8Format);
  FormatBuffer out;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f.FormatInto(format, out));
    benchmark::ClobberMemory();
  }
}

void BM_Format_DateDefault(benchmark::State& state) { Render(state, "yyyy/mm/dd'('aaa')'"); }
BENCHMARK(BM_Format_DateDefault);
void BM_Format_TimeDefault(benchmark::State& state) { Render(state, "hh:nn:ss"); }
BENCHMARK(BM_Format_TimeDefault);
void BM_Format_JapaneseEra(benchmark::State& state) {
  Render(state, "\\ggge'年'm'月'd'日('aaa')'");
}
BENCHMARK(BM_Format_JapaneseEra);
void BM_Format_MoonAge(benchmark::State& state) {
  Render(state, "%yyyy\"／\"mm\"／\"dd\"（\"DDD\"）月齢\"r");
}
BENCHMARK(BM_Format_MoonAge);

// One display refresh: a new moment, then the default date and time formats rendered one after
// the other into the same buffer.
void BM_Refresh_DateAndTime(benchmark::State& state) {
  DateTimeFormatter f;
  const std::string date = mirovane::Utf8ToCp932("yyyy/mm/dd'('aaa')'");
  const std::string time = "hh:nn:ss";
  const double step = 1.0 / 86'400'000.0;
  FormatBuffer out;
  int i = 0;
  for (auto _ : state) {
    f.SetDateTimeEx(kSample + step * (++i & 1023));
    benchmark::DoNotOptimize(f.FormatInto(date, out));
    benchmark::ClobberMemory();
    benchmark::DoNotOptimize(f.FormatInto(time, out));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Refresh_DateAndTime);

// The reference: strftime from an already filled struct tm.
void Strftime(benchmark::State& state, const char* format) {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 8;
  t.tm_wday = 2;
  t.tm_hour = 17;
  t.tm_min = 5;
  t.tm_sec = 9;
  char out[256];
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::strftime(out, sizeof out, format, &t));
    benchmark::ClobberMemory();
  }
}
void BM_Strftime_Date(benchmark::State& state) { Strftime(state, "%Y/%m/%d(%a)"); }
BENCHMARK(BM_Strftime_Date);
void BM_Strftime_Time(benchmark::State& state) { Strftime(state, "%H:%M:%S"); }
BENCHMARK(BM_Strftime_Time);

#ifdef MIROVANE_BENCH_ICU
void BM_Icu_JapaneseEra(benchmark::State& state) {
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale locale("ja_JP@calendar=japanese");
  icu::SimpleDateFormat format(icu::UnicodeString::fromUTF8("GGGGy年M月d日(E)"), locale, status);
  if (U_FAILURE(status)) {
    state.SkipWithError("ICU format unavailable");
    return;
  }
  // ICU's UDate counts milliseconds since 1970-01-01 UTC; format in UTC so the moment matches.
  format.adoptTimeZone(icu::TimeZone::createTimeZone("UTC"));
  const double udate = (kSample - 25569.0) * 86'400'000.0;
  icu::UnicodeString out;
  for (auto _ : state) {
    out.remove();
    format.format(udate, out);
    benchmark::DoNotOptimize(out.getBuffer());
  }
  std::string utf8;
  out.toUTF8String(utf8);
  state.SetLabel(utf8);
}
BENCHMARK(BM_Icu_JapaneseEra);
#endif

}  // namespace

BENCHMARK_MAIN();
