#include "ui/modal.h"

#include "ui/window.h"

namespace mirovane::ui {

DisabledWhileShown::DisabledWhileShown(HWND owner) noexcept
    : owner_(owner && IsWindowEnabled(owner) ? owner : nullptr) {
  if (owner_) EnableWindow(owner_, FALSE);
}

DisabledWhileShown::~DisabledWhileShown() {
  if (owner_) EnableWindow(owner_, TRUE);
}

bool RunModalLoop(HWND window, const std::function<bool()>& done,
                  const std::function<bool(const MSG&)>& previewKey) {
  MSG msg;
  while (!done() && IsWindow(window)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave WM_QUIT to the outer loop
      return false;
    }
    if (got == -1) break;
    bool swallowed = false;
    if (previewKey) {
      try {
        swallowed = previewKey(msg);
      } catch (...) {
        ReportCurrentException();
      }
    }
    if (swallowed) continue;
    if (!IsDialogMessageW(window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

}  // namespace mirovane::ui
