#include "settings/settings_codec.h"

#include <algorithm>
#include <array>
#include <string>
#include <type_traits>
#include <variant>

namespace mirovane {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

using S = TCalendarSettings;

static_assert(std::is_same_v<int, std::int32_t>, "the integer fields are read as 32-bit integers");

// How a key's value is written in the file and read back.
enum class Encoding : std::uint8_t {
  Bool,        // "1" or "0"; read as an integer, anything but 0 is true
  Int,         // decimal; read also as "$" or "0x" hexadecimal
  Byte,        // written like Int; only the low 8 bits of the integer read remain
  SignedByte,  // the same, the 8 bits taken as a signed number
  String,      // as it is, or in double quotes when the reader would otherwise change it
  Quoted,      // in double quotes, so that blanks at either end survive the reader's trimming
  Color,       // a colour name, or "$" and 8 hexadecimal digits
};

// A field of the record: one of its own members, or a member of one of its two fonts.
template <class T>
struct Field {
  T S::*member = nullptr;
  FontSetting S::*font = nullptr;
  T FontSetting::*inFont = nullptr;

  T& Of(S& s) const { return font ? s.*font.*inFont : s.*member; }
  const T& Of(const S& s) const { return font ? s.*font.*inFont : s.*member; }
};

// Which field a key holds and how it is encoded. Made only by the functions below, which accept
// for each encoding the one field type it fits.
struct Binding {
  Encoding encoding;
  std::variant<Field<bool>, Field<std::int32_t>, Field<std::uint8_t>, Field<std::int8_t>,
               Field<std::string>, Field<ColorValue>>
      field;
};

constexpr Binding Bool(bool S::*m) { return {Encoding::Bool, Field<bool>{m}}; }
constexpr Binding Bool(FontSetting S::*f, bool FontSetting::*m) {
  return {Encoding::Bool, Field<bool>{nullptr, f, m}};
}
constexpr Binding Int(std::int32_t S::*m) { return {Encoding::Int, Field<std::int32_t>{m}}; }
constexpr Binding Int(FontSetting S::*f, std::int32_t FontSetting::*m) {
  return {Encoding::Int, Field<std::int32_t>{nullptr, f, m}};
}
constexpr Binding Byte(std::uint8_t S::*m) { return {Encoding::Byte, Field<std::uint8_t>{m}}; }
constexpr Binding SignedByte(std::int8_t S::*m) {
  return {Encoding::SignedByte, Field<std::int8_t>{m}};
}
constexpr Binding String(FontSetting S::*f, std::string FontSetting::*m) {
  return {Encoding::String, Field<std::string>{nullptr, f, m}};
}
constexpr Binding Quoted(std::string S::*m) { return {Encoding::Quoted, Field<std::string>{m}}; }
constexpr Binding Color(ColorValue S::*m) { return {Encoding::Color, Field<ColorValue>{m}}; }

struct SettingKey {
  std::string_view section;
  std::string_view key;
  Binding binding;
  std::size_t loadStep;  // the key's place when the file is read
};

using ini::kCalendar;
using ini::kColorSet;
using ini::kDateTime;
using ini::kMainForm;
using ini::kReaction;
using F = FontSetting;

// Every key of the file, in the order a save writes them (so a new file has its sections and
// keys in this order). A load reads them in the order of the last column.
constexpr SettingKey kKeys[] = {
    {kMainForm, "MemoryPosition", Bool(&S::MemoryPosition), 0},
    {kMainForm, "InnerDesktop", Bool(&S::InnerDesktop), 1},
    {kMainForm, "AlignRight", Bool(&S::AlignRight), 2},
    {kMainForm, "HideTrayIcon", Bool(&S::HideTrayIcon), 7},
    {kMainForm, "StayOnTop", Bool(&S::StayOnTop), 8},
    {kMainForm, "TitleBar", Bool(&S::TitleBar), 9},
    {kMainForm, "BorderWidth", Byte(&S::BorderWidth), 5},
    {kMainForm, "LabelBorder", Byte(&S::LabelBorder), 6},
    {kMainForm, "TopPosition", Int(&S::TopPosition), 3},
    {kMainForm, "LeftPosition", Int(&S::LeftPosition), 4},

    {kCalendar, "CalendarPosition", Byte(&S::CalendarPosition), 11},
    {kCalendar, "HideCalendar", Bool(&S::HideCalendar), 10},
    {kCalendar, "ShowMonthCount", Byte(&S::ShowMonthCount), 12},
    {kCalendar, "ShowWeekNumber", Bool(&S::ShowWeekNumber), 13},
    {kCalendar, "ShowRedCircle", Bool(&S::ShowRedCircle), 14},
    {kCalendar, "FontName", String(&S::CalendarFont, &F::Name), 15},
    {kCalendar, "FontSize", Int(&S::CalendarFont, &F::Size), 16},
    {kCalendar, "FontBold", Bool(&S::CalendarFont, &F::Bold), 18},
    {kCalendar, "FontItalic", Bool(&S::CalendarFont, &F::Italic), 17},
    {kCalendar, "FirstDayOfWeek", Byte(&S::FirstDayOfWeek), 19},

    {kDateTime, "HideNowDate", Bool(&S::HideNowDate), 20},
    {kDateTime, "HideNowTime", Bool(&S::HideNowTime), 21},
    {kDateTime, "ShowClock", Bool(&S::ShowClock), 22},
    {kDateTime, "DateFormat", Quoted(&S::DateFormat), 23},
    {kDateTime, "TimeFormat", Quoted(&S::TimeFormat), 24},
    {kDateTime, "FontName", String(&S::DateTimeFont, &F::Name), 25},
    {kDateTime, "FontSize", Int(&S::DateTimeFont, &F::Size), 26},
    {kDateTime, "FontBold", Bool(&S::DateTimeFont, &F::Bold), 28},
    {kDateTime, "FontItalic", Bool(&S::DateTimeFont, &F::Italic), 27},
    {kDateTime, "FontSizeChange", SignedByte(&S::FontSizeChange), 29},
    {kDateTime, "NewEras", Bool(&S::NewEras), 52},

    {kColorSet, "CalendarBack", Color(&S::CalendarBack), 30},
    {kColorSet, "CalendarText", Color(&S::CalendarText), 31},
    {kColorSet, "TrailText", Color(&S::TrailText), 32},
    {kColorSet, "TitleBack", Color(&S::TitleBack), 33},
    {kColorSet, "TitleText", Color(&S::TitleText), 34},
    {kColorSet, "LabelBack", Color(&S::LabelBack), 35},
    {kColorSet, "LabelText", Color(&S::LabelText), 36},
    {kColorSet, "BorderColor", Color(&S::BorderColor), 37},
    {kColorSet, "TransColor", Color(&S::TransColor), 38},
    {kColorSet, "Transparency", Bool(&S::Transparency), 39},
    {kColorSet, "AlphaBlend", Bool(&S::AlphaBlend), 40},
    {kColorSet, "AlphaValue", Byte(&S::AlphaValue), 41},

    {kReaction, "PopupMenuItem", Byte(&S::PopupMenuItem), 42},
    {kReaction, "MainDblClick", Byte(&S::MainDblClick), 43},
    {kReaction, "IconDblClick", Byte(&S::IconDblClick), 44},
    {kReaction, "EnterKeyDown", Byte(&S::EnterKeyDown), 45},
    {kReaction, "SpaceBarDown", Byte(&S::SpaceBarDown), 46},
    {kReaction, "EscapeKeyDown", Byte(&S::EscapeKeyDown), 47},
    {kReaction, "HideTime", Byte(&S::HideTime), 48},
    {kReaction, "HideWait", Byte(&S::HideWait), 49},
    {kReaction, "DspCycle", Int(&S::DspCycle), 50},
    {kReaction, "AlarmChk", Int(&S::AlarmChk), 51},
};
constexpr std::size_t kKeyCount = std::size(kKeys);

// Each key once, and each load step once.
constexpr bool TableIsSound() {
  std::array<bool, kKeyCount> step{};
  for (std::size_t i = 0; i < kKeyCount; ++i) {
    if (kKeys[i].loadStep >= kKeyCount || step[kKeys[i].loadStep]) return false;
    step[kKeys[i].loadStep] = true;
    for (std::size_t j = 0; j < i; ++j) {
      if (kKeys[j].section == kKeys[i].section && kKeys[j].key == kKeys[i].key) return false;
    }
  }
  return true;
}
static_assert(TableIsSound(), "a key is listed twice, or the load steps are not 0..n-1 once each");

constexpr std::array<std::size_t, kKeyCount> kLoadOrder = [] {
  std::array<std::size_t, kKeyCount> order{};
  for (std::size_t i = 0; i < kKeyCount; ++i) order[kKeys[i].loadStep] = i;
  return order;
}();

template <class T>
T& FieldOf(const Binding& b, S& s) {
  return std::get<Field<T>>(b.field).Of(s);
}
template <class T>
const T& FieldOf(const Binding& b, const S& s) {
  return std::get<Field<T>>(b.field).Of(s);
}

// Reads one key into its field; a missing key, or an integer that does not parse, leaves the
// field as it is (its default).
void Read(const IniDocument& doc, const SettingKey& k, S& s) {
  const auto text = doc.Get(k.section, k.key);
  if (!text) return;
  const Binding& b = k.binding;
  switch (b.encoding) {
    case Encoding::Bool:
      if (const auto v = ParseIniInteger(*text)) FieldOf<bool>(b, s) = *v != 0;
      break;
    case Encoding::Int:
      if (const auto v = ParseIniInteger(*text)) FieldOf<std::int32_t>(b, s) = *v;
      break;
    case Encoding::Byte:
      if (const auto v = ParseIniInteger(*text)) {
        FieldOf<std::uint8_t>(b, s) =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(*v) & 0xFF);
      }
      break;
    case Encoding::SignedByte:
      if (const auto v = ParseIniInteger(*text)) {
        const auto low = static_cast<std::uint8_t>(static_cast<std::uint32_t>(*v) & 0xFF);
        FieldOf<std::int8_t>(b, s) = static_cast<std::int8_t>(low);
      }
      break;
    case Encoding::String:
    case Encoding::Quoted:
      FieldOf<std::string>(b, s) = *text;
      break;
    case Encoding::Color:
      FieldOf<ColorValue>(b, s) = ColorFromText(*text);
      break;
  }
}

