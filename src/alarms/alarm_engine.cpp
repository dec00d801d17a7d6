#include "alarms/alarm_engine.h"

#include <algorithm>
#include <cmath>

#include "alarms/busy_scope.h"
#include "platform/codec.h"

namespace mirovane {

namespace {

constexpr std::int64_t kMsPerMinute = 60'000;
constexpr std::int64_t kMsPerHour = 3'600'000;

// A moment as whole days and milliseconds of the day (0..86399999). All engine arithmetic is done
// on this form and turned into a double in one place, so equal moments are equal doubles.
struct Moment {
  std::int64_t day = 0;
  std::int64_t ms = 0;
};

Moment Decode(double value) noexcept {
  const DayAndTime s = SplitDateTime(value);
  return {s.day, s.msOfDay};
}

double Encode(Moment m) noexcept { return JoinDateTime(m.day, m.ms); }

void AddMs(Moment& m, std::int64_t delta) noexcept {
  std::int64_t total = m.ms + delta;
  std::int64_t days = total / kMsPerDay;
  total %= kMsPerDay;
  if (total < 0) {
    total += kMsPerDay;
    --days;
  }
  m.day += days;
  m.ms = total;
}

int HourOf(Moment m) noexcept { return static_cast<int>(m.ms / kMsPerHour); }

// The day number of 9999-12-31, the last day a due moment may fall on.
constexpr std::int64_t kLastDueDay = 2'958'465;

// Clamped date: (y, m, d) on x's time of day, the day limited to the month's length (or forced to
// it). A year beyond 9999 gives a day after kLastDueDay, which the later steps keep beyond it and
// ComputeNextDue turns into the no-alarm moment; a date that cannot exist fails.
bool ClampedDate(int y, int m, int d, bool forceLastDay, Moment x, Moment& out) noexcept {
  if (y > 9999) {
    out = {kLastDueDay + 1, x.ms};
    return true;
  }
  if (y < 1 || m < 1 || m > 12) return false;
  const int dim = DaysInMonth(y, m);
  const int day = (d > dim || forceLastDay) ? dim : d;
  if (day < 1) return false;
  out = {DayNumberFromCivil(y, m, day), x.ms};
  return true;
}

bool NextYearly(bool leapOnly, int m, int d, Moment x, Moment& out) noexcept {
  const CivilDate date = CivilFromDayNumber(x.day);
  int y = date.year;
  if (m < date.month || (m == date.month && d < date.day)) ++y;
  if (leapOnly) {
    while (!IsGregorianLeapYear(y)) ++y;
  }
  return ClampedDate(y, m, d, false, x, out);
}

bool NextMonthly(bool lastDay, int d, Moment x, Moment& out) noexcept {
  const CivilDate date = CivilFromDayNumber(x.day);
  int y = date.year;
  int m = date.month;
  if (std::min(d, DaysInMonth(y, m)) < date.day) {
    if (++m > 12) {
      m = 1;
      ++y;
    }
  }
  return ClampedDate(y, m, d, lastDay, x, out);
}

Moment NextWeekday(int code, Moment x) noexcept {
  const int w = DayOfWeekFromDayNumber(x.day) - 1;  // 0 = Sunday .. 6 = Saturday
  int add = 0;
  if (code >= 0 && code <= 6) {
    if (w > code) add = 7 - (w - code);
    if (w < code) add = code - w;
  } else if (code == 7) {
    if (w == 0) add = 1;
    if (w == 6) add = 2;
  } else if (code == 8) {
    if (w >= 1 && w <= 5) add = 6 - w;
  }
  x.day += add;
  return x;
}

// Moves x forward by whole hours into the band; minutes and seconds stay.
Moment ApplyBand(int band, Moment x) noexcept {
  const int h = HourOf(x);
  int add = 0;
  switch (band) {
    case kBandMorning:
      if (h >= 12) add = 24 - h;
      break;
    case kBandAfternoon:
      if (h < 12) add = 12 - h;
      break;
    case kBandDaytime:
      if (h >= 18) add = 30 - h;
      if (h < 6) add = 6 - h;
      break;
    case kBandNight:
      if (h >= 6 && h < 18) add = 18 - h;
      break;
    default:
      break;
  }
  AddMs(x, add * kMsPerHour);
  return x;
}

bool HourOutsideBand(int band, int h) noexcept {
  switch (band) {
    case kBandMorning:
      return h >= 12;
    case kBandAfternoon:
      return h < 12;
    case kBandDaytime:
      return h >= 18 || h < 6;
    case kBandNight:
      return h >= 6 && h < 18;
    default:
      return false;
  }
}

bool ValidDate(int y, int m, int d) noexcept {
  return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

// The first day from `from`'s day that a repeating date rule (yearly, monthly, daily, weekday)
// allows, at `from`'s time of day. False when the rule names a date that cannot exist.
bool NextRuleDay(const AlarmEntry& e, Moment from, Moment& due) noexcept {
  if (from.day > kLastDueDay) {
    // Already past 9999 (a date is not decoded there): it stays past, so it never fires.
    due = from;
    return true;
  }
  switch (e.DateKind) {
    case kDateYearly:
      return NextYearly(e.DayFlag, e.Month, e.Day, from, due);
    case kDateMonthly:
      return NextMonthly(e.DayFlag, e.Day, from, due);
    case kDateWeekday:
      due = NextWeekday(e.Day, from);
      return true;
    default:  // daily
      due = from;
      return true;
  }
}

// Date step: the entry's first day from now, at now's time of day. A specific date that has
// passed and an unknown date kind make the entry inactive. False when the date cannot exist.
bool DateStep(const AlarmEngine& engine, AlarmEntry& e, Moment now, Moment& due) noexcept {
  switch (e.DateKind) {
    case kDateSpecific:
      if (!ValidDate(e.Year, e.Month, e.Day)) return false;
      due = {DayNumberFromCivil(e.Year, e.Month, e.Day), now.ms};
      e.Active = !engine.IsPast(Encode(due), false);
      return true;
    case kDateYearly:
    case kDateMonthly:
    case kDateDaily:
    case kDateWeekday:
      return NextRuleDay(e, now, due);
    default:
      e.Active = false;
      return true;
  }
}

// Time step: the entry's time on the day of the date step, which may move it to a later day. A
// start-up alarm outside start-up or its band, and an unknown time kind, make the entry inactive.
// False when the hour or minute is out of range.
bool TimeStep(const AlarmEngine& engine, AlarmEntry& e, Moment now, bool atStartup,
              Moment& due) noexcept {
  switch (e.TimeKind) {
    case kTimeOfDay:
      if (e.HourOrBand > 23 || e.Minutes > 59) return false;
      due.ms = e.HourOrBand * kMsPerHour + e.Minutes * kMsPerMinute;
      if (engine.IsPast(Encode(due), !atStartup)) due.day += 1;
      return true;
    case kTimeEveryHour:
      if (e.Minutes > 59) return false;
      // The hour, seconds and milliseconds stay; only the minute changes.
      due.ms = HourOf(due) * kMsPerHour + e.Minutes * kMsPerMinute + due.ms % kMsPerMinute;
      if (engine.IsPast(Encode(due), !atStartup)) AddMs(due, kMsPerHour);
      due = ApplyBand(e.HourOrBand, due);
      return true;
    case kTimeEveryNMinutes:
      if (!(atStartup && e.StartupFlag)) AddMs(due, e.Minutes * kMsPerMinute);
      due = ApplyBand(e.HourOrBand, due);
      return true;
    case kTimeStartupOnly:
      if (!atStartup || due.day != now.day) {
        e.Active = false;
      } else {
        AddMs(due, e.Minutes * kMsPerMinute);
        if (HourOutsideBand(e.HourOrBand, HourOf(due))) e.Active = false;
      }
      return true;
    default:
      e.Active = false;
      return true;
  }
}

// The time step moved the alarm to a later day: the date rule applies again from that day (a
// specific date is then over), and the repeating time kinds start again at its beginning.
bool RestartOnLaterDay(AlarmEntry& e, Moment& due) noexcept {
  if (e.DateKind == kDateSpecific) {
    e.Active = false;
    return true;
  }
  if (!NextRuleDay(e, due, due)) return false;
  if (e.TimeKind == kTimeEveryHour) {
    due.ms = e.Minutes * kMsPerMinute;
    due = ApplyBand(e.HourOrBand, due);
  } else if (e.TimeKind == kTimeEveryNMinutes) {
    due.ms = 0;
    due = ApplyBand(e.HourOrBand, due);
  }
  return true;
}

// The entry's next due moment from now (the entry may become inactive on the way). False when
// the entry's date or time cannot be computed.
bool NextDueMoment(const AlarmEngine& engine, AlarmEntry& e, Moment now, bool atStartup,
                   Moment& due) noexcept {
  due = now;
  if (!DateStep(engine, e, now, due)) return false;
  if (!e.Active) return true;
  const std::int64_t dateStepDay = due.day;
  if (!TimeStep(engine, e, now, atStartup, due)) return false;
  if (!e.Active || due.day == dateStepDay) return true;
  return RestartOnLaterDay(e, due);
}

}  // namespace

AlarmEngine::AlarmEngine(AlarmHost& host, bool& busyFlag, const DateTimeRecord& now)
    : host_(host), busy_(busyFlag), now_(now) {}

void AlarmEngine::Report(const std::string& text) {
  host_.ShowMessageWindow(text, kMessageWarning, false, true);
}

bool AlarmEngine::LoadAlarms(bool atStartup) {
  std::vector<std::string> lines;
  const ReadStatus status = ReadAlarmLines(listPath_, lines);
  LoadAlarmLines(lines, atStartup);
  if (status == ReadStatus::Error || status == ReadStatus::TooLarge) {
    // Not a missing file: the user's alarms exist but cannot run; say so rather than silently
    // scheduling nothing.
    Report(alarm_text::ListNotRead(status));
    return false;
  }
  return true;
}

void AlarmEngine::LoadAlarmLines(const std::vector<std::string>& lines, bool atStartup) {
  const std::size_t n = std::min(lines.size(), kMaxAlarmEntries);
  entries_.assign(n, AlarmEntry{});
  states_.assign(n, AlarmEntryState::Inactive);
  for (std::size_t i = 0; i < n; ++i) {
    AlarmEntry& entry = entries_[i];
    if (!ParseAlarmLine(lines[i], entry)) {
      entry = AlarmEntry{};
      states_[i] = AlarmEntryState::ParseError;
      Report(alarm_text::LoadFailed(static_cast<int>(i) + 1));
      continue;
    }
    if (!entry.Active) {
      states_[i] = AlarmEntryState::Paused;
      continue;
    }
    ComputeNextDue(i, atStartup);
  }
}

bool AlarmEngine::IsPast(double moment, bool sameMinuteCounts) const noexcept {
  if (std::trunc(moment) == std::trunc(now_.Value)) {
    const std::int32_t ms = SplitDateTime(moment).msOfDay;
    const int hour = ms / 3'600'000;
    const int minute = ms / 60'000 % 60;
    if (hour != now_.Hour) return hour < now_.Hour;
    if (minute != now_.Minute) return minute < now_.Minute;
    return sameMinuteCounts;
  }
  return moment < now_.Value;
}

void AlarmEngine::ComputeNextDue(std::size_t index, bool atStartup) {
  if (index >= entries_.size()) return;
  AlarmEntry& e = entries_[index];
  Moment due;
  if (!NextDueMoment(*this, e, Decode(now_.Value), atStartup, due)) {
    e.Active = false;
    states_[index] = AlarmEntryState::DueError;
    Report(alarm_text::DueFailed(static_cast<int>(index) + 1));
    return;
  }
  // A moment after 9999-12-31 never fires: the entry keeps the no-alarm moment, which
  // SelectNextAlarm never chooses.
  e.Due = due.day > kLastDueDay ? kNoAlarmMoment : Encode(due);
  if (states_[index] != AlarmEntryState::DueError) {
    states_[index] = e.Active ? AlarmEntryState::Active : AlarmEntryState::Inactive;
  }
}

void AlarmEngine::SelectNextAlarm(bool recompute) {
  host_.SetAlarmTimer(false, 0);
  if (recompute) {
    nextIndex_ = kNoAlarmIndex;
    nextDue_ = kNoAlarmMoment;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (entries_[i].Active && entries_[i].Due < nextDue_) {
        nextIndex_ = static_cast<std::uint8_t>(i);
        nextDue_ = entries_[i].Due;
      }
    }
  }
  const bool quick = IsPast(nextDue_, true) || checkInterval_ < 1;
  const unsigned interval = quick ? 500u : static_cast<unsigned>(checkInterval_) * 1000u;
  host_.SetAlarmTimer(true, interval);
}

void AlarmEngine::Timer4Timer() {
  if (busy_ || nextIndex_ == kNoAlarmIndex || !IsPast(nextDue_, true)) return;
  const BusyScope busy(busy_);
  bool reschedule = true;
  if (PerformAlarm()) {
    // A saved list was reloaded and the next alarm chosen by OpenAlarmList already.
    reschedule = OpenAlarmList() != kModalOk;
  }
  if (reschedule) {
    ComputeNextDue(nextIndex_, false);
    SelectNextAlarm(true);
  }
}

int AlarmEngine::OpenAlarmList() {
  const BusyScope busy(busy_);
  // With no pending alarm the list opens on its first entry: 255 would select entry 256 of a
  // longer list (the engine loads only the first kMaxAlarmEntries, so no real index is 255).
  const int result = host_.ShowAlarmListDialog(nextIndex_ == kNoAlarmIndex ? 0 : nextIndex_);
  if (result == kModalOk) {
    LoadAlarms(false);
    SelectNextAlarm(true);
  }
  return result;
}

bool AlarmEngine::PerformAlarm() {
  std::vector<std::string> lines;
  const ReadStatus status = ReadAlarmLines(listPath_, lines);
  if (status != ReadStatus::Ok) {
    Report(alarm_text::ListNotRead(status));
    return false;
  }
  if (nextIndex_ >= lines.size()) {
    Report(alarm_text::ListChanged());
    return false;
  }
  return PerformAlarmLine(lines[nextIndex_], host_);
}

AlarmEntryState AlarmEngine::EntryState(std::size_t index) const noexcept {
  return index < states_.size() ? states_[index] : AlarmEntryState::Inactive;
}

bool PerformAlarmLine(std::string_view line, AlarmHost& host) {
  const AlarmAction action = SplitAlarmAction(line);
  if (action.Kind != "Exe") {
    return host.ShowMessageWindow(MessageDisplayText(action.Text), MessageKindOf(action.Kind), true,
                                  action.Beep);
  }
  const ShellCommand command = SplitExeText(action.Text);
  if (host.FileExists(command.Path)) {
    // What runs is the file that was checked. A path the shell would rewrite ("%NAME%") never
    // reaches it: a program is started directly, anything else is refused.
    if (ShellRewritesPath(command.Path) && !IsProgramFile(command.Path)) {
      host.ShowMessageWindow(alarm_text::NotOpenedByShell(command.Path), kMessageWarning, false,
                             true);
      return false;
    }
    if (action.Beep) host.SoundBeep(MessageBeepType(kMessagePlain));
    // A failure to open counts as done.
    if (ShellRewritesPath(command.Path)) {
      host.StartProgram(command.Path, command.CommandLine());
    } else {
      host.ShellOpen(command.File, command.Parameters);
    }
  } else {
    host.ShowMessageWindow(alarm_text::NotFound(command.Path), kMessageWarning, false, true);
  }
  return false;
}

}  // namespace mirovane
