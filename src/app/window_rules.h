// Window behaviour that needs no window handle: the temporary-hide countdown and the 5-second
// position rules (pinning to the remembered position, keeping the window on the screen).
#pragma once

#include <cstdint>
#include <optional>

#include "app/layout.h"
#include "app/settings.h"

namespace mirovane {

enum class HideAction { None, Hide, Show };

// One 100 ms tick of the hide countdown. While busy or idle (countdown 0) nothing happens; when
// the countdown runs out a shown window hides for `hideTime` ticks and a hidden one comes back.
HideAction HideTick(bool busy, bool visible, std::uint8_t hideTime, std::uint8_t& countdown);

// Where the 5-second tick moves the window, or nothing to leave it. `window` is its current
// rectangle, `screen` the primary screen's full size.
std::optional<Point> PositionTick(const TCalendarSettings& s, Rect window, Size screen);

// The window's left edge for a LeftPosition value (a distance from the right edge with AlignRight).
int LeftFromSetting(const TCalendarSettings& s, int windowWidth, int screenWidth);
// The LeftPosition value that describes a window at `left`.
int LeftToSetting(const TCalendarSettings& s, int left, int windowWidth, int screenWidth);

}  // namespace mirovane
