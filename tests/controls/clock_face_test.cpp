#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "controls/clock_face.h"
#include "support.h"

namespace mirovane {
namespace {

// Records every call; text is measured as 6 pixels per byte and `textHeight` high.
class RecordingCanvas : public ClockCanvas {
 public:
  explicit RecordingCanvas(int textHeight) : textHeight_(textHeight) {}

  struct Call {
    std::string op;
    std::vector<int> args{};
    std::string text{};
    ColorValue color = 0;
  };
  std::vector<Call> calls;

  void SetPen(ColorValue color, int width) override {
    calls.push_back({"pen", {width}, "", color});
  }
  void SetBrush(ColorValue color, bool solid) override {
    calls.push_back({"brush", {solid ? 1 : 0}, "", color});
  }
  void Ellipse(int l, int t, int r, int b) override { calls.push_back({"ellipse", {l, t, r, b}}); }
  void Polygon(const Point (&p)[4]) override {
    calls.push_back({"polygon", {p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y}});
  }
  void Line(Point a, Point b) override { calls.push_back({"line", {a.x, a.y, b.x, b.y}}); }
  void Text(int x, int y, std::string_view s, ColorValue color) override {
    calls.push_back({"text", {x, y}, std::string(s), color});
  }
  int TextWidth(std::string_view s) override { return 6 * static_cast<int>(s.size()); }
  int TextHeight(std::string_view) override { return textHeight_; }

  std::vector<Call> Of(const std::string& op) const {
    std::vector<Call> out;
    for (const Call& c : calls) {
      if (c.op == op) out.push_back(c);
    }
    return out;
  }

 private:
  int textHeight_;
};

const ClockColors kColors{0x00F0FBFF, 0x00000001, 0x00808000, 0x00008000, 0x00008080};

TEST(ClockFace, SixtyPixelFaceHasThinRingAndDots) {
  RecordingCanvas c(12);
  DrawClockFace(c, 60, 60, 9, 0, 0, kColors);
  const auto ellipses = c.Of("ellipse");
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].args, (std::vector<int>{0, 0, 60, 60}));
  EXPECT_EQ(c.calls[1].op, "pen");
  EXPECT_EQ(c.calls[1].args[0], 1);
  EXPECT_EQ(c.calls[1].color, kColors.titleBack);
  const auto texts = c.Of("text");
  ASSERT_EQ(texts.size(), 4u);
  // c = 30 - 6 = 24, d = 17; the dot is two bytes (12 px wide in this recorder).
  EXPECT_EQ(texts[0].text, test::Sj("・"));
  EXPECT_EQ(texts[0].args, (std::vector<int>{30 - 6 + 17, 24}));  // 3 o'clock
  EXPECT_EQ(texts[1].args, (std::vector<int>{24, 24 + 17}));      // 6
  EXPECT_EQ(texts[2].args, (std::vector<int>{24 - 17, 24}));      // 9
  EXPECT_EQ(texts[3].args, (std::vector<int>{24, 24 - 17}));      // 12
  EXPECT_EQ(c.Of("polygon").size(), 2u);
  EXPECT_EQ(c.Of("line").size(), 1u);
}

// At 144 DPI the same face at 1.5 times the size: pens, the inner ring's offset and the marks'
// distance from the ring are 1.5 times theirs (halves rounded up), the text follows its font.
TEST(ClockFace, At144DpiFixedDistancesAndPensAreScaled) {
  RecordingCanvas c(18);
  DrawClockFace(c, 150, 150, 0, 0, 0, kColors, 144);
  const auto ellipses = c.Of("ellipse");
  ASSERT_EQ(ellipses.size(), 2u);
  EXPECT_EQ(ellipses[1].args, (std::vector<int>{5, 5, 145, 145}));  // 3 -> 4.5 -> 5
  std::vector<int> widths;
  for (const auto& pen : c.Of("pen")) widths.push_back(pen.args[0]);
  // Outer ring 2 -> 3, inner ring 1 -> 2, the three hands 1 -> 2.
  EXPECT_EQ(widths, (std::vector<int>{3, 2, 2, 2, 2}));
  // d = 75 - 9 - 11 = 55 around (75, 66): "12" (12 px in this recorder) at the top.
  const auto texts = c.Of("text");
  ASSERT_EQ(texts.size(), 12u);
  EXPECT_EQ(texts[11].args, (std::vector<int>{69, 66 - 55}));
}

