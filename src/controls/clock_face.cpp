#include "controls/clock_face.h"

#include <cmath>

#include "platform/codec.h"

namespace mirovane {

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

// Rounds to the nearest integer, ties to even.
int Round(double v) { return static_cast<int>(std::nearbyint(v)); }

// A length of 96-DPI pixels at `dpi`, halves rounded up (as the system's MulDiv rounds).
int DpiPixels(int pixels96, int dpi) { return (pixels96 * dpi * 2 + 96) / 192; }

struct Mark {
  const char* text;
  double a;
  double b;
};

constexpr Mark kNumbers[12] = {
    {"1", 0.5, 0.866},  {"2", 0.866, 0.5},   {"3", 1, 0},         {"4", 0.866, -0.5},
    {"5", 0.5, -0.866}, {"6", 0, -1},        {"7", -0.5, -0.866}, {"8", -0.866, -0.5},
    {"9", -1, 0},       {"10", -0.866, 0.5}, {"11", -0.5, 0.866}, {"12", 0, 1},
};

}  // namespace

double HourHandDegrees(int hour, int minute, int second) {
  return hour * 30 + minute * 0.5 + second * 0.0083;
}
double MinuteHandDegrees(int minute, int second) { return minute * 6 + second * 0.1; }
double SecondHandDegrees(int second) { return second * 6.0; }

void DrawClockFace(ClockCanvas& canvas, int width, int height, int hour, int minute, int second,
                   const ClockColors& colors, int dpi) {
  DrawClockDial(canvas, width, height, colors, dpi);
  DrawClockHands(canvas, height, hour, minute, second, colors, dpi);
}

void DrawClockDial(ClockCanvas& canvas, int width, int height, const ClockColors& colors, int dpi) {
  const auto px = [dpi](int pixels96) { return DpiPixels(pixels96, dpi); };
  const int r = height / 2;
  const int t = canvas.TextHeight("0");

  // Rings: a wide face gets a 2-pixel outer ring and an inner ring.
  const bool wide = 2.5 * t < r;
  canvas.SetBrush(colors.labelBack, true);
  canvas.SetPen(colors.titleBack, px(wide ? 2 : 1));
  canvas.Ellipse(0, 0, width, height);
  if (wide) {
    canvas.SetPen(colors.trailText, px(1));
    canvas.Ellipse(px(3), px(3), width - px(3), height - px(3));
  }

  // Hour marks: numbers on a large face, dots at the quarters on a middle one.
  canvas.SetBrush(colors.labelBack, false);
  const int c = r - t / 2;
  const int d = c - px(7);
  const auto mark = [&](const Mark& m, std::string_view text) {
    const double tw = canvas.TextWidth(text);
    canvas.Text(Round(r - tw / 2 + m.a * d), Round(c - m.b * d), text, colors.labelText);
  };
  if (3 * t < r) {
    for (const Mark& m : kNumbers) mark(m, m.text);
  } else if (2 * t < r) {
    static const std::string dot = Utf8ToCp932("・");
    for (int i : {2, 5, 8, 11}) mark(kNumbers[i], dot);
  }
}

void DrawClockHands(ClockCanvas& canvas, int height, int hour, int minute, int second,
                    const ClockColors& colors, int dpi) {
  const int pen = DpiPixels(1, dpi);
  const int r = height / 2;
  const auto at = [r](double len, double a, double b) {
    return Point{Round(r + len * a), Round(r - len * b)};
  };
  // Hands: hour, minute, then second on top.
  canvas.SetBrush(colors.labelBack, true);
  const auto diamond = [&](double degrees, double length, int n, ColorValue color) {
    const double s = std::sin(degrees * kDegree);
    const double k = std::cos(degrees * kDegree);
    const double side = r * n / 30.0;
    canvas.SetPen(color, pen);
    canvas.SetBrush(color, true);
    const Point points[4] = {at(length, s, k), at(side, -k, s), at(length / 10, -s, -k),
                             at(side, k, -s)};
    canvas.Polygon(points);
  };
  diamond(HourHandDegrees(hour, minute, second), 0.6 * r, 3, colors.labelText);
  diamond(MinuteHandDegrees(minute, second), 0.85 * r, 2, colors.labelBack ^ 0xFFFFFFu);
  const double s = std::sin(SecondHandDegrees(second) * kDegree);
  const double k = std::cos(SecondHandDegrees(second) * kDegree);
  canvas.SetPen(colors.borderColor, pen);
  canvas.Line(at(0.85 * r, s, k), at(r / 50.0, -s, -k));
}

}  // namespace mirovane
