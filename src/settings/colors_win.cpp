#include "settings/colors_win.h"

namespace mirovane {

COLORREF ToColorRef(ColorValue value) {
  if (value & kSystemColorFlag) return GetSysColor(static_cast<int>(value & 0xFF));
  return static_cast<COLORREF>(value & 0x00FFFFFF);
}

}  // namespace mirovane
