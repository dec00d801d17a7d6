#include "alarms/alarm_engine.h"

#include <algorithm>
#include <cmath>

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

// Clamped date: (y, m, d) on x's time of day, the day limited to the month's length (or forced to
// it). A year beyond 9999 gives the no-alarm moment; a date that cannot exist fails.
bool ClampedDate(int y, int m, int d, bool forceLastDay, Moment x, Moment& out) noexcept {
  if (y > 9999) {
    out = Decode(kNoAlarmMoment);
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
    case kBandMorning: return h >= 12;
    case kBandAfternoon: return h < 12;
    case kBandDaytime: return h >= 18 || h < 6;
    case kBandNight: return h >= 6 && h < 18;
    default: return false;
  }
}

bool ValidDate(int y, int m, int d) noexcept {
  return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
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
  if (status == ReadStatus::Error) {
    // Not a missing file: the user's alarms exist but cannot run; say so rather than silently
    // scheduling nothing.
    Report(alarm_text::ListUnreadable());
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
  const Moment now = Decode(now_.Value);
  Moment due = now;

  auto fail = [&] {
    e.Active = false;
    states_[index] = AlarmEntryState::DueError;
    Report(alarm_text::DueFailed(static_cast<int>(index) + 1));
  };
  auto finish = [&] {
    e.Due = Encode(due);
    if (states_[index] != AlarmEntryState::DueError) {
      states_[index] = e.Active ? AlarmEntryState::Active : AlarmEntryState::Inactive;
    }
  };

  // Date step.
  switch (e.DateKind) {
    case kDateSpecific:
      if (!ValidDate(e.Year, e.Month, e.Day)) return fail();
      due.day = DayNumberFromCivil(e.Year, e.Month, e.Day);
      e.Active = !IsPast(Encode(due), false);
      break;
    case kDateYearly:
      if (!NextYearly(e.DayFlag, e.Month, e.Day, now, due)) return fail();
      break;
    case kDateMonthly:
      if (!NextMonthly(e.DayFlag, e.Day, now, due)) return fail();
      break;
    case kDateDaily:
      break;
    case kDateWeekday:
      due = NextWeekday(e.Day, now);
      break;
    default:
      e.Active = false;
      break;
  }
  if (!e.Active) return finish();
  const std::int64_t baseDay = due.day;

  // Time step.
  switch (e.TimeKind) {
    case kTimeOfDay:
      if (e.HourOrBand > 23 || e.Minutes > 59) return fail();
      due.ms = e.HourOrBand * kMsPerHour + e.Minutes * kMsPerMinute;
      if (IsPast(Encode(due), !atStartup)) due.day += 1;
      break;
    case kTimeEveryHour:
      if (e.Minutes > 59) return fail();
      // The hour, seconds and milliseconds stay; only the minute changes.
      due.ms = HourOf(due) * kMsPerHour + e.Minutes * kMsPerMinute + due.ms % kMsPerMinute;
      if (IsPast(Encode(due), !atStartup)) AddMs(due, kMsPerHour);
      due = ApplyBand(e.HourOrBand, due);
      break;
    case kTimeEveryNMinutes:
      if (!(atStartup && e.StartupFlag)) AddMs(due, e.Minutes * kMsPerMinute);
      due = ApplyBand(e.HourOrBand, due);
      break;
    case kTimeStartupOnly:
      if (!atStartup || due.day != now.day) {
        e.Active = false;
      } else {
        AddMs(due, e.Minutes * kMsPerMinute);
        if (HourOutsideBand(e.HourOrBand, HourOf(due))) e.Active = false;
      }
      break;
    default:
      e.Active = false;
      break;
  }
  if (!e.Active) return finish();

  // Day change: the date rule again from the new day, and the repeating kinds restart there.
  if (due.day != baseDay) {
    switch (e.DateKind) {
      case kDateSpecific:
        e.Active = false;
        return finish();
      case kDateYearly:
        if (!NextYearly(e.DayFlag, e.Month, e.Day, due, due)) return fail();
        break;
      case kDateMonthly:
        if (!NextMonthly(e.DayFlag, e.Day, due, due)) return fail();
        break;
      case kDateWeekday:
        due = NextWeekday(e.Day, due);
        break;
      default:
        break;
    }
    if (e.TimeKind == kTimeEveryHour) {
      due.ms = e.Minutes * kMsPerMinute;
      due = ApplyBand(e.HourOrBand, due);
    } else if (e.TimeKind == kTimeEveryNMinutes) {
      due.ms = 0;
      due = ApplyBand(e.HourOrBand, due);
    }
  }
  finish();
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
  busy_ = true;
  bool reschedule = true;
  if (PerformAlarm()) {
    // A saved list was reloaded and the next alarm chosen by OpenAlarmList already.
    reschedule = OpenAlarmList() != kModalOk;
  }
  if (reschedule) {
    busy_ = true;  // OpenAlarmList cleared it on its way out
    ComputeNextDue(nextIndex_, false);
    SelectNextAlarm(true);
  }
  busy_ = false;
}

int AlarmEngine::OpenAlarmList() {
  busy_ = true;
  const int result = host_.ShowAlarmListDialog(nextIndex_);
  if (result == kModalOk) {
    LoadAlarms(false);
    SelectNextAlarm(true);
  }
  busy_ = false;
  return result;
}

bool AlarmEngine::PerformAlarm() {
  std::vector<std::string> lines;
  if (ReadAlarmLines(listPath_, lines) != ReadStatus::Ok) {
    Report(alarm_text::ListUnreadable());
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
    if (action.Beep) host.SoundBeep(MessageBeepType(kMessagePlain));
    host.ShellOpen(command.File, command.Parameters);  // a failure to open counts as done
  } else {
    host.ShowMessageWindow(alarm_text::NotFound(command.Path), kMessageWarning, false, true);
  }
  return false;
}

}  // namespace mirovane
