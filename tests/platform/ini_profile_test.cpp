// Our INI reader against the system's private-profile functions, on files of the kinds users
// write by hand: both must find the same value (or the same absence) for every key. And a file
// we save must read back through the system's reader with the values we meant.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/test_folder.h"
#include "platform/codec.h"
#include "platform/ini.h"
#include "platform/ini_file.h"
#include "settings/settings.h"
#include "settings/settings_codec.h"

namespace mirovane {
namespace {

using testing::TestFolder;

constexpr wchar_t kAbsent[] = L"\x01<absent>";

// What GetPrivateProfileStringW finds; nothing when it falls back to the default.
std::optional<std::wstring> SystemValue(const std::filesystem::path& file,
                                        const std::wstring& section, const std::wstring& key) {
  std::wstring buffer(4096, L'\0');
  const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), kAbsent, buffer.data(),
                                           static_cast<DWORD>(buffer.size()), file.c_str());
  buffer.resize(n);
  if (buffer == kAbsent) return std::nullopt;
  return buffer;
}

std::optional<std::wstring> OurValue(const IniDocument& doc, const std::string& section,
                                     const std::string& key) {
  const auto v = doc.Get(section, key);
  if (!v) return std::nullopt;
  return Cp932ToWide(*v);
}

std::wstring Show(const std::optional<std::wstring>& v) {
  return v ? L"\"" + *v + L"\"" : L"(absent)";
}

struct Query {
  const char* section;  // UTF-8
  const char* key;      // UTF-8
};

struct AwkwardFile {
  const char* name;
  const char* text;  // UTF-8; stored as cp932
  std::vector<Query> queries;
};

