#include "app/settings_codec.h"

#include <algorithm>
#include <string>

namespace mirovane {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class Reader {
 public:
  explicit Reader(const IniDocument& doc) : doc_(doc) {}
  void Section(std::string_view s) { section_ = s; }

  std::int32_t Integer(std::string_view key, std::int32_t def) const {
    const auto text = doc_.Get(section_, key);
    if (!text) return def;
    return ParseIniInteger(*text).value_or(def);
  }
  void Bool(std::string_view key, bool& v) const { v = Integer(key, v ? 1 : 0) != 0; }
  void Int(std::string_view key, std::int32_t& v) const { v = Integer(key, v); }
  // Only the low 8 bits of the integer remain.
  void Byte(std::string_view key, std::uint8_t& v) const {
    v = static_cast<std::uint8_t>(static_cast<std::uint32_t>(Integer(key, v)) & 0xFF);
  }
  void SignedByte(std::string_view key, std::int8_t& v) const {
    const auto low = static_cast<std::uint8_t>(static_cast<std::uint32_t>(Integer(key, v)) & 0xFF);
    v = static_cast<std::int8_t>(low);
  }
  void String(std::string_view key, std::string& v) const {
    if (auto text = doc_.Get(section_, key)) v = std::move(*text);
  }
  void Color(std::string_view key, ColorValue& v) const {
    if (const auto text = doc_.Get(section_, key)) v = ColorFromText(*text);
  }
  void Font(FontSetting& f) const {
    String("FontName", f.Name);
    Int("FontSize", f.Size);
    Bool("FontItalic", f.Italic);
    Bool("FontBold", f.Bold);
  }

 private:
  const IniDocument& doc_;
  std::string_view section_;
};

class Writer {
 public:
  explicit Writer(IniDocument& doc) : doc_(doc) {}
  void Section(std::string_view s) { section_ = s; }
  void Int(std::string_view key, long long v) { doc_.Set(section_, key, std::to_string(v)); }
  void Bool(std::string_view key, bool v) { doc_.Set(section_, key, v ? "1" : "0"); }
  void String(std::string_view key, std::string_view v) { doc_.Set(section_, key, v); }
  // Quoted so that leading and trailing blanks survive the reader's trimming.
  void Quoted(std::string_view key, std::string_view v) {
    std::string q;
    q.reserve(v.size() + 2);
    q.append("\"").append(v).append("\"");
    doc_.Set(section_, key, q);
  }
  void Color(std::string_view key, ColorValue v) { doc_.Set(section_, key, ColorToText(v)); }
  void Font(const FontSetting& f) {
    String("FontName", f.Name);
    Int("FontSize", f.Size);
    Bool("FontBold", f.Bold);
    Bool("FontItalic", f.Italic);
  }

 private:
  IniDocument& doc_;
  std::string_view section_;
};

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  bool negative = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  int base = 10;
  if (!t.empty() && t.front() == '$') {
    base = 16;
    t.remove_prefix(1);
  } else if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    t.remove_prefix(2);
  }
  if (t.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : t) {
    const int d = HexDigit(c);
    if (d < 0 || d >= base) return std::nullopt;
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (base == 10) {
    // Decimal values must fit the signed range; hexadecimal ones may use all 32 bits ($FFFFFFFF
    // is -1).
    const std::uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
    if (value > limit) return std::nullopt;
  }
  auto bits = static_cast<std::uint32_t>(value);
  if (negative) bits = 0u - bits;
  return static_cast<std::int32_t>(bits);
}

