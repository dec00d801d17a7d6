// What every modal window of the program shares: its owner disabled for exactly as long as it is
// shown, and one message loop.
#pragma once

#include <windows.h>

#include <functional>

namespace mirovane::ui {

// Disables a window for the life of the guard, when it was enabled, and enables it again on
// every way out, an exception included.
class DisabledWhileShown {
 public:
  explicit DisabledWhileShown(HWND owner) noexcept;
  ~DisabledWhileShown();
  DisabledWhileShown(const DisabledWhileShown&) = delete;
  DisabledWhileShown& operator=(const DisabledWhileShown&) = delete;

 private:
  HWND owner_;
};

// Runs the thread's messages until `done()` says so or `window` is gone. `previewKey` sees each
// message first and swallows it by returning true (an exception it throws is reported and the
// message goes on as usual); the rest of `window`'s keys go through the dialog manager (Enter,
// Esc, mnemonics, Tab), everything else is dispatched. Returns false when the loop ended on
// WM_QUIT, which is then posted again for the outer loop.
bool RunModalLoop(HWND window, const std::function<bool()>& done,
                  const std::function<bool(const MSG&)>& previewKey = nullptr);

}  // namespace mirovane::ui