const std::vector<AwkwardFile>& AwkwardFiles() {
  static const std::vector<AwkwardFile> files = {
      {"spacing",
       "  [ Spaced ]  \r\n"
       "  Key1  =  value one  \r\n"
       "\tKey2\t=\tvalue\ttwo\t\r\n"
       "Key 3 = inner blanks \r\n"
       "\r\n"
       "   \r\n"
       "Key4=   \r\n"
       "Eq = a=b = c\r\n",
       {{"Spaced", "Key1"},
        {"spaced", "KEY2"},
        {"Spaced", "Key 3"},
        {"Spaced", "Key4"},
        {"Spaced", "Eq"},
        {"Spaced", "Key"},
        {"Spaced", "Key 3 "},
        {" Spaced", "Key1"}}},
      {"quotes",
       "[Q]\r\n"
       "Double=\"  both  \"\r\n"
       "Single='  both  '\r\n"
       "Mixed=\"  mixed'\r\n"
       "OnlyOpen=\"open\r\n"
       "OnlyClose=close\"\r\n"
       "Inner=a \"b\" c\r\n"
       "Empty=\"\"\r\n"
       "OneChar=\"\r\n"
       "Nested=\"\"x\"\"\r\n"
       "Spaced =  \"x\"  \r\n"
       "DateFormat=\"  yyyy/mm/dd  \"\r\n",
       {{"Q", "Double"},
        {"Q", "Single"},
        {"Q", "Mixed"},
        {"Q", "OnlyOpen"},
        {"Q", "OnlyClose"},
        {"Q", "Inner"},
        {"Q", "Empty"},
        {"Q", "OneChar"},
        {"Q", "Nested"},
        {"Q", "Spaced"},
        {"Q", "DateFormat"}}},
      {"duplicates",
       "[Dup]\r\n"
       "Key=first\r\n"
       "KEY=second\r\n"
       "key=third\r\n"
       "[Other]\r\n"
       "Key=other\r\n"
       "[dup]\r\n"
       "Key=second section\r\n"
       "Extra=only in the second section\r\n",
       {{"Dup", "Key"}, {"DUP", "key"}, {"Dup", "Extra"}, {"Other", "Key"}}},
      {"missing sections and keys",
       "[A]\r\n"
       "K=1\r\n",
       {{"A", "K"}, {"B", "K"}, {"A", "Missing"}, {"MainForm", "TopPosition"}}},
      {"comments",
       "; leading comment\r\n"
       "[C]\r\n"
       ";Key=commented\r\n"
       "  ; Indented=1\r\n"
       "Key=value ; not a comment\r\n"
       "#Hash=1\r\n"
       "//Slash=1\r\n"
       "Real=1\r\n",
       {{"C", "Key"},
        {"C", "Indented"},
        {"C", "#Hash"},
        {"C", "//Slash"},
        {"C", "Real"},
        {"C", ";Key"}}},
      {"LF line ends",
       "[L]\n"
       "A=1\n"
       "B=two words\n"
       "[M]\n"
       "C=3",
       {{"L", "A"}, {"L", "B"}, {"M", "C"}}},
      {"CR LF, no final line end",
       "[E]\r\n"
       "First=1\r\n"
       "\r\n"
       "Last=end",
       {{"E", "First"}, {"E", "Last"}}},
      {"keys without equals sign",
       "[N]\r\n"
       "JustKey\r\n"
       "Key Two\r\n"
       "=NoKey\r\n"
       "Real=1\r\n",
       {{"N", "JustKey"}, {"N", "Key Two"}, {"N", "Real"}, {"N", "NoKey"}}},
      {"empty values",
       "[V]\r\n"
       "Empty=\r\n"
       "Blank=    \r\n"
       "Tab=\t\r\n",
       {{"V", "Empty"}, {"V", "Blank"}, {"V", "Tab"}}},
      {"section headers",
       "Orphan=1\r\n"
       "[Trail] junk\r\n"
       "K=trail\r\n"
       "[Open\r\n"
       "K=open\r\n"
       "[Inner ] x]\r\n"
       "K=inner\r\n",
       {{"Trail", "K"}, {"Open", "K"}, {"Inner", "K"}, {"Trail", "Orphan"}, {"Inner ] x", "K"}}},
      {"header without closing bracket",
       "[First]\r\n"
       "A=1\r\n"
       "[Open\r\n"
       "K2=open\r\n"
       "[Open=1\r\n",
       {{"First", "K2"}, {"Open", "K2"}, {"First", "[Open"}}},
      {"lone CR line ends",
       "[R]\rA=1\rB=2\r\n[S]\r\nC=3\r\n",
       {{"R", "A"}, {"R", "B"}, {"S", "C"}}},
      {"full-width letters are not folded",
       "[Ｆｕｌｌ]\r\nＡＢＣ=1\r\nΑΒ=2\r\n",
       {{"ｆｕｌｌ", "ａｂｃ"}, {"Ｆｕｌｌ", "ＡＢＣ"}, {"Ｆｕｌｌ", "αβ"}}},
      {"Japanese in cp932",
       "[日本語]\r\n"
       "表示=ソ能\r\n"
       "キー = 値 \r\n"
       "予定表=能\\\r\n"
       "[Calendar]\r\n"
       "FontName=ＭＳ Ｐゴシック\r\n"
       "DateFormat=\"ggge'年'm'月'd'日'\"\r\n",
       {{"日本語", "表示"},
        {"日本語", "キー"},
        {"日本語", "予定表"},
        {"Calendar", "FontName"},
        {"Calendar", "DateFormat"},
        {"日本語", "表"}}},
  };
  return files;
}

class IniAgainstSystem : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The system reads a file without a byte-order mark in the ANSI code page.
    ASSERT_EQ(GetACP(), 932u);
  }
  TestFolder folder_;
};

TEST_F(IniAgainstSystem, AwkwardFilesReadTheSame) {
  int index = 0;
  std::wstring disagreements;
  for (const AwkwardFile& file : AwkwardFiles()) {
    // One file per case: the system caches the files it has read.
    const std::string bytes = Utf8ToCp932(file.text);
    const auto path = folder_.Write("case" + std::to_string(++index) + ".ini", bytes);
    const IniDocument doc(bytes);
    for (const Query& q : file.queries) {
      const auto system = SystemValue(path, Utf8ToWide(q.section), Utf8ToWide(q.key));
      const auto ours = OurValue(doc, Utf8ToCp932(q.section), Utf8ToCp932(q.key));
      if (system != ours) {
        disagreements += Utf8ToWide(file.name) + L": [" + Utf8ToWide(q.section) + L"] " +
                         Utf8ToWide(q.key) + L": system " + Show(system) + L", ours " + Show(ours) +
                         L"\n";
      }
    }
  }
  EXPECT_TRUE(disagreements.empty()) << WideToUtf8(disagreements);
}

