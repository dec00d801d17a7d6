// The main window's busy flag held for one scope: set on entry and put back as it was on every way
// out, an exception included, so that a failure inside a dialog or message never leaves the window
// deaf to its reactions, timers and tray icon.
#pragma once

namespace mirovane {

class BusyScope {
 public:
  explicit BusyScope(bool& flag) noexcept : flag_(flag), previous_(flag) { flag = true; }
  ~BusyScope() { flag_ = previous_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

}  // namespace mirovane
