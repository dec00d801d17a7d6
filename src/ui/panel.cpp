#include "ui/panel.h"

namespace mirovane::ui {

namespace {
constexpr wchar_t kPanelClass[] = L"MirovanePanel";
}

void Panel::Create(HWND parent, int id, COLORREF color) {
  WNDCLASSEXW wc{};
  wc.style = CS_DBLCLKS;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kPanelClass;
  RegisterClassOnce(wc);
  color_ = color;
  brush_.reset(CreateSolidBrush(color));
  CreateHandle(0, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
               0, 0, parent, static_cast<UINT_PTR>(id));
}

void Panel::SetColor(COLORREF color) {
  if (color == color_ && brush_) return;
  color_ = color;
  brush_.reset(CreateSolidBrush(color));
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the background: one pass, no flicker
    case WM_PAINT: {
      PaintDc dc(Handle());
      FillRect(dc.get(), &dc.PaintRect(), brush_.get());
      if (onPaint) {
        RECT client{};
        GetClientRect(Handle(), &client);
        onPaint(dc.get(), client);
      }
      return 0;
    }
    default:
      break;
  }
  MouseEvent event;
  switch (ReadMouseMessage(msg, wp, lp, event)) {
    case MouseAction::DoubleClick:
      // As with a single press, the owner also sees the press itself.
      if (onDblClick) onDblClick();
      if (onMouseDown) onMouseDown(event);
      return 0;
    case MouseAction::Down:
      if (onMouseDown) onMouseDown(event);
      return 0;
    case MouseAction::Move:
      if (onMouseMove) onMouseMove(event);
      return 0;
    case MouseAction::Up:
      if (onMouseUp) onMouseUp(event);
      return 0;
    case MouseAction::None:
      break;
  }
  return DefaultHandling(msg, wp, lp);
}

}  // namespace mirovane::ui
