#include "alarms/message_layout.h"

#include <algorithm>

namespace mirovane {

namespace {

// Lengths in pixels at 96 DPI.
constexpr int kMargin = 12;          // around the content, and between icon and text
constexpr int kIconSize = 32;        // the system's large icon
constexpr int kTextToButtons = 16;   // between the content and the button row
constexpr int kButtonGap = 8;        // between "OK" and the confirm button
constexpr int kButtonMinWidth = 75;  // a standard button
constexpr int kButtonPadding = 16;   // caption to the button's sides, both together
constexpr int kButtonMinHeight = 23;
constexpr int kButtonTextPadding = 8;  // caption to the button's top and bottom, both together
constexpr int kMinClientWidth = 160;
constexpr int kMinWrapWidth = 120;
constexpr int kMaxWrapWidth = 480;

// `pixels96` at `dpi`, rounded to the nearest pixel.
int Scale(int pixels96, int dpi) { return (pixels96 * dpi + 48) / 96; }

int TextLeft(const MessageLayoutInput& in) {
  const int margin = Scale(kMargin, in.dpi);
  return in.icon ? margin + Scale(kIconSize, in.dpi) + margin : margin;
}

int ButtonWidth(int captionWidth, int dpi) {
  return std::max(Scale(kButtonMinWidth, dpi), captionWidth + Scale(kButtonPadding, dpi));
}

}  // namespace

int MessageWrapWidth(const MessageLayoutInput& in) {
  const int wanted = std::max(Scale(kMinWrapWidth, in.dpi),
                              std::min(Scale(kMaxWrapWidth, in.dpi), in.workArea.w * 3 / 4));
  // Room for a scroll bar is always kept, so that a scrolling text does not widen the window.
  const int room =
      in.workArea.w - in.frameWidth - TextLeft(in) - Scale(kMargin, in.dpi) - in.scrollBarWidth;
  return std::max(1, std::min(wanted, room));
}

MessageLayout ComputeMessageLayout(const MessageLayoutInput& in) {
  MessageLayout out;
  const int margin = Scale(kMargin, in.dpi);
  const int lineHeight = std::max(1, in.lineHeight);
  const int buttonHeight =
      std::max(Scale(kButtonMinHeight, in.dpi), lineHeight + Scale(kButtonTextPadding, in.dpi));
  const int okWidth = ButtonWidth(in.okCaptionWidth, in.dpi);
  const int confirmWidth = in.confirm ? ButtonWidth(in.confirmCaptionWidth, in.dpi) : 0;
  const int buttonsWidth = okWidth + (in.confirm ? Scale(kButtonGap, in.dpi) + confirmWidth : 0);
  const int iconSize = in.icon ? Scale(kIconSize, in.dpi) : 0;

  int textWidth = std::clamp(in.textWidth, 0, MessageWrapWidth(in));
  int textHeight = std::max(in.textHeight, lineHeight);
  // Everything but the row of icon and text must fit in the work area too.
  const int rowRoom = in.workArea.h - in.frameHeight - margin - Scale(kTextToButtons, in.dpi) -
                      buttonHeight - margin;
  if (textHeight > rowRoom) {
    // Whole lines only: a scrolling box shows no cut-off line at its bottom.
    out.textScrolls = true;
    textHeight = std::max(1, rowRoom / lineHeight) * lineHeight;
    textWidth += in.scrollBarWidth;
  }
  const int rowHeight = std::max(iconSize, textHeight);

  const int textLeft = TextLeft(in);
  out.clientWidth = std::max(
      {textLeft + textWidth + margin, buttonsWidth + 2 * margin, Scale(kMinClientWidth, in.dpi)});
  if (in.icon) out.icon = {margin, margin, iconSize, iconSize};
  out.text = {textLeft, margin + (rowHeight - textHeight) / 2, textWidth, textHeight};

  // The buttons stand at the right, "OK" first.
  const int buttonsTop = margin + rowHeight + Scale(kTextToButtons, in.dpi);
  const int buttonsLeft = out.clientWidth - margin - buttonsWidth;
  out.ok = {buttonsLeft, buttonsTop, okWidth, buttonHeight};
  if (in.confirm) {
    out.confirm = {out.ok.Right() + Scale(kButtonGap, in.dpi), buttonsTop, confirmWidth,
                   buttonHeight};
  }
  out.clientHeight = buttonsTop + buttonHeight + margin;

  // Centred on the work area, or where the system suggested; moved inside the work area. A window
  // larger than the work area (only on a tiny screen) keeps its caption reachable at the top left.
  const Rect& work = in.workArea;
  Rect& window = out.window;
  window.w = out.clientWidth + in.frameWidth;
  window.h = out.clientHeight + in.frameHeight;
  if (in.suggested) {
    window.x = in.suggested->x;
    window.y = in.suggested->y;
  } else {
    window.x = work.x + (work.w - window.w) / 2;
    window.y = work.y + (work.h - window.h) / 2;
  }
  window.x = std::max(work.x, std::min(window.x, work.Right() - window.w));
  window.y = std::max(work.y, std::min(window.y, work.Bottom() - window.h));
  return out;
}

}  // namespace mirovane
