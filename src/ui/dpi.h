// DPI scaling: layout constants are written as 96-DPI pixels and scaled for the window's monitor;
// fonts are created for a DPI and rebuilt when the window moves to a monitor with another DPI.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "ui/gdi.h"

namespace mirovane::ui {

inline constexpr UINT kDefaultDpi = 96;

// The DPI the window is drawn at (96 when the window is null or the system cannot tell).
UINT WindowDpi(HWND hwnd) noexcept;

// A length in 96-DPI pixels at `dpi`.
inline int Scale(int pixels96, UINT dpi) noexcept {
  return MulDiv(pixels96, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

// The common font dialog's range of sizes in points; a hand-edited file may hold anything.
inline constexpr int kMinFontPoints = 1;
inline constexpr int kMaxFontPoints = 1638;
// The character height in pixels of a font of `points` points at `dpi`, the size taken within
// the font dialog's range first.
inline int PointsToPixels(int points, UINT dpi) noexcept {
  const int clamped = points < kMinFontPoints   ? kMinFontPoints
                      : points > kMaxFontPoints ? kMaxFontPoints
                                                : points;
  return MulDiv(clamped, static_cast<int>(dpi), 72);
}

// The program's default face "ＭＳ Ｐゴシック".
const std::wstring& DefaultFontFace();

struct FontSpec {
  std::wstring face = DefaultFontFace();
  int pixelHeight96 = 12;  // character height in pixels at 96 DPI
  bool bold = false;
  bool italic = false;
};

// The default face at `pixelHeight96`.
FontSpec ProportionalFont(int pixelHeight96);
// The fixed-pitch face "ＭＳ ゴシック" at `pixelHeight96`: for texts in fixed columns, such as
// alarm lines.
FontSpec FixedPitchFont(int pixelHeight96);

// The face a font asked for as `face` is created with: `face` itself when it is installed (or the
// system maps it to a font that draws digits, Latin letters, kana and kanji alike); otherwise an
// installed font that does, so that a Windows without the Japanese faces shows no empty boxes.
// Settings keep the face as written; this only changes what is drawn. Decided once per face.
std::wstring DrawableFace(std::wstring_view face);
// How many characters of `text` (line ends and other control characters aside) `font` has no glyph
// for: what would be drawn as an empty box.
std::size_t MissingGlyphs(HFONT font, std::wstring_view text);
// A Shift-JIS font with the given face (see DrawableFace) and character height in pixels.
FontHandle CreateShiftJisFont(std::wstring_view face, int pixelHeight, bool bold, bool italic);
// A Shift-JIS font of `font` scaled for `dpi`.
FontHandle CreateUiFont(const FontSpec& font, UINT dpi);

// The one-line extent of `text` drawn with `font` on `hwnd`'s DC.
SIZE MeasureText(HWND hwnd, HFONT font, const std::wstring& text);

}  // namespace mirovane::ui
