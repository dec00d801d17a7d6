#include "alarms/message_window_win.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "alarms/alarm_action.h"
#include "alarms/message_layout.h"
#include "platform/codec.h"
#include "ui/control.h"
#include "ui/dpi.h"
#include "ui/gdi.h"
#include "ui/modal.h"
#include "ui/window.h"

namespace mirovane {

namespace {

// The window's background is never painted over its controls, which draw their own.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
// How a STATIC with SS_EDITCONTROL draws its text: lines break at CR LF and wrap at the width.
constexpr UINT kTextFormat = DT_NOPREFIX | DT_EXPANDTABS | DT_EDITCONTROL | DT_WORDBREAK;

LPCWSTR IconResource(int kind) {
  switch (kind) {
    case kMessageWarning:
      return IDI_WARNING;
    case kMessageError:
      return IDI_ERROR;
    case kMessageInformation:
      return IDI_INFORMATION;
    case kMessageQuestion:
      return IDI_QUESTION;
    default:
      return nullptr;
  }
}

// An icon loaded at a size of our own: released with DestroyIcon.
struct IconDeleter {
  void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

Rect ToMessageRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

class MessageButton final : public ui::Control {
 public:
  void Create(HWND parent, int id, const std::string& cp932Caption, bool isDefault) {
    caption_ = Cp932ToWide(cp932Caption);
    CreateHandle(0, L"BUTTON", caption_.c_str(),
                 WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), parent,
                 id);
  }
  const std::wstring& Caption() const noexcept { return caption_; }

  // The mouse, Space, Enter (default button), Alt and its mnemonic, or BM_CLICK.
  std::function<void()> onClick;

 protected:
  bool OnCommand(WORD code) override {
    if (code != BN_CLICKED) return false;
    if (onClick) onClick();
    return true;
  }

 private:
  std::wstring caption_;
};

// The message: a STATIC when it fits the window, a read-only multi-line edit with a vertical
// scroll bar when it is taller than the room for it.
class MessageText final : public ui::Control {
 public:
  void Create(HWND parent, const std::wstring& text, bool scrolling) {
    scrolling_ = scrolling;
    if (!scrolling) {
      CreateHandle(0, L"STATIC", text.c_str(), WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL,
                   parent, kMessageTextId);
      return;
    }
    // The text comes with the font (ApplyFont).
    text_ = text;
    CreateHandle(0, L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
                 parent, kMessageTextId);
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);  // no limit below the text's length
  }
  bool Scrolling() const noexcept { return scrolling_; }

  void ApplyFont(HFONT font) {
    if (!scrolling_) {
      SetFont(font);
      return;
    }
    // An edit lays out all its lines again on each change of font or margins, which takes long
    // for a long text: the text is out of the box meanwhile and laid out once, when put back.
    SetWindowTextW(Handle(), L"");
    SetFont(font);
    // The layout sized the box for the text alone: no margins inside.
    SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SetWindowTextW(Handle(), text_.c_str());
  }

 protected:
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (scrolling_ && msg == WM_GETDLGCODE) {
      // Arrows and the page keys scroll the text; Enter, Esc, Tab and the buttons' mnemonics stay
      // with the window, as everywhere else in it (a multi-line edit would take them all).
      result = DLGC_WANTARROWS;
      return true;
    }
    return Control::OnMessage(msg, wp, lp, result);
  }

 private:
  bool scrolling_ = false;
  std::wstring text_;  // of the scrolling box
};

// One showing of the window; lives on the stack of ShowMessageWindow.
class MessageWindow final : public ui::Window {
 public:
  MessageWindow(std::string_view text, int kind, bool withConfirm)
      : text_(Cp932ToWide(text)), kind_(kind), withConfirm_(withConfirm) {}
  ~MessageWindow() override { Destroy(); }

