#include "cli/cli.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "alarms/alarm_engine.h"
#include "format/datetime.h"
#include "format/formatter.h"
#include "format/holidays.h"
#include "platform/codec.h"
#include "platform/regional.h"

namespace mirovane::cli {

namespace {

constexpr const char* kUsage =
    "usage: mirovane-cli format [--at WHEN]... [--cp932] [--regional=fixed] [--new-eras] "
    "FORMAT... | "
    "mirovane-cli alarms FILE [--now WHEN] [--startup] [--until WHEN] | "
    "mirovane-cli holidays FROM-YEAR [TO-YEAR] | mirovane-cli --version";

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int ToInt(std::string_view s) {
  int v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return v;
}

std::optional<double> ParseLocalTime(std::string_view t) {
  // YYYY-MM-DDTHH:MM:SS[.mmm]
  if (t.size() != 19 && t.size() != 23) return std::nullopt;
  if (t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' || t[16] != ':')
    return std::nullopt;
  if (t.size() == 23 && t[19] != '.') return std::nullopt;
  const std::string_view parts[] = {t.substr(0, 4),  t.substr(5, 2),  t.substr(8, 2),
                                    t.substr(11, 2), t.substr(14, 2), t.substr(17, 2)};
  for (auto p : parts) {
    if (!AllDigits(p)) return std::nullopt;
  }
  const int year = ToInt(parts[0]), month = ToInt(parts[1]), day = ToInt(parts[2]);
  const int hour = ToInt(parts[3]), minute = ToInt(parts[4]), second = ToInt(parts[5]);
  int ms = 0;
  if (t.size() == 23) {
    if (!AllDigits(t.substr(20))) return std::nullopt;
    ms = ToInt(t.substr(20));
  }
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
      hour > 23 || minute > 59 || second > 59) {
    return std::nullopt;
  }
  const std::int64_t msOfDay = ((hour * 60LL + minute) * 60 + second) * 1000 + ms;
  return JoinDateTime(DayNumberFromCivil(year, month, day), msOfDay);
}

int Usage(std::ostream& err, const std::string& message) {
  err << "mirovane-cli: " << message << '\n';
  return 2;
}

// An option that takes a moment, found at args[i] as "NAME WHEN" or "NAME=WHEN".
struct MomentOption {
  double value = 0;
  std::string error;  // why there is no value: it is missing or not a moment
};

// Reads option `name` at args[i], moving i past a separate value; nothing when args[i] is
// another argument.
std::optional<MomentOption> TakeMoment(const std::vector<std::string>& args, std::size_t& i,
                                       std::string_view name) {
  const std::string& a = args[i];
  std::string value;
  if (a == name) {
    if (i + 1 >= args.size()) return MomentOption{0, std::string(name) + " needs a moment"};
    value = args[++i];
  } else if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 &&
             a[name.size()] == '=') {
    value = a.substr(name.size() + 1);
  } else {
    return std::nullopt;
  }
  const std::optional<double> when = ParseWhen(value);
  if (!when) {
    return MomentOption{
        0, "not a moment: \"" + value + "\" (use a day number or YYYY-MM-DDTHH:MM:SS[.mmm])"};
  }
  return MomentOption{*when, {}};
}

int FormatCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<double> moments;
  std::vector<std::string> formats;
  bool raw = false;
  bool fixed = false;
  bool newEras = false;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.size() < 2 || a.compare(0, 2, "--") != 0) {
      formats.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (const auto at = TakeMoment(args, i, "--at")) {
      if (!at->error.empty()) return Usage(err, at->error);
      moments.push_back(at->value);
    } else if (a == "--cp932") {
      raw = true;
    } else if (a == "--regional=fixed") {
      fixed = true;
    } else if (a == "--new-eras") {
      newEras = true;
    } else {
      return Usage(err, "unknown option " + a);
    }
  }
  if (formats.empty()) return Usage(err, "no FORMAT given");
  // Every format is checked before anything is printed: one that Shift_JIS cannot hold would be
  // formatted as some other text (a "?" or a token letter in place of the character).
  std::vector<std::string> cp932Formats;
  for (const std::string& f : formats) {
    std::optional<std::string> cp932 = Utf8ToCp932Exact(f);
    if (!cp932) {
      return Usage(err, "the format \"" + f +
                            "\" has characters Shift_JIS cannot hold: " + Cp932LacksUtf8(f));
    }
    cp932Formats.push_back(std::move(*cp932));
  }

  DateTimeFormatter formatter(fixed ? FixedJapaneseRegional() : SystemRegional());
  formatter.SetNewEras(newEras);
  if (moments.empty()) moments.push_back(LocalNow());
  for (double m : moments) formatter.SetDateTimeEx(m);

  FormatBuffer buffer;
  for (const std::string& f : cp932Formats) {
    const std::string_view text = formatter.FormatInto(f, buffer);
    if (raw) {
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
    } else {
      out << Cp932ToUtf8(DropIncompleteTrail(text));
    }
    out << '\n';
  }
  out.flush();
  return out ? 0 : 1;
}

