// TSpinEditEx: a TIntegerEdit with up and down arrows (TUpDownLimited) that step its value by
// Increment, as do the Up and Down keys and the mouse wheel.
//
// The arrows are the common-controls up-down ("msctls_updown32"), a child of the edit placed over
// the right end of its client area, so they move, show and hide with it; the edit's right margin
// keeps the text clear of them. The up-down never holds the number: it runs in the range 0..2
// from position 1 and only tells which arrow was clicked (ArrowReading), so every click is
// exactly one step, whatever the value and the limits. A held arrow repeats at the pace of its
// own timer (kRepeatTimer, see ArrowFirstRepeatMs), the same on every system: the up-down's own
// repeat, whose pace differs between them (under Wine about a hundred steps a second), never
// runs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "controls/numeric_edit.h"
#include "controls/numeric_edit_rules.h"
#include "ui/control.h"

namespace mirovane {

class TUpDownLimited : public ui::Control {
 public:
  TUpDownLimited() = default;

  // A vertical up-down on `parent`, which receives its scroll messages (HandleScroll).
  void Create(HWND parent);

  bool LastWasUp() const noexcept { return reading_.LastWasUp; }
  // Reads the up-down's position after a click and raises onUpClick or onDownClick.
  void HandleArrow(int position);
  // A WM_VSCROLL the parent received; returns whether it came from this button.
  bool HandleScroll(WPARAM wp, LPARAM lp);

  void SetEnabled(bool enabled) noexcept;

  // Once per click, and once per repeat while an arrow is held.
  std::function<void()> onUpClick;
  std::function<void()> onDownClick;

  // The timer of a held arrow (WM_TIMER of the up-down with this id).
  static constexpr UINT_PTR kRepeatTimer = 0x4D52;

 protected:
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void StartRepeat(LPARAM point);
  void Repeat();
  void StopRepeat();
  ArrowReading reading_;
  bool repeating_ = false;
  bool heldUp_ = false;  // which arrow is held
  int pointerY_ = 0;     // where the pointer is, in the up-down's client area
};

class TSpinEditEx : public TIntegerEdit {
 public:
  TSpinEditEx();
  // A spin edit that takes `setup` (limits, step, length, sign, initial value, enabled state)
  // when it is created, as a form's table line creates it.
  explicit TSpinEditEx(const SpinSetup& setup);

  using TBaseEdit::Create;
  void Create(HWND parent, int id, const SpinSetup& setup);
  // Sets limits, Increment, MaxLength, ShowPlus, then Value and Enabled from `setup`.
  void Apply(const SpinSetup& setup);

  std::int32_t Increment() const noexcept { return increment_; }
  void SetIncrement(std::int32_t increment) noexcept { increment_ = increment; }

  // Value + Increment (or - Increment), clamped; focuses the control first. Nothing while
  // ReadOnly. The editor's state does not matter: EditorEnabled false blocks typing only.
  void StepUp();
  void StepDown();

  TUpDownLimited& Button() noexcept { return button_; }

  // The wheel over the control (or sent to it while it has the focus), before it steps: return
  // true to take the event, and the control does not step. Otherwise each whole notch is one
  // step, and the focus stays where it is.
  std::function<bool(int wheelDelta)> onMouseWheel;

 protected:
  void AfterCreate() override;
  void AfterLayout(UINT dpi) override;
  void EnabledChanged(bool enabled) override;
  void KeyDown(WPARAM virtualKey) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void Step(int steps, bool takeFocus);
  // Places the arrows at the right end of the client area and keeps the text clear of them.
  void LayoutButton();

  TUpDownLimited button_;
  std::int32_t increment_ = 1;
  WheelNotches wheel_;
};

}  // namespace mirovane