  // Creates the window, shows it and runs its modal loop until it is closed; true when the
  // confirm button closed it.
  bool ShowModal(HWND owner, bool beep);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Create(HWND owner);
  // Sizes fonts, icon, controls and the window for `dpi`: centred on the work area of its
  // monitor, or at `suggested` when the DPI changed while shown.
  void Layout(UINT dpi, const RECT* suggested);
  void Finish(bool confirmed) {
    confirmed_ = confirmed;
    done_ = true;
  }

  std::wstring text_;
  int kind_;
  bool withConfirm_;
  bool done_ = false;
  bool confirmed_ = false;
  HWND lastFocus_ = nullptr;  // the control that had the focus when the window was deactivated
  // Font and icon image outlive the controls that show them (members are destroyed in reverse).
  ui::FontHandle font_;
  IconHandle iconImage_;
  ui::GenericControl icon_;
  std::unique_ptr<MessageText> textBox_;
  MessageButton ok_;
  MessageButton confirm_;
};

void MessageWindow::Create(HWND owner) {
  RegisterDialogClass(kMessageWindowClass);

  // Created hidden at the centre of the owner's monitor, so that its DPI is that monitor's.
  POINT centre{0, 0};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    centre = {(monitor.rcWork.left + monitor.rcWork.right) / 2,
              (monitor.rcWork.top + monitor.rcWork.bottom) / 2};
  }
  const std::wstring caption = Cp932ToWide(MessageCaption(kind_, withConfirm_));
  CreateHandle(kExStyle, kMessageWindowClass, caption.c_str(), kStyle, centre.x, centre.y, 1, 1,
               owner, 0);

  if (IconResource(kind_)) {
    icon_.Create(0, L"STATIC", WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL, Handle(), kMessageIconId);
  }
  ok_.Create(Handle(), IDOK, alarm_text::OkButton(), true);
  ok_.onClick = [this] { Finish(false); };
  if (withConfirm_) {
    confirm_.Create(Handle(), kMessageConfirmId, alarm_text::ConfirmButton(), false);
    confirm_.onClick = [this] { Finish(true); };
  }
  Layout(Dpi(), nullptr);
}

