// A window timer on its owner's message queue: SetTimer/KillTimer by an id unique per owner.
// Interval and Enabled behave like properties: setting the current value does nothing, a timer
// runs only while it is enabled with an interval above 0, and changing the interval of a running
// timer starts its period anew.
#pragma once

#include <windows.h>

#include <functional>

namespace mirovane::ui {

class Window;

class Timer {
 public:
  explicit Timer(Window& owner, UINT intervalMs = 1000, bool enabled = false);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool enabled);
  UINT Interval() const noexcept { return interval_; }
  void SetInterval(UINT intervalMs);
  // Whether the system timer is set (enabled, interval above 0 and the owner has a handle).
  bool Running() const noexcept { return running_; }
  UINT_PTR Id() const noexcept { return id_; }

  // Runs on every tick, on the owner's thread.
  std::function<void()> onTimer;

  // Brings the system timer in line with Enabled and Interval; the owner calls it once its
  // handle exists.
  void Apply();

 private:
  friend class Window;
  void Fire();
  void Stop() noexcept;

  Window* owner_;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_;
  bool running_ = false;
};

}  // namespace mirovane::ui
