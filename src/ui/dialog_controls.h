// The controls of the modal forms, each a wrapper around a native control created from one line
// of its form's table (Form::Add).
//
// Native controls disagree about notifying: WM_SETTEXT sends EN_CHANGE, BM_SETCHECK sends nothing,
// a combo box reports a selection before its text has changed. Every wrapper therefore keeps the
// value it last reported and raises its event exactly once per real change, whether the user made
// it or the code: a setter given the present value does nothing, a setter given a new one raises
// the event just as the user's action would. Forms rely on this in their load steps.
//
// Texts are cp932 (the program's own encoding) and cross into Win32 as UTF-16 at the call.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"
#include "ui/window.h"

namespace mirovane::ui {

class Form;

// How a control takes part in the dialog's keyboard handling.
enum ControlFlags : unsigned {
  kNoFlags = 0,
  kNoTabStop = 1u << 0,   // left out of the Tab order (buttons are in it by default)
  kDefault = 1u << 1,     // the default button: Enter presses it
  kCancel = 1u << 2,      // the cancel button: Esc presses it
  kGroupStart = 1u << 3,  // the first of a group of radio buttons
};

// A control that a form creates from its table.
class DialogControl : public Control {
 public:
  bool Enabled() const noexcept { return Handle() && IsWindowEnabled(Handle()); }
  virtual void SetEnabled(bool enabled);
  void Focus() const noexcept {
    if (Handle()) SetFocus(Handle());
  }

 protected:
  friend class Form;
  // Creates the native control as a child of `parent` with its caption (UTF-16) and flags.
  virtual void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) = 0;
  // Whether Enter may press it as the default button (push buttons only).
  virtual bool IsPushButton() const noexcept { return false; }
  // Performs a click, as the mouse would (push buttons).
  virtual void PerformClick() {}
  // Runs after the form placed or re-placed the control (and its DPI may have changed).
  virtual void AfterLayout(UINT /*dpi*/) {}
};

class Button : public DialogControl {
 public:
  // A click: the mouse, Space, Enter as default button, Esc as cancel button, its mnemonic, or
  // Click() from code.
  std::function<void()> onClick;
  void Click() { PerformClick(); }

 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;
  bool OnCommand(WORD code) override;
  bool IsPushButton() const noexcept override { return true; }
  void PerformClick() override {
    if (onClick) onClick();
  }
};

class CheckBox : public DialogControl {
 public:
  bool Checked() const noexcept { return checked_; }
  // Raises onClick when the tick changes.
  void SetChecked(bool checked);
  std::function<void()> onClick;

 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;
  bool OnCommand(WORD code) override;

 private:
  bool checked_ = false;
};

// A radio button; the buttons between two kGroupStart flags of the same parent form a group, of
// which at most one is checked.
class RadioButton : public DialogControl {
 public:
  bool Checked() const noexcept { return checked_; }
  // Checking one unchecks the others of its group (their onClick does not run: nobody clicked
  // them); raises onClick when this button becomes checked.
  void SetChecked(bool checked);
  std::function<void()> onClick;

 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;
  bool OnCommand(WORD code) override;

 private:
  void SyncGroup();
  bool checked_ = false;
};

class GroupBox : public DialogControl {
 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;
};

// A left-aligned label; its "&" mnemonic moves the focus to the next control of the table.
class StaticText : public DialogControl {
 public:
  // Word-wrapped over several lines (set before the form creates it).
  bool wordWrap = false;
  // Shows "&" as it is (for texts that are not captions, such as previews).
  bool noPrefix = false;
  // Aligned to the right edge of its place (a label that ends where its control begins).
  bool rightAlign = false;
  const std::string& Text() const noexcept { return text_; }
  void SetText(std::string_view cp932);

 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;

 private:
  std::string text_;
};

class Edit : public DialogControl {
 public:
  // Set before the form creates it.
  bool multiLine = false;  // several lines, scrolled both ways (never wrapped)
  bool readOnly = false;
  bool imeOff = false;  // the input method stays off (codes, numbers)
  int maxBytes = 0;     // longest text in cp932 bytes; 0 = no limit
  int maxChars = 0;     // longest text in characters, as the control counts them; 0 = no limit

  const std::string& Text() const noexcept { return text_; }
  // Raises onChange when the text changes (a text over maxBytes is cut at a character boundary).
  void SetText(std::string_view cp932);
  std::function<void()> onChange;
  // Focus leaves the control.
  std::function<void()> onExit;
  // The characters the user typed that cp932 cannot hold, each once (they read as "?" in Text);
  // empty when the text can be stored as it shows. A one-line field never holds a line break.
  const std::wstring& Cp932Lacks() const noexcept { return lacking_; }

 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;
  bool OnCommand(WORD code) override;

 private:
  void TextChangedByControl();
  // Puts text into the window with EN_CHANGE shut out: the control's echo of a text the program
  // wrote is no change of the user's (and a cp932 text with two codes for one character would
  // come back in the other code).
  void WriteWindowText(const std::wstring& text);
  std::string text_;
  std::wstring lacking_;
  bool writing_ = false;
};

