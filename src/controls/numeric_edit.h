// TBaseEdit and TIntegerEdit: the system edit control with an editable state of its own and a
// signed 32-bit number. The text lives in the edit control; the number rules
// (controls/numeric_edit_rules.h) are asked with it and give back the text to show.
//
// The edit is single-line and right-aligned (single-line edits honour ES_RIGHT), so it never takes
// a line break or a tab character and leaves Tab and Enter to the dialog keyboard. While the
// editor is disabled or the control is read-only, the native edit is read-only too: no key, undo,
// cut, paste or context-menu command can change the text then, and only code writes it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "controls/numeric_edit_rules.h"
#include "ui/dialog_controls.h"
#include "ui/gdi.h"

namespace mirovane {

// The COLORREF of an EditColor (system colours resolved now).
COLORREF ResolveEditColor(EditColor color) noexcept;

class TBaseEdit : public ui::DialogControl {
 public:
  TBaseEdit() = default;

  // Creates the edit on `parent` outside a form's table (a form calls CreateOn itself).
  void Create(HWND parent, int id, bool tabStop = true);

  // Enabled is the window's; a value set before the window exists is applied at creation.
  bool Enabled() const noexcept { return Handle() ? ui::DialogControl::Enabled() : enabled_; }
  void SetEnabled(bool enabled) override;

  // Whether the user may change the text by typing, cutting or pasting.
  bool EditorEnabled() const noexcept { return editorEnabled_; }
  void SetEditorEnabled(bool enabled);
  bool ReadOnly() const noexcept { return readOnly_; }
  void SetReadOnly(bool readOnly);
  // Enabled and EditorEnabled.
  bool IsEditable() const noexcept { return Enabled() && editorEnabled_; }

  EditColor EnableColor() const noexcept { return colors_.EnableColor(); }
  EditColor DisableColor() const noexcept { return colors_.DisableColor(); }
  EditColor Color() const noexcept { return colors_.Color(); }
  void SetEnableColor(EditColor color);
  void SetDisableColor(EditColor color);
  // Stored as the colour of the present state (EnableColor while editable, else DisableColor).
  void SetColor(EditColor color);

  // The longest text the user may type (EM_LIMITTEXT); 0 = no limit.
  int MaxLength() const noexcept { return maxLength_; }
  void SetMaxLength(int length);

  // cp932. Setting a different text raises onChange once; the present text does nothing.
  std::string Text() const;
  void SetText(std::string_view cp932);

  // Raised once per real change of the text, whether the user or the code made it.
  std::function<void()> onChange;
  // A key pressed in the field, after the control's own reaction to it (a spin edit's step);
  // the key still goes on to the edit afterwards.
  std::function<void(WPARAM virtualKey)> onKeyDown;

 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;
  bool OnCommand(WORD code) override;
  HBRUSH OnCtlColor(HDC dc) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  // Runs once the window exists and its state is applied.
  virtual void AfterCreate() {}
  // The window's enabled state changed (by SetEnabled or by EnableWindow from anywhere).
  virtual void EnabledChanged(bool enabled);
  // The control's own reaction to a key, before onKeyDown.
  virtual void KeyDown(WPARAM /*virtualKey*/) {}

  // Shows `cp932` unless the edit shows it already; raises onChange when it differs from the
  // text last reported.
  void ReplaceText(std::string_view cp932);
  // Reports a change the edit made itself (typing, undo, a command).
  void SyncText();
  // While a DeferChanges lives, the edit's own changes are not reported one by one: the operation
  // ends with ReplaceText or SyncText, which reports the net change once.
  class DeferChanges {
   public:
    explicit DeferChanges(TBaseEdit& edit) noexcept : edit_(edit) { ++edit_.deferred_; }
    ~DeferChanges() { --edit_.deferred_; }
    DeferChanges(const DeferChanges&) = delete;
    DeferChanges& operator=(const DeferChanges&) = delete;

   private:
    TBaseEdit& edit_;
  };

 private:
  std::string WindowText() const;
  void ApplyReadOnly();
  void ColorChanged();

  EditColors colors_;
  ui::BrushHandle brush_;
  COLORREF brushColor_ = 0;
  std::string text_;  // the text last reported by onChange
  int maxLength_ = 0;
  int deferred_ = 0;
  bool enabled_ = true;
  bool editorEnabled_ = true;
  bool readOnly_ = false;
};

class TIntegerEdit : public TBaseEdit {
 public:
  TIntegerEdit();

  // Reading parses the text (empty = 0, unreadable = LastValue) and clamps it; writing renders the
  // clamped number.
  std::int32_t Value();
  void SetValue(std::int32_t value);
  std::int32_t LastValue() const noexcept { return rules_.LastValue; }

  // The limits apply while MinValue < MaxValue; changing them leaves the text as it is until it
  // is next normalised.
  std::int32_t MinValue() const noexcept { return rules_.MinValue; }
  void SetMinValue(std::int32_t value) noexcept { rules_.MinValue = value; }
  std::int32_t MaxValue() const noexcept { return rules_.MaxValue; }
  void SetMaxValue(std::int32_t value) noexcept { rules_.MaxValue = value; }

  bool ShowPlus() const noexcept { return rules_.ShowPlus; }
  void SetShowPlus(bool show);
  bool ZeroFill() const noexcept { return rules_.ZeroFill; }
  void SetZeroFill(bool fill);
  bool ZeroToBlank() const noexcept { return rules_.ZeroToBlank; }
  void SetZeroToBlank(bool blank);

  // Selects the whole text when the focus arrives by the keyboard or from code (not by a left
  // click into the field).
  bool autoSelect = true;

  // The text parsed, clamped and rendered again.
  void RefreshText();

 protected:
  // The key filter for one typed character (UTF-16 code unit).
  virtual CharVerdict CharAllowed(char32_t c);
  // The sound of a refused key.
  virtual void Beep() { MessageBeep(MB_OK); }
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  // The number rules with the edit's present MaxLength.
  IntegerEditRules& Rules() noexcept {
    rules_.MaxLength = MaxLength();
    return rules_;
  }

 private:
  IntegerEditRules rules_;
  bool clickFocus_ = false;
};

}  // namespace mirovane
