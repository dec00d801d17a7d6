#include "ui/timer.h"

#include <algorithm>

#include "ui/window.h"

namespace mirovane::ui {

Timer::Timer(Window& owner, UINT intervalMs, bool enabled)
    : owner_(&owner), id_(owner.nextTimerId_++), interval_(intervalMs), enabled_(enabled) {
  owner.timers_.push_back(this);
  Apply();
}

Timer::~Timer() {
  Stop();
  if (owner_) {
    auto& timers = owner_->timers_;
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
  }
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Apply();
}

void Timer::SetInterval(UINT intervalMs) {
  if (intervalMs == interval_) return;
  interval_ = intervalMs;
  // A running timer restarts with the new period.
  Stop();
  Apply();
}

void Timer::Apply() {
  const bool wanted = enabled_ && interval_ > 0 && owner_ && owner_->Handle();
  if (!wanted) {
    Stop();
    return;
  }
  if (running_) return;
  running_ = SetTimer(owner_->Handle(), id_, interval_, nullptr) != 0;
}

void Timer::Stop() noexcept {
  if (running_ && owner_ && owner_->Handle()) KillTimer(owner_->Handle(), id_);
  running_ = false;
}

void Timer::Fire() {
  // A WM_TIMER already queued before the timer was stopped is dropped.
  if (!running_) return;
  if (onTimer) onTimer();
}

}  // namespace mirovane::ui