TEST(ClockFace, HundredPixelFaceHasInnerRingAndNumbers) {
  RecordingCanvas c(12);
  DrawClockFace(c, 100, 100, 0, 0, 0, kColors);
  const auto ellipses = c.Of("ellipse");
  ASSERT_EQ(ellipses.size(), 2u);
  EXPECT_EQ(ellipses[1].args, (std::vector<int>{3, 3, 97, 97}));
  const auto pens = c.Of("pen");
  EXPECT_EQ(pens[0].args[0], 2);
  EXPECT_EQ(pens[1].args[0], 1);
  EXPECT_EQ(pens[1].color, kColors.trailText);
  const auto texts = c.Of("text");
  ASSERT_EQ(texts.size(), 12u);
  // d = 50 - 6 - 7 = 37 around (R, c) = (50, 44); "1" is 6 px wide, "12" 12 px.
  EXPECT_EQ(texts[0].text, "1");
  EXPECT_EQ(texts[0].args, (std::vector<int>{static_cast<int>(std::nearbyint(47 + 0.5 * 37)),
                                             static_cast<int>(std::nearbyint(44 - 0.866 * 37))}));
  EXPECT_EQ(texts[11].text, "12");
  EXPECT_EQ(texts[11].args, (std::vector<int>{44, 7}));
  EXPECT_EQ(texts[11].color, kColors.labelText);
  // Marks are drawn with a clear brush so the text has no background.
  bool clear = false;
  for (const auto& call : c.calls) {
    if (call.op == "brush") clear = call.args[0] == 0;
    if (call.op == "text") {
      EXPECT_TRUE(clear);
    }
  }
}

TEST(ClockFace, FortyPixelFaceHasNoMarks) {
  RecordingCanvas c(12);
  DrawClockFace(c, 40, 40, 0, 0, 0, kColors);
  EXPECT_TRUE(c.Of("text").empty());
  EXPECT_EQ(c.Of("ellipse").size(), 1u);
}

TEST(ClockFace, HandGeometry) {
  EXPECT_DOUBLE_EQ(HourHandDegrees(10, 59, 59), 300 + 29.5 + 59 * 0.0083);
  EXPECT_DOUBLE_EQ(HourHandDegrees(15, 0, 0), 450);
  EXPECT_DOUBLE_EQ(MinuteHandDegrees(30, 30), 183);

  RecordingCanvas c(12);
  DrawClockFace(c, 100, 100, 15, 0, 0, kColors);
  const auto polys = c.Of("polygon");
  ASSERT_EQ(polys.size(), 2u);
  // Hour hand at 3 o'clock: tip 30 px right of the centre, 5 px wide, tail 3 px behind.
  EXPECT_EQ(polys[0].args, (std::vector<int>{80, 50, 50, 45, 47, 50, 50, 55}));
  // Minute hand at 12: tip 42.5 px up (ties to even), width R/15.
  EXPECT_EQ(polys[1].args, (std::vector<int>{50, 8, 47, 50, 50, 54, 53, 50}));
  const auto line = c.Of("line");
  ASSERT_EQ(line.size(), 1u);
  EXPECT_EQ(line[0].args, (std::vector<int>{50, 8, 50, 51}));

  // Colours and order: hour (font colour), minute (inverted face colour), second (window colour).
  std::vector<ColorValue> handPens;
  bool afterMarks = false;
  for (const auto& call : c.calls) {
    if (call.op == "brush" && call.args[0] == 1 && !c.Of("text").empty()) afterMarks = true;
    if (afterMarks && call.op == "pen") handPens.push_back(call.color);
  }
  ASSERT_GE(handPens.size(), 3u);
  EXPECT_EQ(handPens[handPens.size() - 3], kColors.labelText);
  EXPECT_EQ(handPens[handPens.size() - 2], kColors.labelBack ^ 0xFFFFFFu);
  EXPECT_EQ(handPens[handPens.size() - 1], kColors.borderColor);
}

}  // namespace
}  // namespace mirovane
