#include "ui/dpi.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/codec.h"

namespace mirovane::ui {
namespace {

std::size_t MissingNeededGlyphs(std::wstring_view face);

// What every font of the program must be able to draw: digits and Latin letters (times, day
// numbers, "OK"), kana and kanji (weekdays, months, eras, captions), full-width digits.
constexpr std::wstring_view kNeededGlyphs =
    L"0123456789:/.-+ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
    L"\u65e5\u6708\u706b\u6c34\u6728\u91d1\u571f\u5e74\u6642\u5206\u79d2\u5348"
    L"\u524d\u5f8c\u3042\u30a2\uff10\uff19";

LOGFONTW ShiftJisLogFont(std::wstring_view face, int pixelHeight, bool bold, bool italic) {
  LOGFONTW lf{};
  // A negative height asks for the character height (without internal leading).
  lf.lfHeight = -pixelHeight;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::size_t n = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  std::copy_n(face.data(), n, lf.lfFaceName);
  lf.lfFaceName[n] = L'\0';
  return lf;
}

bool FaceInstalled(std::wstring_view face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  std::copy_n(face.data(), face.size(), lf.lfFaceName);
  bool found = false;
  const HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(
      dc, &lf,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM flag) -> int {
        *reinterpret_cast<bool*>(flag) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

// The Shift-JIS families installed, fixed-pitch ones first when `fixedFirst`; vertical ("@")
// faces are left out.
std::vector<std::wstring> ShiftJisFamilies(bool fixedFirst) {
  struct Found {
    std::vector<std::wstring> fixed, proportional;
  } found;
  LOGFONTW lf{};
  lf.lfCharSet = SHIFTJIS_CHARSET;
  const HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(
      dc, &lf,
      [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM lp) -> int {
        auto* f = reinterpret_cast<Found*>(lp);
        const std::wstring face = font->lfFaceName;
        if (face.empty() || face[0] == L'@') return 1;
        auto& list = (font->lfPitchAndFamily & 0x3) == FIXED_PITCH ? f->fixed : f->proportional;
        if (std::find(list.begin(), list.end(), face) == list.end()) list.push_back(face);
        return 1;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  std::vector<std::wstring> all = fixedFirst ? found.fixed : found.proportional;
  const auto& rest = fixedFirst ? found.proportional : found.fixed;
  all.insert(all.end(), rest.begin(), rest.end());
  return all;
}

// How many of the needed glyphs the font that `face` gives lacks.
std::size_t MissingNeededGlyphs(std::wstring_view face) {
  const LOGFONTW lf = ShiftJisLogFont(face, 16, false, false);
  const FontHandle font(CreateFontIndirectW(&lf));
  return font ? MissingGlyphs(font.get(), kNeededGlyphs) : kNeededGlyphs.size();
}

bool IsFixedPitchJapaneseFace(std::wstring_view face) {
  static const std::vector<std::wstring> fixed{Utf8ToWide("ＭＳ ゴシック"), L"MS Gothic",
                                               Utf8ToWide("ＭＳ 明朝"), L"MS Mincho"};
  return std::find(fixed.begin(), fixed.end(), face) != fixed.end();
}

// The face to create for `face`: the face itself when it is installed, or when the system's
// font mapper finds a stand-in that draws everything; otherwise the first installed font that
// does: the usual Japanese UI fonts, the system's message font, then any Shift-JIS family.
std::wstring ChooseFace(std::wstring_view face) {
  if (FaceInstalled(face) || MissingNeededGlyphs(face) == 0) return std::wstring(face);
  const bool fixed = IsFixedPitchJapaneseFace(face);
  std::vector<std::wstring> candidates;
  if (fixed) {
    candidates = {Utf8ToWide("ＭＳ ゴシック"), L"MS Gothic"};
  }
  for (const char* utf8 : {"Meiryo UI", "Yu Gothic UI", "MS UI Gothic", "ＭＳ Ｐゴシック",
                           "MS PGothic", "メイリオ", "Meiryo", "ＭＳ ゴシック", "MS Gothic"}) {
    candidates.push_back(Utf8ToWide(utf8));
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    candidates.emplace_back(metrics.lfMessageFont.lfFaceName);
  }
  const std::vector<std::wstring> families = ShiftJisFamilies(fixed);
  candidates.insert(candidates.end(), families.begin(), families.end());

  std::wstring best(face);
  std::size_t fewest = MissingNeededGlyphs(face);
  for (const std::wstring& candidate : candidates) {
    if (!FaceInstalled(candidate)) continue;
    const std::size_t missing = MissingNeededGlyphs(candidate);
    if (missing < fewest) {
      best = candidate;
      fewest = missing;
      if (missing == 0) break;
    }
  }
  return best;
}

}  // namespace

FontSpec ProportionalFont(int pixelHeight96) {
  FontSpec font;
  font.pixelHeight96 = pixelHeight96;
  return font;
}

FontSpec FixedPitchFont(int pixelHeight96) {
  FontSpec font;
  font.face = Utf8ToWide("ＭＳ ゴシック");
  font.pixelHeight96 = pixelHeight96;
  return font;
}

std::size_t MissingGlyphs(HFONT font, std::wstring_view text) {
  if (text.empty()) return 0;
  const HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return text.size();
  const HGDIOBJ old = SelectObject(dc, font);
  std::vector<WORD> glyphs(text.size());
  const DWORD done = GetGlyphIndicesW(dc, text.data(), static_cast<int>(text.size()), glyphs.data(),
                                      GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, old);
  DeleteDC(dc);
  if (done == GDI_ERROR) return text.size();
  std::size_t missing = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Line ends and other controls are never drawn as glyphs.
    if (glyphs[i] == 0xFFFF && text[i] >= L' ') ++missing;
  }
  return missing;
}

std::wstring DrawableFace(std::wstring_view face) {
  static std::mutex mutex;
  static std::map<std::wstring, std::wstring, std::less<>> chosen;
  const std::lock_guard lock(mutex);
  if (const auto it = chosen.find(face); it != chosen.end()) return it->second;
  return chosen.emplace(std::wstring(face), ChooseFace(face)).first->second;
}

UINT WindowDpi(HWND hwnd) noexcept {
  const UINT dpi = hwnd ? GetDpiForWindow(hwnd) : 0;
  return dpi ? dpi : kDefaultDpi;
}

const std::wstring& DefaultFontFace() {
  static const std::wstring face = Utf8ToWide("ＭＳ Ｐゴシック");
  return face;
}

FontHandle CreateShiftJisFont(std::wstring_view face, int pixelHeight, bool bold, bool italic) {
  const LOGFONTW lf = ShiftJisLogFont(DrawableFace(face), pixelHeight, bold, italic);
  return FontHandle(CreateFontIndirectW(&lf));
}

FontHandle CreateUiFont(const FontSpec& font, UINT dpi) {
  return CreateShiftJisFont(font.face, Scale(font.pixelHeight96, dpi), font.bold, font.italic);
}

SIZE MeasureText(HWND hwnd, HFONT font, const std::wstring& text) {
  SIZE size{0, 0};
  WindowDc dc(hwnd);
  if (!dc) return size;
  SelectedObject selected(dc.get(), font);
  if (text.empty()) {
    // An empty text still takes one line.
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    size.cy = tm.tmHeight;
    return size;
  }
  GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &size);
  return size;
}

}  // namespace mirovane::ui