// Files saved with a byte-order mark (UTF-8, and UTF-16 in both byte orders): our reader finds
// what the system's reader finds, the first section too. Saved in the file's own encoding, an
// unchanged document gives the file back byte for byte (a line cp932 cannot hold included), and
// a changed value is what the system then reads.
TEST_F(IniAgainstSystem, ByteOrderMarkedFilesReadAndSaveLikeTheSystem) {
  const std::string before =
      "[日本語]\r\n"
      "表示=ソ能\r\n"
      "キー = 値 \r\n"
      "; 🙂\r\n"
      "[Calendar]\r\n"
      "FontName=ＭＳ Ｐゴシック\r\n"
      "DateFormat=\"ggge'年'\"\r\n";
  std::string after = before;
  after.replace(after.find("ソ能"), std::string_view("ソ能").size(), "新しい値");

  enum Kind { kUtf8, kUtf16Le, kUtf16Be };
  const auto stored = [](Kind kind, const std::string& utf8) {
    if (kind == kUtf8) return "\xEF\xBB\xBF" + utf8;
    const bool bigEndian = kind == kUtf16Be;
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const wchar_t c : Utf8ToWide(utf8)) {
      const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
      bytes += bigEndian ? high : low;
      bytes += bigEndian ? low : high;
    }
    return bytes;
  };
  const std::vector<Query> queries = {{"日本語", "表示"},       {"日本語", "キー"},
                                      {"Calendar", "FontName"}, {"calendar", "DATEFORMAT"},
                                      {"Missing", "表示"},      {"日本語", "Missing"}};
  for (const Kind kind : {kUtf8, kUtf16Le, kUtf16Be}) {
    SCOPED_TRACE(kind);
    const std::string bytes = stored(kind, before);
    const auto path = folder_.Write("marked" + std::to_string(kind) + ".ini", bytes);
    const DecodedIniFile file = DecodeIniFile(bytes);
    IniDocument doc(file.text);
    for (const Query& q : queries) {
      EXPECT_EQ(SystemValue(path, Utf8ToWide(q.section), Utf8ToWide(q.key)),
                OurValue(doc, Utf8ToCp932(q.section), Utf8ToCp932(q.key)))
          << "[" << q.section << "] " << q.key;
    }
    EXPECT_EQ(OurValue(doc, Utf8ToCp932("日本語"), Utf8ToCp932("表示")), Utf8ToWide("ソ能"));
    EXPECT_EQ(EncodeIniFile(doc.Text(), file.format), bytes);

    doc.Set(Utf8ToCp932("日本語"), Utf8ToCp932("表示"), Utf8ToCp932("新しい値"));
    const std::string saved = EncodeIniFile(doc.Text(), file.format);
    EXPECT_EQ(saved, stored(kind, after));
    const auto savedPath = folder_.Write("saved" + std::to_string(kind) + ".ini", saved);
    EXPECT_EQ(SystemValue(savedPath, Utf8ToWide("日本語"), Utf8ToWide("表示")),
              Utf8ToWide("新しい値"));
    EXPECT_EQ(SystemValue(savedPath, L"Calendar", L"FontName"), Utf8ToWide("ＭＳ Ｐゴシック"));
  }
}

