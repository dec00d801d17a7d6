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

FontHandle CreateUiFont(const FontSpec& spec, UINT dpi) {
  LOGFONTW lf{};
  // A negative height asks for the character height (without internal leading), as the
  // pixel sizes of the forms mean it.
  lf.lfHeight = -Scale(spec.pixelHeight96, dpi);
  lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = spec.italic ? TRUE : FALSE;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::size_t n = std::min<std::size_t>(spec.face.size(), LF_FACESIZE - 1);
  std::copy_n(spec.face.data(), n, lf.lfFaceName);
  lf.lfFaceName[n] = L'\0';
  return FontHandle(CreateFontIndirectW(&lf));
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
