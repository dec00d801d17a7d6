#include <gtest/gtest.h>

#include "app/colors.h"
#include "app/settings_codec.h"
#include "support.h"

namespace mirovane {
namespace {

TCalendarSettings Read(std::string_view utf8Ini) {
  TCalendarSettings s;
  ReadSettings(IniDocument(test::Sj(utf8Ini)), s);
  return s;
}

TEST(IniInteger, DecimalAndHexadecimalForms) {
  EXPECT_EQ(ParseIniInteger("42"), 42);
  EXPECT_EQ(ParseIniInteger("-5"), -5);
  EXPECT_EQ(ParseIniInteger("+7"), 7);
  EXPECT_EQ(ParseIniInteger("$1F"), 31);
  EXPECT_EQ(ParseIniInteger("0x1f"), 31);
  EXPECT_EQ(ParseIniInteger("0X10"), 16);
  EXPECT_EQ(ParseIniInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseIniInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseIniInteger("2147483648"), std::nullopt);
  EXPECT_EQ(ParseIniInteger("0x"), std::nullopt);  // two characters: not the hexadecimal form
  EXPECT_EQ(ParseIniInteger("$"), std::nullopt);
  EXPECT_EQ(ParseIniInteger("12a"), std::nullopt);
  EXPECT_EQ(ParseIniInteger("1F"), std::nullopt);
  EXPECT_EQ(ParseIniInteger(""), std::nullopt);
}

TEST(Colors, NamesAndHexadecimalText) {
  EXPECT_EQ(ColorFromText("clCream"), 0x00F0FBFFu);
  EXPECT_EQ(ColorFromText("CLTEAL"), 0x00808000u);
  EXPECT_EQ(ColorFromText("clBtnFace"), 0x8000000Fu);
  EXPECT_EQ(ColorFromText("clNone"), 0x1FFFFFFFu);
  EXPECT_EQ(ColorFromText("pink"), 0u);
  EXPECT_EQ(ColorFromText("$00123456"), 0x00123456u);
  EXPECT_EQ(ColorFromText("255"), 255u);
  EXPECT_EQ(ColorToText(0x00123456), "$00123456");
  EXPECT_EQ(ColorToText(0x00F0FBFF), "clCream");
  EXPECT_EQ(ColorToText(0x8000001E), "clMenuBar");
  EXPECT_EQ(ColorToText(0x8000001A), "clHotLight");
  EXPECT_EQ(ColorToText(0x80000019), "$80000019");  // index 25 has no name
  for (ColorValue v : {0x00ABCDEFu, 0x80000005u, 0x20000000u, 0x00000001u}) {
    EXPECT_EQ(ColorFromText(ColorToText(v)), v);
  }
}

TEST(SettingsRead, MissingFileGivesDefaults) {
  const TCalendarSettings s = Read("");
  const TCalendarSettings d;
  EXPECT_TRUE(s.AlignRight);
  EXPECT_TRUE(s.StayOnTop);
  EXPECT_EQ(s.TopPosition, 0);
  EXPECT_EQ(s.LeftPosition, 0);
  EXPECT_EQ(s.CalendarPosition, 1);
  EXPECT_EQ(s.ShowMonthCount, 0x11);
  EXPECT_TRUE(s.DateTimeFont.Bold);
  EXPECT_EQ(s.DateTimeFont.Size, 12);
  EXPECT_EQ(s.CalendarFont.Size, 11);
  EXPECT_EQ(s.DateFormat, d.DateFormat);
  EXPECT_EQ(s.BorderColor, 0x00808000u);
  EXPECT_EQ(s.DspCycle, 50);
  EXPECT_EQ(s.AlarmChk, 5);
}

TEST(SettingsRead, EncodingsAndRanges) {
  const TCalendarSettings s = Read(
      "[MainForm]\nBorderWidth=257\nTopPosition=$10\nLeftPosition=junk\nStayOnTop=2\n"
      "[Calendar]\nCalendarPosition=34\nShowMonthCount=0x34\nFontName=IPAゴシック\n"
      "[DateTime]\nShowClock=1\nFontSizeChange=200\nDateFormat=\"  yyyy  \"\n"
      "[ColorSet]\nLabelBack=pink\nTransColor=$000000FF\n"
      "[Reaction]\nDspCycle=10000\nAlarmChk=5000\nHideTime=300\n");
  EXPECT_EQ(s.BorderWidth, 1);     // 257 keeps its low 8 bits
  EXPECT_EQ(s.TopPosition, 16);
  EXPECT_EQ(s.LeftPosition, 0);    // unreadable: the default
  EXPECT_TRUE(s.StayOnTop);
  EXPECT_EQ(s.CalendarPosition, 0x22);
  EXPECT_EQ(s.MonthColumns(), 3);
  EXPECT_EQ(s.MonthRows(), 4);
  EXPECT_EQ(s.CalendarFont.Name, test::Sj("IPAゴシック"));
  EXPECT_TRUE(s.ShowClock);
  EXPECT_EQ(s.FontSizeChange, -56);  // signed 8 bits
  EXPECT_EQ(s.DateFormat, "  yyyy  ");
  EXPECT_EQ(s.LabelBack, 0u);
  EXPECT_EQ(s.TransColor, 0xFFu);
  EXPECT_EQ(s.DspCycle, 6000);
  EXPECT_EQ(s.AlarmChk, 1800);
  EXPECT_EQ(s.HideTime, 44);
  EXPECT_EQ(Read("[Reaction]\nDspCycle=-5\nAlarmChk=-1\n").DspCycle, 0);
  EXPECT_EQ(Read("[Reaction]\nDspCycle=-5\nAlarmChk=-1\n").AlarmChk, 0);
}

TEST(SettingsWrite, RoundTripsEveryValueAndKeepsForeignKeys) {
  TCalendarSettings s;
  s.MemoryPosition = true;
  s.LeftPosition = -40;
  s.ShowMonthCount = 0x34;
  s.DateFormat = test::Sj("  \\ggge'年'  ");
  s.TimeFormat = "";
  s.FontSizeChange = -3;
  s.LabelBack = 0x00123456;
  s.BorderColor = 0x8000000F;
  s.AlphaValue = 5;
  s.SpaceBarDown = 7;
  s.CalendarFont.Name = test::Sj("ＭＳ ゴシック");

  IniDocument doc(test::Sj("; mine\r\n[Extra]\r\nKeep=1\r\n[MainForm]\r\nUnknown=x\r\n"));
  WriteSettings(doc, s);
  const std::string text = doc.Text();
  EXPECT_NE(text.find("; mine\r\n[Extra]\r\nKeep=1\r\n[MainForm]\r\nUnknown=x\r\nMemoryPosition=1\r\n"),
            std::string::npos);
  EXPECT_NE(text.find(test::Sj("DateFormat=\"  \\ggge'年'  \"\r\n")), std::string::npos);
  EXPECT_NE(text.find("LabelBack=$00123456\r\n"), std::string::npos);
  EXPECT_NE(text.find("BorderColor=clBtnFace\r\n"), std::string::npos);

  TCalendarSettings back;
  ReadSettings(IniDocument(text), back);
  EXPECT_TRUE(back.MemoryPosition);
  EXPECT_EQ(back.LeftPosition, -40);
  EXPECT_EQ(back.ShowMonthCount, 0x34);
  EXPECT_EQ(back.DateFormat, s.DateFormat);
  EXPECT_EQ(back.TimeFormat, "");
  EXPECT_EQ(back.FontSizeChange, -3);
  EXPECT_EQ(back.LabelBack, 0x00123456u);
  EXPECT_EQ(back.BorderColor, 0x8000000Fu);
  EXPECT_EQ(back.AlphaValue, 5);
  EXPECT_EQ(back.SpaceBarDown, 7);
  EXPECT_EQ(back.CalendarFont.Name, s.CalendarFont.Name);
}

TEST(SettingsWrite, NewFileHasSectionsAndKeysInSaveOrder) {
  IniDocument doc;
  WriteSettings(doc, TCalendarSettings{});
  const std::string text = doc.Text();
  std::size_t at = 0;
  for (std::string_view piece :
       {"[MainForm]\r\nMemoryPosition=0\r\nInnerDesktop=1\r\nAlignRight=1\r\nHideTrayIcon=0\r\n"
        "StayOnTop=1\r\nTitleBar=0\r\nBorderWidth=1\r\nLabelBorder=2\r\nTopPosition=0\r\n"
        "LeftPosition=0\r\n",
        "[Calendar]\r\nCalendarPosition=1\r\nHideCalendar=0\r\nShowMonthCount=17\r\n",
        "FontBold=0\r\nFontItalic=0\r\nFirstDayOfWeek=7\r\n",
        "[DateTime]\r\nHideNowDate=0\r\nHideNowTime=0\r\nShowClock=0\r\n",
        "[ColorSet]\r\nCalendarBack=clCream\r\nCalendarText=clBlack\r\nTrailText=clOlive\r\n",
        "AlphaValue=200\r\n",
        "[Reaction]\r\nPopupMenuItem=3\r\nMainDblClick=5\r\n", "DspCycle=50\r\nAlarmChk=5\r\n"}) {
    const std::size_t found = text.find(piece, at);
    ASSERT_NE(found, std::string::npos) << piece;
    at = found + piece.size();
  }
}

}  // namespace
}  // namespace mirovane
