#include <gtest/gtest.h>

#include "settings/colors.h"
#include "settings/settings_codec.h"
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
  EXPECT_FALSE(s.NewEras);
}

TEST(SettingsRead, EncodingsAndRanges) {
  const TCalendarSettings s = Read(
      "[MainForm]\nBorderWidth=257\nTopPosition=$10\nLeftPosition=junk\nStayOnTop=2\n"
      "[Calendar]\nCalendarPosition=34\nShowMonthCount=0x34\nFontName=IPAゴシック\n"
      "[DateTime]\nShowClock=1\nFontSizeChange=200\nDateFormat=\"  yyyy  \"\n"
      "[ColorSet]\nLabelBack=pink\nTransColor=$000000FF\n"
      "[Reaction]\nDspCycle=10000\nAlarmChk=5000\nHideTime=300\n");
  EXPECT_EQ(s.BorderWidth, 1);  // 257 keeps its low 8 bits
  EXPECT_EQ(s.TopPosition, 16);
  EXPECT_EQ(s.LeftPosition, 0);  // unreadable: the default
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
  EXPECT_NE(
      text.find("; mine\r\n[Extra]\r\nKeep=1\r\n[MainForm]\r\nUnknown=x\r\nMemoryPosition=1\r\n"),
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

// Every field away from its default, and values that differ from field to field, so that a key
// left out of the save or the load, or tied to the wrong field, changes the file.
TEST(SettingsWrite, EveryFieldThroughSaveAndLoad) {
  TCalendarSettings s;
  s.MemoryPosition = true;
  s.InnerDesktop = false;
  s.AlignRight = false;
  s.TopPosition = -20;
  s.LeftPosition = 1234567;
  s.BorderWidth = 255;
  s.LabelBorder = 9;
  s.HideTrayIcon = true;
  s.StayOnTop = false;
  s.TitleBar = true;
  s.HideCalendar = true;
  s.CalendarPosition = 0x32;
  s.ShowMonthCount = 0x43;
  s.ShowWeekNumber = true;
  s.ShowRedCircle = false;
  s.CalendarFont = {test::Sj("ＭＳ 明朝"), 15, /*Italic=*/true, /*Bold=*/true};
  s.FirstDayOfWeek = 2;
  s.HideNowDate = true;
  s.HideNowTime = true;
  s.ShowClock = true;
  s.DateFormat = test::Sj("  ggge'年'm'月'd'日'  ");
  s.TimeFormat = "\"hh\":nn";
  // Blanks at either end would be trimmed away by the reader: the name is saved in quotes.
  s.DateTimeFont = {test::Sj(" メイリオ "), 21, /*Italic=*/true, /*Bold=*/false};
  s.FontSizeChange = -3;
  s.NewEras = true;
  s.CalendarBack = 0x00123456;
  s.CalendarText = 0x00000080;
  s.TrailText = kSystemColorFlag | 15;
  s.TitleBack = kColorNone;
  s.TitleText = 0x00ABCDEF;
  s.LabelBack = kColorDefault;
  s.LabelText = kSystemColorFlag | 25;  // a system colour without a name
  s.BorderColor = 0x00800000;
  s.TransColor = 0x00010203;
  s.Transparency = true;
  s.AlphaBlend = true;
  s.AlphaValue = 35;
  s.PopupMenuItem = 7;
  s.MainDblClick = 0;
  s.IconDblClick = 1;
  s.EnterKeyDown = 2;
  s.SpaceBarDown = 4;
  s.EscapeKeyDown = 6;
  s.HideTime = 200;
  s.HideWait = 9;
  s.DspCycle = 6000;
  s.AlarmChk = 1800;

  const std::string file = test::Sj(
      "[MainForm]\r\n"
      "MemoryPosition=1\r\nInnerDesktop=0\r\nAlignRight=0\r\nHideTrayIcon=1\r\nStayOnTop=0\r\n"
      "TitleBar=1\r\nBorderWidth=255\r\nLabelBorder=9\r\nTopPosition=-20\r\n"
      "LeftPosition=1234567\r\n"
      "\r\n"
      "[Calendar]\r\n"
      "CalendarPosition=50\r\nHideCalendar=1\r\nShowMonthCount=67\r\nShowWeekNumber=1\r\n"
      "ShowRedCircle=0\r\nFontName=ＭＳ 明朝\r\nFontSize=15\r\nFontBold=1\r\nFontItalic=1\r\n"
      "FirstDayOfWeek=2\r\n"
      "\r\n"
      "[DateTime]\r\n"
      "HideNowDate=1\r\nHideNowTime=1\r\nShowClock=1\r\n"
      "DateFormat=\"  ggge'年'm'月'd'日'  \"\r\nTimeFormat=\"\"hh\":nn\"\r\n"
      "FontName=\" メイリオ "
      "\"\r\nFontSize=21\r\nFontBold=0\r\nFontItalic=1\r\nFontSizeChange=-3\r\nNewEras=1\r\n"
      "\r\n"
      "[ColorSet]\r\n"
      "CalendarBack=$00123456\r\nCalendarText=clMaroon\r\nTrailText=clBtnFace\r\n"
      "TitleBack=clNone\r\nTitleText=$00ABCDEF\r\nLabelBack=clDefault\r\n"
      "LabelText=$80000019\r\nBorderColor=clNavy\r\nTransColor=$00010203\r\n"
      "Transparency=1\r\nAlphaBlend=1\r\nAlphaValue=35\r\n"
      "\r\n"
      "[Reaction]\r\n"
      "PopupMenuItem=7\r\nMainDblClick=0\r\nIconDblClick=1\r\nEnterKeyDown=2\r\n"
      "SpaceBarDown=4\r\nEscapeKeyDown=6\r\nHideTime=200\r\nHideWait=9\r\nDspCycle=6000\r\n"
      "AlarmChk=1800\r\n");

  // A new file, byte for byte: sections and keys in save order, every value in its encoding.
  IniDocument doc;
  WriteSettings(doc, s);
  EXPECT_EQ(doc.Text(), file);

  // Read back, the record is the one saved. Saving it again lists each field on a line of its
  // own, so a field that did not come back shows as the line of its key.
  TCalendarSettings back;
  ReadSettings(IniDocument(file), back);
  IniDocument again;
  WriteSettings(again, back);
  EXPECT_EQ(again.Text(), file);
  EXPECT_EQ(back.CalendarFont.Name, s.CalendarFont.Name);
  EXPECT_EQ(back.DateTimeFont.Name, s.DateTimeFont.Name);
  EXPECT_EQ(back.DateFormat, s.DateFormat);
  EXPECT_EQ(back.TimeFormat, s.TimeFormat);
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
        "AlphaValue=200\r\n", "[Reaction]\r\nPopupMenuItem=3\r\nMainDblClick=5\r\n",
        "DspCycle=50\r\nAlarmChk=5\r\n"}) {
    const std::size_t found = text.find(piece, at);
    ASSERT_NE(found, std::string::npos) << piece;
    at = found + piece.size();
  }
}

}  // namespace
}  // namespace mirovane