TEST_F(IniAgainstSystem, SavedSettingsReadBackThroughTheSystem) {
  TCalendarSettings s;
  s.TopPosition = -20;
  s.LeftPosition = 1234;
  s.BorderWidth = 4;
  s.CalendarPosition = 0x12;
  s.ShowMonthCount = 0x34;
  s.CalendarFont = {Utf8ToCp932("ＭＳ ゴシック"), 14, /*Italic=*/false, /*Bold=*/true};
  s.DateFormat = Utf8ToCp932("  ggge'年'm'月'd'日'  ");
  s.TimeFormat = Utf8ToCp932("\"hh\":nn");  // quotes of its own inside the added pair
  s.FontSizeChange = -3;
  s.CalendarBack = 0x00123456;  // no name: "$00123456"
  s.LabelBack = kSystemColorFlag | COLOR_BTNFACE;
  s.AlarmChk = 1800;

  // Saved over a file with a comment and a key and a section of someone else's.
  IniDocument doc(Utf8ToCp932("; 手で書いた\r\n[MainForm]\r\nCustom=keep\r\n[Mine]\r\nX=1\r\n"));
  WriteSettings(doc, s);
  const auto path = folder_.Write("saved.ini", doc.Text());

  const auto sys = [&](const wchar_t* section, const wchar_t* key) {
    return SystemValue(path, section, key).value_or(L"(absent)");
  };
  EXPECT_EQ(sys(L"MainForm", L"TopPosition"), L"-20");
  EXPECT_EQ(sys(L"MainForm", L"LeftPosition"), L"1234");
  EXPECT_EQ(sys(L"MainForm", L"BorderWidth"), L"4");
  EXPECT_EQ(sys(L"MainForm", L"Custom"), L"keep");
  EXPECT_EQ(sys(L"Mine", L"X"), L"1");
  EXPECT_EQ(sys(L"Calendar", L"CalendarPosition"), L"18");
  EXPECT_EQ(sys(L"Calendar", L"ShowMonthCount"), L"52");
  EXPECT_EQ(sys(L"Calendar", L"FontName"), Utf8ToWide("ＭＳ ゴシック"));
  EXPECT_EQ(sys(L"Calendar", L"FontBold"), L"1");
  EXPECT_EQ(sys(L"DateTime", L"DateFormat"), Utf8ToWide("  ggge'年'm'月'd'日'  "));
  EXPECT_EQ(sys(L"DateTime", L"TimeFormat"), L"\"hh\":nn");
  EXPECT_EQ(sys(L"DateTime", L"FontSizeChange"), L"-3");
  EXPECT_EQ(sys(L"ColorSet", L"CalendarBack"), L"$00123456");
  EXPECT_EQ(sys(L"ColorSet", L"LabelBack"), L"clBtnFace");
  EXPECT_EQ(sys(L"ColorSet", L"TitleBack"), L"clGreen");
  EXPECT_EQ(sys(L"Reaction", L"AlarmChk"), L"1800");

  // Every key the system finds in the file, we find with the same value.
  std::wstring names(16384, L'\0');
  for (const wchar_t* section : {L"MainForm", L"Calendar", L"DateTime", L"ColorSet", L"Reaction"}) {
    const DWORD n = GetPrivateProfileStringW(section, nullptr, L"", names.data(),
                                             static_cast<DWORD>(names.size()), path.c_str());
    int keys = 0;
    const wchar_t* const end = names.data() + n;
    for (const wchar_t* key = names.data(); key < end && *key; key += wcslen(key) + 1) {
      ++keys;
      EXPECT_EQ(SystemValue(path, section, key),
                OurValue(doc, WideToCp932(section), WideToCp932(key)))
          << WideToUtf8(section) << "/" << WideToUtf8(key);
    }
    EXPECT_GE(keys, 5) << WideToUtf8(section);
  }

  // And the settings read back from the file are the ones saved.
  TCalendarSettings back;
  ReadSettings(IniDocument(testing::ReadBytes(path)), back);
  EXPECT_EQ(back.DateFormat, s.DateFormat);
  EXPECT_EQ(back.TimeFormat, s.TimeFormat);
  EXPECT_EQ(back.CalendarFont.Name, s.CalendarFont.Name);
  EXPECT_EQ(back.CalendarBack, s.CalendarBack);
  EXPECT_EQ(back.LabelBack, s.LabelBack);
  EXPECT_EQ(back.TopPosition, s.TopPosition);
  EXPECT_EQ(back.FontSizeChange, s.FontSizeChange);
}

}  // namespace
}  // namespace mirovane