// The alarm engine's window system for the command line: messages go to stderr as one UTF-8 line
// each, nothing is opened and the alarm timer does not exist.
class CliAlarmHost final : public AlarmHost {
 public:
  explicit CliAlarmHost(std::ostream& err) : err_(err) {}

  bool ShowMessageWindow(std::string_view text, int kind, bool withConfirm, bool) override {
    std::string line = Cp932ToUtf8(MessageCaption(kind, withConfirm)) + ":";
    for (const std::string& part : SplitAlarmLines(Cp932ToUtf8(DropIncompleteTrail(text)))) {
      line += ' ';
      line += part;
    }
    err_ << line << '\n';
    return false;
  }
  bool FileExists(std::string_view) override { return false; }
  void SoundBeep(unsigned) override {}
  bool ShellOpen(std::string_view, std::string_view) override { return false; }
  void SetAlarmTimer(bool, unsigned) override {}

 private:
  std::ostream& err_;
};

// YYYY-MM-DDTHH:MM:SS.mmm of a date-time value, decoded as SetDateTimeEx decodes it.
std::string MomentText(double value) {
  const DayAndTime split = SplitDateTime(value);
  const CivilDate date = CivilFromDayNumber(split.day);
  const int ms = split.msOfDay;
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", date.year, date.month,
                date.day, ms / 3'600'000, ms / 60'000 % 60, ms / 1000 % 60, ms % 1000);
  return text;
}

const char* StateText(AlarmEntryState state) {
  switch (state) {
    case AlarmEntryState::Active:
      return "active";
    case AlarmEntryState::Paused:
      return "paused";
    case AlarmEntryState::Inactive:
      return "inactive";
    case AlarmEntryState::ParseError:
      return "parse-error";
    case AlarmEntryState::DueError:
      return "due-error";
  }
  return "inactive";
}

std::filesystem::path PathFromUtf8(const std::string& utf8) {
#ifdef _WIN32
  return std::filesystem::path(Utf8ToWide(utf8));
#else
  return std::filesystem::path(utf8);
#endif
}

int AlarmsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::optional<double> now;
  std::optional<double> until;
  std::optional<std::string> file;
  bool startup = false;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.size() < 2 || a.compare(0, 2, "--") != 0) {
      if (file) return Usage(err, "more than one FILE given");
      file = a;
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "--startup") {
      startup = true;
    } else if (const auto nowOption = TakeMoment(args, i, "--now")) {
      if (!nowOption->error.empty()) return Usage(err, nowOption->error);
      if (now) return Usage(err, "--now given twice");
      now = nowOption->value;
    } else if (const auto untilOption = TakeMoment(args, i, "--until")) {
      if (!untilOption->error.empty()) return Usage(err, untilOption->error);
      if (until) return Usage(err, "--until given twice");
      until = untilOption->value;
    } else {
      return Usage(err, "unknown option " + a);
    }
  }
  if (!file) return Usage(err, "no FILE given");

  DateTimeFormatter formatter;
  formatter.SetDateTimeEx(now ? *now : LocalNow());
  CliAlarmHost host(err);
  bool busy = false;
  AlarmEngine engine(host, busy, formatter.Current());
  engine.SetAlarmListPath(PathFromUtf8(*file));
  const bool read = engine.LoadAlarms(startup);
  engine.SelectNextAlarm(true);

  for (std::size_t i = 0; i < engine.Entries().size(); ++i) {
    const AlarmEntryState state = engine.EntryState(i);
    out << (i + 1) << ' ' << StateText(state) << ' '
        << (state == AlarmEntryState::Active ? MomentText(engine.Entries()[i].Due) : "-") << '\n';
  }
  if (engine.NextAlarmIndex() == kNoAlarmIndex) {
    out << "next none\n";
  } else {
    out << "next " << (engine.NextAlarmIndex() + 1) << ' ' << MomentText(engine.NextAlarmDue())
        << '\n';
  }

  if (until) {
    constexpr int kMaxFirings = 10'000;
    for (int fired = 0; fired < kMaxFirings && engine.NextAlarmIndex() != kNoAlarmIndex &&
                        !(engine.NextAlarmDue() > *until);
         ++fired) {
      const std::uint8_t index = engine.NextAlarmIndex();
      formatter.SetDateTimeEx(engine.NextAlarmDue());
      out << "fire " << (index + 1) << ' ' << MomentText(engine.NextAlarmDue()) << '\n';
      engine.ComputeNextDue(index, false);
      engine.SelectNextAlarm(true);
    }
  }
  out.flush();
  if (!out) return 1;
  return read ? 0 : 1;
}

}  // namespace

std::optional<double> ParseWhen(std::string_view text) {
  if (text.find('T') != std::string_view::npos) return ParseLocalTime(text);
  // A decimal day number: optional minus, digits, optional fraction.
  std::string_view digits = text;
  if (!digits.empty() && digits[0] == '-') digits.remove_prefix(1);
  const auto dot = digits.find('.');
  if (!AllDigits(digits.substr(0, dot)) ||
      (dot != std::string_view::npos && !AllDigits(digits.substr(dot + 1)))) {
    return std::nullopt;
  }
  double value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

namespace {

// `holidays FROM-YEAR [TO-YEAR]`: one line per holiday, "YYYY-MM-DD name", in date order.
int HolidaysCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() < 2 || args.size() > 3) return Usage(err, "holidays takes FROM-YEAR [TO-YEAR]");
  int years[2] = {0, 0};
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 4 || !AllDigits(a) || ToInt(a) < kFirstHolidayYear ||
        ToInt(a) > kLastHolidayYear) {
      return Usage(err, "a year from " + std::to_string(kFirstHolidayYear) + " to " +
                            std::to_string(kLastHolidayYear) + " expected, not \"" + a + "\"");
    }
    years[i - 1] = ToInt(a);
  }
  const int from = years[0];
  const int to = args.size() == 3 ? years[1] : from;
  if (to < from) return Usage(err, "TO-YEAR comes before FROM-YEAR");
  char date[16];
  for (int year = from; year <= to; ++year) {
    for (const Holiday& h : HolidaysOfYear(year)) {
      std::snprintf(date, sizeof date, "%04d-%02d-%02d ", h.year, h.month, h.day);
      out << date << h.name << '\n';
    }
  }
  out.flush();
  return out ? 0 : 1;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return Usage(err, std::string("no command; ") + kUsage);
  if (args[0] == "--version" && args.size() == 1) {
    // The project's version, as in the version resource and the about box.
    out << "mirovane-cli " MIROVANE_VERSION "\n";
    out.flush();
    return out ? 0 : 1;
  }
  if (args[0] == "format") return FormatCommand(args, out, err);
  if (args[0] == "alarms") return AlarmsCommand(args, out, err);
  if (args[0] == "holidays") return HolidaysCommand(args, out, err);
  return Usage(err, "unknown command \"" + args[0] + "\"; " + kUsage);
}

}  // namespace mirovane::cli
