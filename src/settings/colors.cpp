#include "settings/colors.h"

#include <cstdio>

#include "platform/ini.h"
#include "settings/settings_codec.h"

namespace mirovane {

namespace {

struct NamedColor {
  std::string_view name;
  ColorValue value;
};

constexpr ColorValue Sys(std::uint32_t index) { return kSystemColorFlag + index; }

constexpr NamedColor kColors[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clScrollBar", Sys(0)},
    {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},
    {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},
    {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},
    {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},
    {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},
    {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},
    {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},
    {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},
    {"clHotLight", Sys(26)},
    {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)},
    {"clMenuHighlight", Sys(29)},
    {"clMenuBar", Sys(30)},
    {"clNone", kColorNone},
    {"clDefault", kColorDefault},
};
static_assert(std::size(kColors) == 52);

}  // namespace

std::optional<std::string_view> ColorName(ColorValue value) {
  for (const NamedColor& c : kColors) {
    if (c.value == value) return c.name;
  }
  return std::nullopt;
}

std::optional<ColorValue> ColorFromName(std::string_view name) {
  for (const NamedColor& c : kColors) {
    if (EqualsIgnoringAsciiCase(c.name, name)) return c.value;
  }
  return std::nullopt;
}

std::string ColorToText(ColorValue value) {
  if (const auto name = ColorName(value)) return std::string(*name);
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(value));
  return buf;
}

ColorValue ColorFromText(std::string_view text) {
  if (const auto named = ColorFromName(text)) return *named;
  if (const auto number = ParseIniInteger(text)) return static_cast<ColorValue>(*number);
  return 0;
}

}  // namespace mirovane
