#include "ui/dpi.h"

#include <algorithm>

#include "platform/codec.h"

namespace mirovane::ui {

UINT WindowDpi(HWND hwnd) noexcept {
  const UINT dpi = hwnd ? GetDpiForWindow(hwnd) : 0;
  return dpi ? dpi : kDefaultDpi;
}

const std::wstring& DefaultFontFace() {
  static const std::wstring face = Utf8ToWide("ＭＳ Ｐゴシック");
  return face;
}

FontHandle CreateShiftJisFont(std::wstring_view face, int pixelHeight, bool bold, bool italic) {
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
