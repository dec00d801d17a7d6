// Modal forms: a dialog window created when it is opened, built from a table of controls placed in
// 96-DPI pixels, shown modally over its owner and destroyed when it closes.
//
// A form's table is its CreateControls: one Add line per control, in tab order, with the place,
// the caption and the flags of the control. The toolkit scales every place to the window's DPI
// (again when the window moves to a monitor with another DPI), gives every control the form's
// font (or its own), and keeps the keyboard of a dialog: Tab and Shift+Tab in table order, the
// "&" mnemonics of buttons and labels, Enter for the default button, Esc for the cancel button.
// The modal loop dispatches every message of the thread, so the owner's timers and its tray icon
// go on working while the form is open.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog_controls.h"
#include "ui/dpi.h"
#include "ui/gdi.h"
#include "ui/window.h"

namespace mirovane::ui {

class DialogControl;
class TabControl;
class TabPage;

// A rectangle in 96-DPI pixels, relative to the form's client area (or a tab page's).
struct Place {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

enum class FormFrame {
  SystemMenu,    // caption with the system menu (and its close box)
  CloseBoxOnly,  // caption with a close box and no icon
};

struct FormSetup {
  std::string_view captionUtf8;
  int clientWidth96 = 0;
  int clientHeight96 = 0;
  FormFrame frame = FormFrame::SystemMenu;
  FontSpec font;        // the form's font (every control's unless it has its own)
  int closeResult = 2;  // the modal result of the close box, Alt+F4 and the system menu
  // A margin of the form's colour between the frame and the client area, on every side; the
  // client area keeps the table's size and the controls their places in it.
  int borderWidth96 = 0;
};

class Form : public Window {
 public:
  explicit Form(FormSetup setup);
  ~Form() override;

  // Creates the window (CreateControls, then FormCreate), centres it on the owner's monitor,
  // disables the owner and runs the modal loop until a modal result is set; then destroys the
  // window and returns the result. A WM_QUIT met meanwhile ends the loop (result 0) and is posted
  // again for the caller's loop.
  int ShowModal(HWND owner);

  // Ends the modal loop with `result` (not 0) once the current message is handled.
  void SetModalResult(int result) noexcept { modalResult_ = result; }
  int ModalResult() const noexcept { return modalResult_; }

  // The form's font at the window's present DPI.
  HFONT FormFont() const noexcept { return formFont_.get(); }
  // Runs `action` for every control of the table, in table order.
  void ForEachControl(const std::function<void(DialogControl&)>& action);

  // Runs once the window is shown with its first control focused, before the modal loop takes the
  // first message (FormShow).
  std::function<void()> onShow;
  // Runs just before the window is destroyed (the form's own clean-up, FormDestroy).
  std::function<void()> onDestroy;
  // Every key press in the form, before the dialog keyboard handling (key preview); return true to
  // consume it. (Ctrl+Tab turns the pages of a tab control.)
  std::function<bool(WPARAM key)> onKeyDown;

 protected:
  // The table: Add lines in tab order.
  virtual void CreateControls() = 0;
  // The load step, run once all controls exist (before the window shows).
  virtual void FormCreate() {}

  // Creates `control` on the form (or on `page`) at `place`, with `captionUtf8` and `flags`.
  void Add(DialogControl& control, Place place, std::string_view captionUtf8 = {},
           unsigned flags = kNoFlags, TabPage* page = nullptr);
  // Adds `page` as the next tab of `tabs` (created on the form, shown over the tab's display area).
  void AddPage(TabControl& tabs, TabPage& page, std::string_view captionUtf8);
  // Gives `control` a font of its own instead of the form's.
  void SetControlFont(DialogControl& control, const FontSpec& font);

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Entry {
    DialogControl* control;
    Place place;
    TabPage* page;
    bool ownFont;
    FontSpec font;
    FontHandle fontHandle;
  };

  void CreateWindowOn(HWND owner);
  // Places every control and page for `dpi` and gives them their fonts.
  void Layout(UINT dpi);
  RECT Scaled(const Place& place, UINT dpi) const;
  // The window rectangle around the table's client area at `dpi` (frame and margin).
  RECT WindowFrame(UINT dpi) const;
  // Paints the margin between the frame and the client area in the form's colour.
  void PaintMargin();
  void PressButton(DialogControl* button);
  bool PreviewKey(const MSG& msg);

  FormSetup setup_;
  std::wstring caption_;
  FontHandle formFont_;
  std::vector<Entry> entries_;
  HWND lastFocus_ = nullptr;
  DialogControl* defaultButton_ = nullptr;
  DialogControl* cancelButton_ = nullptr;
  int nextId_ = 1000;
  int modalResult_ = 0;
  UINT dpi_ = kDefaultDpi;
};

}  // namespace mirovane::ui