// A drop-down list (only its items can be chosen) or, with `editable`, a combo box whose text is
// free and whose items are presets.
class ComboBox : public DialogControl {
 public:
  bool editable = false;  // set before the form creates it
  int maxBytes = 0;       // editable only: longest text in cp932 bytes; 0 = no limit

  void SetItems(const std::vector<std::string>& cp932Items);
  int ItemCount() const noexcept { return static_cast<int>(items_.size()); }
  // The chosen item, -1 for none. Raises onChange when it changes (and, editable, the text).
  int ItemIndex() const noexcept { return index_; }
  void SetItemIndex(int index);
  // Editable: the text; drop-down list: the chosen item's text.
  const std::string& Text() const noexcept { return text_; }
  // Editable: raises onChange when the text changes.
  void SetText(std::string_view cp932);
  std::function<void()> onChange;
  // Editable: the characters typed that cp932 cannot hold, as Edit::Cp932Lacks. The text never
  // holds a line break.
  const std::wstring& Cp932Lacks() const noexcept { return lacking_; }

 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;
  bool OnCommand(WORD code) override;
  void AfterLayout(UINT dpi) override;

 private:
  void Update(int index, std::string text, std::wstring lacking = {});
  std::vector<std::string> items_;
  int index_ = -1;
  std::string text_;
  std::wstring lacking_;
};

// The message for a field whose text cp932 cannot hold: it names the field (its caption, UTF-8)
// and the characters, which the user must change before the text can be stored.
std::wstring UnstorableTextMessage(std::string_view fieldUtf8, const std::wstring& lacking);

// A page of a tab control: a container for the controls of one tab.
class TabPage : public Window {
 public:
  void Create(HWND parent);
  const std::wstring& Caption() const noexcept { return caption_; }

 protected:
  friend class Form;
  friend class TabControl;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  std::wstring caption_;
};

class TabControl : public DialogControl {
 public:
  // Pages in tab order; the form adds them (Form::AddPage).
  void AddPage(TabPage& page, const std::wstring& caption);
  int PageCount() const noexcept { return static_cast<int>(pages_.size()); }
  TabPage& Page(int index) { return *pages_[static_cast<std::size_t>(index)]; }
  // Shows the page of tab `index`; raises onChange when it changes.
  int ActiveIndex() const noexcept { return active_; }
  void SetActiveIndex(int index);
  std::function<void()> onChange;
  // The display area of the pages, in the parent's client coordinates.
  RECT PageArea() const;

 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  void AfterLayout(UINT dpi) override;

 private:
  void ShowActivePage();
  std::vector<TabPage*> pages_;
  int active_ = -1;
};

// A date or a time picker with a custom display format (the picker's own format language:
// yyyy, MM, dd, ddd, HH, mm, ss, and quoted literal text).
class DateTimePicker : public DialogControl {
 public:
  bool timeOnly = false;  // a time picker with up-down arrows; set before the form creates it
  bool upDown = false;    // a date picker with up-down arrows instead of the drop-down calendar

  // The display format (UTF-8); empty for the regional short date or time.
  void SetFormat(std::string_view utf8Format);
  const SYSTEMTIME& Value() const noexcept { return value_; }
  // Raises onChange when the value changes.
  void SetValue(const SYSTEMTIME& value);
  std::function<void()> onChange;

 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;

 private:
  std::wstring format_;
  SYSTEMTIME value_{};
};

// A list of texts with a tick each (Win32 has no check-list box: a virtual list view with check
// boxes serves, so a list of any length opens, scrolls and changes as fast as a short one).
// A click in an entry's check box or the space bar flips the tick of that entry.
class CheckList : public DialogControl {
 public:
  struct Item {
    std::string text;  // cp932
    bool checked = false;
  };

  void SetItems(std::vector<Item> items);
  const std::vector<Item>& Items() const noexcept { return items_; }
  int Count() const noexcept { return static_cast<int>(items_.size()); }
  const Item& At(int index) const { return items_[static_cast<std::size_t>(index)]; }
  // Changes of the list; each keeps the selection where the caller says.
  void SetChecked(int index, bool checked);
  void SetText(int index, std::string_view cp932);
  void Insert(int index, Item item);
  void Remove(int index);
  void Swap(int a, int b);

  // The selected entry, -1 for none. Selecting brings the entry into view.
  int Selected() const;
  void Select(int index);

  std::function<void()> onDblClick;
  // A tick flipped by the user (click in the check box or Space); `index` is the entry.
  std::function<void(int index)> onCheckClick;
  // A key pressed in the list, before the list's own handling: return true to take it (the list
  // then does nothing with it).
  std::function<bool(WPARAM virtualKey)> onKeyDown;

 protected:
  void CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void AfterLayout(UINT dpi) override;

 private:
  void Refresh();
  void FitColumn();
  void FlipByUser(int index);
  std::vector<Item> items_;
  std::wstring buffer_;  // the text handed to the list view for one entry
};

}  // namespace mirovane::ui
