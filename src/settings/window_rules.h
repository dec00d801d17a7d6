// Window behaviour that needs no window handle: the temporary-hide countdown and the 5-second
// position rules (pinning to the remembered position, keeping the window on its monitor).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "settings/layout.h"
#include "settings/settings.h"

namespace mirovane {

enum class HideAction { None, Hide, Show };

// One 100 ms tick of the hide countdown. While busy or idle (countdown 0) nothing happens; when
// the countdown runs out a shown window hides for `hideTime` ticks and a hidden one comes back.
HideAction HideTick(bool busy, bool visible, std::uint8_t hideTime, std::uint8_t& countdown);

// `monitors` below: every monitor's full rectangle (the task bar not subtracted) in desktop
// coordinates, the primary one first. The primary starts at 0,0; the others may lie at larger or
// negative coordinates. The stored positions count from the primary: LeftPosition with AlignRight
// is a distance from the primary's right edge. An empty list leaves every window where it is.

// Where the 5-second tick moves the window, or nothing to leave it. `window` is its current
// rectangle. MemoryPosition pins it to the remembered place, or onto the primary monitor when that
// place lies on no monitor; InnerDesktop keeps it inside the monitor it overlaps most, or inside
// the primary one when it overlaps none.
std::optional<Point> PositionTick(const TCalendarSettings& s, Rect window,
                                  std::span<const Rect> monitors);

// Where a window that lies on no monitor must go to be seen: the nearest place inside the primary
// monitor. Nothing when it overlaps some monitor already.
std::optional<Point> OntoAMonitor(Rect window, std::span<const Rect> monitors);

// The window's left edge for a LeftPosition value (a distance from the right edge with AlignRight).
int LeftFromSetting(const TCalendarSettings& s, int windowWidth, int screenWidth);
// The LeftPosition value that describes a window at `left`.
int LeftToSetting(const TCalendarSettings& s, int left, int windowWidth, int screenWidth);

}  // namespace mirovane