std::string InQuotes(std::string_view v) {
  std::string q;
  q.reserve(v.size() + 2);
  q.append("\"").append(v).append("\"");
  return q;
}

// Whether the reader gives `v` back as it was written: it trims blanks and removes one pair of
// matching quotes around the value.
bool ReadsBackAsIs(std::string_view v) {
  if (v.empty()) return true;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (blank(v.front()) || blank(v.back())) return false;
  return v.size() < 2 || (v.front() != '"' && v.front() != '\'') || v.back() != v.front();
}

std::string Encoded(const SettingKey& k, const S& s) {
  const Binding& b = k.binding;
  switch (b.encoding) {
    case Encoding::Bool:
      return FieldOf<bool>(b, s) ? "1" : "0";
    case Encoding::Int:
      return std::to_string(FieldOf<std::int32_t>(b, s));
    case Encoding::Byte:
      return std::to_string(FieldOf<std::uint8_t>(b, s));
    case Encoding::SignedByte:
      return std::to_string(FieldOf<std::int8_t>(b, s));
    case Encoding::String: {
      const std::string& v = FieldOf<std::string>(b, s);
      return ReadsBackAsIs(v) ? v : InQuotes(v);
    }
    case Encoding::Quoted:
      return InQuotes(FieldOf<std::string>(b, s));
    case Encoding::Color:
      return ColorToText(FieldOf<ColorValue>(b, s));
  }
  return {};
}

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
  for (const std::size_t i : kLoadOrder) Read(doc, kKeys[i], s);

  // The refresh period is capped at 60 s and off at 0 or below; the alarm period at 30 minutes.
  s.DspCycle = s.DspCycle <= 0 ? 0 : std::min(s.DspCycle, 6000);
  s.AlarmChk = s.AlarmChk < 1 ? 0 : std::min(s.AlarmChk, 1800);
}

void WriteSettings(IniDocument& doc, const TCalendarSettings& s) {
  for (const SettingKey& k : kKeys) doc.Set(k.section, k.key, Encoded(k, s));
}

}  // namespace mirovane