void MessageWindow::Layout(UINT dpi, const RECT* suggested) {
  ui::FontHandle font = ui::CreateUiFont(ui::FontSpec{}, dpi);
  const HFONT shownFont = font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

  MessageLayoutInput in;
  in.dpi = static_cast<int>(dpi);
  const HMONITOR monitor = suggested ? MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST)
                                     : MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    in.workArea = ToMessageRect(info.rcWork);
  } else {
    in.workArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi);
  in.frameWidth = frame.right - frame.left;
  in.frameHeight = frame.bottom - frame.top;
  in.scrollBarWidth = GetSystemMetricsForDpi(SM_CXVSCROLL, dpi);
  in.icon = IconResource(kind_) != nullptr;
  in.confirm = withConfirm_;
  if (suggested) in.suggested = ToMessageRect(*suggested);
  {
    ui::WindowDc dc(Handle());
    ui::SelectedObject selected(dc.get(), shownFont);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    in.lineHeight = tm.tmHeight;
    RECT text{0, 0, MessageWrapWidth(in), 0};
    DrawTextW(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &text,
              kTextFormat | DT_CALCRECT);
    in.textWidth = text.right - text.left;
    in.textHeight = text.bottom - text.top;
    auto captionWidth = [&](const MessageButton& button) {
      RECT r{0, 0, 0, 0};
      DrawTextW(dc.get(), button.Caption().c_str(), static_cast<int>(button.Caption().size()), &r,
                DT_SINGLELINE | DT_CALCRECT);
      return static_cast<int>(r.right - r.left);
    };
    in.okCaptionWidth = captionWidth(ok_);
    if (withConfirm_) in.confirmCaptionWidth = captionWidth(confirm_);
  }
  const MessageLayout layout = ComputeMessageLayout(in);

  if (!textBox_ || textBox_->Scrolling() != layout.textScrolls) {
    const bool hadFocus = textBox_ && GetFocus() == textBox_->Handle();
    textBox_.reset();
    textBox_ = std::make_unique<MessageText>();
    textBox_->Create(Handle(), text_, layout.textScrolls);
    // Tab order: after the icon, before the buttons.
    SetWindowPos(textBox_->Handle(), icon_.Handle() ? icon_.Handle() : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (hadFocus) SetFocus(ok_.Handle());
  }
  textBox_->ApplyFont(shownFont);
  ok_.SetFont(shownFont);
  if (withConfirm_) confirm_.SetFont(shownFont);
  font_ = std::move(font);  // the old font only now, when no control uses it any more

  if (icon_.Handle()) {
    const int size = layout.icon.w;
    IconHandle image(static_cast<HICON>(
        LoadImageW(nullptr, IconResource(kind_), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    const HICON shown = image ? image.get() : LoadIconW(nullptr, IconResource(kind_));
    SendMessageW(icon_.Handle(), STM_SETICON, reinterpret_cast<WPARAM>(shown), 0);
    iconImage_ = std::move(image);
  }

  auto place = [](ui::Control& control, const Rect& r) { control.SetBounds(r.x, r.y, r.w, r.h); };
  if (icon_.Handle()) place(icon_, layout.icon);
  place(*textBox_, layout.text);
  place(ok_, layout.ok);
  if (withConfirm_) place(confirm_, layout.confirm);
  SetWindowPos(Handle(), nullptr, layout.window.x, layout.window.y, layout.window.w,
               layout.window.h, SWP_NOZORDER | SWP_NOACTIVATE);
  // Controls that kept their place but got a new font draw anew, all of them.
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT MessageWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // Commands that no button wrapper took: Esc from the dialog manager (IDCANCEL without a
      // control) and commands sent by id alone.
      if (HIWORD(wp) == BN_CLICKED) {
        switch (LOWORD(wp)) {
          case IDOK:
          case IDCANCEL:
            Finish(false);
            return 0;
          case kMessageConfirmId:
            if (withConfirm_) Finish(true);
            return 0;
          default:
            break;
        }
      }
      break;
    case WM_CLOSE:
      Finish(false);
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_ACTIVATE:
      // Back to the control that had the focus, as a dialog does.
      if (LOWORD(wp) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
      } else if (lastFocus_ && IsWindow(lastFocus_) && IsChild(Handle(), lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_MOUSEWHEEL:
      // The wheel scrolls the text wherever the focus is (a button passes it on to us).
      if (textBox_ && textBox_->Scrolling()) {
        SendMessageW(textBox_->Handle(), msg, wp, lp);
        return 0;
      }
      break;
    case WM_DPICHANGED:
      Layout(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
      return 0;
    default:
      break;
  }
  return DefaultHandling(msg, wp, lp);
}

bool MessageWindow::ShowModal(HWND owner, bool beep) {
  Create(owner);
  if (beep) MessageBeep(MessageBeepType(kind_));
  {
    // The owner is enabled again before the window goes, so activation returns to it and not to
    // another program.
    const ui::DisabledWhileShown disabled(owner);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    SetFocus(ok_.Handle());

    // The modal loop: this window's keys go through the dialog manager (Enter, Esc, Alt+C, Tab);
    // every other message of the thread is dispatched as usual.
    if (!ui::RunModalLoop(Handle(), [this] { return done_; })) confirmed_ = false;
  }
  Destroy();
  return done_ && confirmed_;
}

}  // namespace

bool ShowMessageWindow(HWND owner, std::string_view text, int kind, bool withConfirm, bool beep) {
  if (kind < kMessageWarning || kind > kMessagePlain) kind = kMessagePlain;
  try {
    MessageWindow window(text, kind, withConfirm);
    return window.ShowModal(owner, beep);
  } catch (...) {
    ui::ReportCurrentException();
    return false;
  }
}

}  // namespace mirovane
