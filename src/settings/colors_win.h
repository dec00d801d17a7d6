// A colour value as GDI takes it: system colours are looked up now, so a change of the system's
// colours shows at the next drawing.
#pragma once

#include <windows.h>

#include "settings/colors.h"

namespace mirovane {

COLORREF ToColorRef(ColorValue value);

}  // namespace mirovane
