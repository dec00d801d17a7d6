// The settings record of the main window: one field per INI key, with the defaults that apply
// when the file, its section or the key is missing. Texts are cp932.
#pragma once

#include <cstdint>
#include <string>

#include "platform/codec.h"
#include "settings/colors.h"

namespace mirovane {

// What a binding (double-click, keys, tray icon, the popup's user item) does.
enum ReactionCode : std::uint8_t {
  kReactionNone = 0,
  kReactionOptions = 1,
  kReactionAlarmList = 2,
  kReactionTray = 3,
  kReactionHide = 4,
  kReactionToggleCalendar = 5,
  kReactionMonthCount = 6,
  kReactionTransparency = 7,
};

struct FontSetting {
  std::string Name;  // face name, cp932
  int Size = 12;     // points
  bool Italic = false;
  bool Bold = false;

  bool operator==(const FontSetting&) const = default;
};

struct TCalendarSettings {
  // [MainForm]
  bool MemoryPosition = false;
  bool InnerDesktop = true;
  bool AlignRight = true;
  std::int32_t TopPosition = 0;
  std::int32_t LeftPosition = 0;
  std::uint8_t BorderWidth = 1;  // pixels of window colour around the content
  std::uint8_t LabelBorder = 2;  // inner margin of labels, calendar grid and clock face
  bool HideTrayIcon = false;
  bool StayOnTop = true;
  bool TitleBar = false;

  // [Calendar]
  bool HideCalendar = false;
  std::uint8_t CalendarPosition = 0x01;  // low 4 bits: calendar placement; high 4: clock placement
  std::uint8_t ShowMonthCount = 0x11;    // high 4 bits: months across; low 4: months down
  bool ShowWeekNumber = false;
  bool ShowRedCircle = true;
  FontSetting CalendarFont{Utf8ToCp932("ＭＳ Ｐゴシック"), 11, false, false};
  std::uint8_t FirstDayOfWeek = 7;  // 0..6 Monday..Sunday, 7 = the system's setting

  // [DateTime]
  bool HideNowDate = false;
  bool HideNowTime = false;
  bool ShowClock = false;  // true HIDES the analog clock
  std::string DateFormat = Utf8ToCp932("yyyy/mm/dd'('aaa')'");
  std::string TimeFormat = Utf8ToCp932("hh:nn:ss");
  FontSetting DateTimeFont{Utf8ToCp932("ＭＳ Ｐゴシック"), 12, false, true};
  std::int8_t FontSizeChange = 0;  // added to the date/time font size while the calendar is hidden
  bool NewEras = false;  // era tokens show the era from 2019-05-01 on (the formatter's option)

  // [ColorSet]
  ColorValue CalendarBack = 0xF0FBFF;  // clCream
  ColorValue CalendarText = 0x000000;  // clBlack
  ColorValue TrailText = 0x008080;     // clOlive
  ColorValue TitleBack = 0x008000;     // clGreen
  ColorValue TitleText = 0xFFFFFF;     // clWhite
  ColorValue LabelBack = 0xF0FBFF;     // clCream
  ColorValue LabelText = 0x000000;     // clBlack
  ColorValue BorderColor = 0x808000;   // clTeal
  ColorValue TransColor = 0xF0FBFF;    // clCream
  bool Transparency = false;
  bool AlphaBlend = false;
  std::uint8_t AlphaValue = 200;

  // [Reaction]
  std::uint8_t PopupMenuItem = kReactionTray;
  std::uint8_t MainDblClick = kReactionToggleCalendar;
  std::uint8_t IconDblClick = kReactionTray;
  std::uint8_t EnterKeyDown = kReactionToggleCalendar;
  std::uint8_t SpaceBarDown = kReactionMonthCount;
  std::uint8_t EscapeKeyDown = kReactionTray;
  std::uint8_t HideTime = 20;  // 100 ms units
  std::uint8_t HideWait = 5;   // 100 ms units
  int DspCycle = 50;           // display refresh period in 10 ms units; 0 = off (at most 6000)
  int AlarmChk = 5;            // alarm check period in seconds; 0 = every 0.5 s (at most 1800)

  bool operator==(const TCalendarSettings&) const = default;

  int MonthColumns() const { return ShowMonthCount >> 4; }
  int MonthRows() const { return ShowMonthCount & 15; }
};

}  // namespace mirovane