void ReadSettings(const IniDocument& doc, TCalendarSettings& s) {
  Reader r(doc);
  r.Section(ini::kMainForm);
  r.Bool("MemoryPosition", s.MemoryPosition);
  r.Bool("InnerDesktop", s.InnerDesktop);
  r.Bool("AlignRight", s.AlignRight);
  r.Int("TopPosition", s.TopPosition);
  r.Int("LeftPosition", s.LeftPosition);
  r.Byte("BorderWidth", s.BorderWidth);
  r.Byte("LabelBorder", s.LabelBorder);
  r.Bool("HideTrayIcon", s.HideTrayIcon);
  r.Bool("StayOnTop", s.StayOnTop);
  r.Bool("TitleBar", s.TitleBar);

  r.Section(ini::kCalendar);
  r.Bool("HideCalendar", s.HideCalendar);
  r.Byte("CalendarPosition", s.CalendarPosition);
  r.Byte("ShowMonthCount", s.ShowMonthCount);
  r.Bool("ShowWeekNumber", s.ShowWeekNumber);
  r.Bool("ShowRedCircle", s.ShowRedCircle);
  r.Font(s.CalendarFont);
  r.Byte("FirstDayOfWeek", s.FirstDayOfWeek);

  r.Section(ini::kDateTime);
  r.Bool("HideNowDate", s.HideNowDate);
  r.Bool("HideNowTime", s.HideNowTime);
  r.Bool("ShowClock", s.ShowClock);
  r.String("DateFormat", s.DateFormat);
  r.String("TimeFormat", s.TimeFormat);
  r.Font(s.DateTimeFont);
  r.SignedByte("FontSizeChange", s.FontSizeChange);

  r.Section(ini::kColorSet);
  r.Color("CalendarBack", s.CalendarBack);
  r.Color("CalendarText", s.CalendarText);
  r.Color("TrailText", s.TrailText);
  r.Color("TitleBack", s.TitleBack);
  r.Color("TitleText", s.TitleText);
  r.Color("LabelBack", s.LabelBack);
  r.Color("LabelText", s.LabelText);
  r.Color("BorderColor", s.BorderColor);
  r.Color("TransColor", s.TransColor);
  r.Bool("Transparency", s.Transparency);
  r.Bool("AlphaBlend", s.AlphaBlend);
  r.Byte("AlphaValue", s.AlphaValue);

  r.Section(ini::kReaction);
  r.Byte("PopupMenuItem", s.PopupMenuItem);
  r.Byte("MainDblClick", s.MainDblClick);
  r.Byte("IconDblClick", s.IconDblClick);
  r.Byte("EnterKeyDown", s.EnterKeyDown);
  r.Byte("SpaceBarDown", s.SpaceBarDown);
  r.Byte("EscapeKeyDown", s.EscapeKeyDown);
  r.Byte("HideTime", s.HideTime);
  r.Byte("HideWait", s.HideWait);
  r.Int("DspCycle", s.DspCycle);
  r.Int("AlarmChk", s.AlarmChk);

  // The refresh period is capped at 60 s and off at 0 or below; the alarm period at 30 minutes.
  s.DspCycle = s.DspCycle <= 0 ? 0 : std::min(s.DspCycle, 6000);
  s.AlarmChk = s.AlarmChk < 1 ? 0 : std::min(s.AlarmChk, 1800);
}

void WriteSettings(IniDocument& doc, const TCalendarSettings& s) {
  Writer w(doc);
  w.Section(ini::kMainForm);
  w.Bool("MemoryPosition", s.MemoryPosition);
  w.Bool("InnerDesktop", s.InnerDesktop);
  w.Bool("AlignRight", s.AlignRight);
  w.Bool("HideTrayIcon", s.HideTrayIcon);
  w.Bool("StayOnTop", s.StayOnTop);
  w.Bool("TitleBar", s.TitleBar);
  w.Int("BorderWidth", s.BorderWidth);
  w.Int("LabelBorder", s.LabelBorder);
  w.Int("TopPosition", s.TopPosition);
  w.Int("LeftPosition", s.LeftPosition);

  w.Section(ini::kCalendar);
  w.Int("CalendarPosition", s.CalendarPosition);
  w.Bool("HideCalendar", s.HideCalendar);
  w.Int("ShowMonthCount", s.ShowMonthCount);
  w.Bool("ShowWeekNumber", s.ShowWeekNumber);
  w.Bool("ShowRedCircle", s.ShowRedCircle);
  w.Font(s.CalendarFont);
  w.Int("FirstDayOfWeek", s.FirstDayOfWeek);

  w.Section(ini::kDateTime);
  w.Bool("HideNowDate", s.HideNowDate);
  w.Bool("HideNowTime", s.HideNowTime);
  w.Bool("ShowClock", s.ShowClock);
  w.Quoted("DateFormat", s.DateFormat);
  w.Quoted("TimeFormat", s.TimeFormat);
  w.Font(s.DateTimeFont);
  w.Int("FontSizeChange", s.FontSizeChange);

  w.Section(ini::kColorSet);
  w.Color("CalendarBack", s.CalendarBack);
  w.Color("CalendarText", s.CalendarText);
  w.Color("TrailText", s.TrailText);
  w.Color("TitleBack", s.TitleBack);
  w.Color("TitleText", s.TitleText);
  w.Color("LabelBack", s.LabelBack);
  w.Color("LabelText", s.LabelText);
  w.Color("BorderColor", s.BorderColor);
  w.Color("TransColor", s.TransColor);
  w.Bool("Transparency", s.Transparency);
  w.Bool("AlphaBlend", s.AlphaBlend);
  w.Int("AlphaValue", s.AlphaValue);

  w.Section(ini::kReaction);
  w.Int("PopupMenuItem", s.PopupMenuItem);
  w.Int("MainDblClick", s.MainDblClick);
  w.Int("IconDblClick", s.IconDblClick);
  w.Int("EnterKeyDown", s.EnterKeyDown);
  w.Int("SpaceBarDown", s.SpaceBarDown);
  w.Int("EscapeKeyDown", s.EscapeKeyDown);
  w.Int("HideTime", s.HideTime);
  w.Int("HideWait", s.HideWait);
  w.Int("DspCycle", s.DspCycle);
  w.Int("AlarmChk", s.AlarmChk);
}

}  // namespace mirovane
