// Points, sizes and rectangles in pixels, for the placement rules of every window: plain values
// without a window handle, so the rules that compute them run natively.
#pragma once

namespace mirovane {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int w = 0;
  int h = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool operator==(const Rect&) const = default;
  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
};

}  // namespace mirovane
