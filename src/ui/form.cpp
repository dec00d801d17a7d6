#include "ui/form.h"

#include <algorithm>

#include "platform/codec.h"
#include "ui/dialog_controls.h"
#include "ui/modal.h"

namespace mirovane::ui {

namespace {

constexpr wchar_t kFormClass[] = L"MirovaneForm";

// No WS_CLIPCHILDREN: group boxes paint only their frame, the form's background shows inside.
DWORD FrameStyle(FormFrame) { return WS_POPUP | WS_CAPTION | WS_SYSMENU; }

// A dialog frame: no icon, not sizable.
DWORD FrameExStyle(FormFrame) { return WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT; }

}  // namespace

Form::Form(FormSetup setup) : setup_(std::move(setup)), caption_(Utf8ToWide(setup_.captionUtf8)) {}

Form::~Form() {
  // The form's handlers run while its window goes.
  Destroy();
}

void Form::CreateWindowOn(HWND owner) {
  RegisterDialogClass(kFormClass);

  // Created hidden at the centre of the owner's monitor, so that its DPI is that monitor's.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT work = monitor.rcWork;
  CreateHandle(FrameExStyle(setup_.frame), kFormClass, caption_.c_str(), FrameStyle(setup_.frame),
               (work.left + work.right) / 2, (work.top + work.bottom) / 2, 1, 1, owner, 0);
  if (setup_.frame == FormFrame::CloseBoxOnly) KeepOnlyMoveAndClose();
  dpi_ = Dpi();

  CreateControls();
  // Group boxes go to the bottom of the drawing order: the controls inside them are their
  // siblings and must not be covered (they are no tab stops, so the Tab order stays).
  for (Entry& e : entries_) {
    if (dynamic_cast<GroupBox*>(e.control)) {
      SetWindowPos(e.control->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  Layout(dpi_);

  // The client size of the table, centred on the work area of the monitor.
  const RECT frame = WindowFrame(dpi_);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = work.left + std::max(0L, (work.right - work.left - width) / 2);
  const int top = work.top + std::max(0L, (work.bottom - work.top - height) / 2);
  SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  FormCreate();
}

int Form::ShowModal(HWND owner) {
  modalResult_ = 0;
  CreateWindowOn(owner);

  bool ended = false;
  {
    // The owner comes back on every way out, and before the form goes, so that activation
    // returns to it and not to another program.
    const DisabledWhileShown disabled(owner);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    // The first control of the table that takes the focus gets it.
    if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) SetFocus(first);
    try {
      if (onShow) onShow();
    } catch (...) {
      // A form whose showing failed half-way is not left up: the failure is reported and the
      // form closes as its close box would close it.
      ReportCurrentException();
      SetModalResult(setup_.closeResult);
    }
    ended = RunModalLoop(
        Handle(), [this] { return modalResult_ != 0; },
        [this](const MSG& msg) { return PreviewKey(msg); });
  }
  const int result = ended ? modalResult_ : 0;
  try {
    if (onDestroy) onDestroy();
  } catch (...) {
    ReportCurrentException();
  }
  Destroy();
  return result;
}

bool Form::PreviewKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)) return false;
  if (onKeyDown && onKeyDown(msg.wParam)) return true;
  // Ctrl+Tab and Ctrl+Shift+Tab turn the pages of the form's tab control.
  if (msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
    for (Entry& e : entries_) {
      auto* tabs = dynamic_cast<TabControl*>(e.control);
      if (!tabs || tabs->PageCount() == 0) continue;
      const int n = tabs->PageCount();
      const int step = GetKeyState(VK_SHIFT) < 0 ? n - 1 : 1;
      tabs->SetActiveIndex((tabs->ActiveIndex() + step) % n);
      return true;
    }
  }
  return false;
}

void Form::Add(DialogControl& control, Place place, std::string_view captionUtf8, unsigned flags,
               TabPage* page) {
  const HWND parent = page ? page->Handle() : Handle();
  control.CreateOn(parent, nextId_++, Utf8ToWide(captionUtf8), flags);
  if (flags & kDefault) defaultButton_ = &control;
  if (flags & kCancel) cancelButton_ = &control;
  entries_.push_back(Entry{&control, place, page, false, FontSpec{}, FontHandle()});
}

void Form::AddPage(TabControl& tabs, TabPage& page, std::string_view captionUtf8) {
  page.Create(Handle());
  tabs.AddPage(page, Utf8ToWide(captionUtf8));
}

void Form::SetControlFont(DialogControl& control, const FontSpec& font) {
  for (Entry& e : entries_) {
    if (e.control != &control) continue;
    e.ownFont = true;
    e.font = font;
    e.fontHandle = CreateUiFont(font, dpi_);
    control.SetFont(e.fontHandle.get());
  }
}

void Form::ForEachControl(const std::function<void(DialogControl&)>& action) {
  for (Entry& e : entries_) action(*e.control);
}

RECT Form::WindowFrame(UINT dpi) const {
  RECT frame{0, 0, Scale(setup_.clientWidth96, dpi), Scale(setup_.clientHeight96, dpi)};
  AdjustWindowRectExForDpi(&frame, FrameStyle(setup_.frame), FALSE, FrameExStyle(setup_.frame),
                           dpi);
  const int margin = Scale(setup_.borderWidth96, dpi);
  InflateRect(&frame, margin, margin);
  return frame;
}

void Form::PaintMargin() {
  RECT window{};
  GetWindowRect(Handle(), &window);
  RECT client{};
  GetClientRect(Handle(), &client);
  MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  RECT band = client;
  const int margin = Scale(setup_.borderWidth96, Dpi());
  InflateRect(&band, margin, margin);
  const HDC dc = GetWindowDC(Handle());
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
  ReleaseDC(Handle(), dc);
}

RECT Form::Scaled(const Place& place, UINT dpi) const {
  return RECT{Scale(place.x, dpi), Scale(place.y, dpi), Scale(place.x + place.w, dpi),
              Scale(place.y + place.h, dpi)};
}

void Form::Layout(UINT dpi) {
  dpi_ = dpi;
  formFont_ = CreateUiFont(setup_.font, dpi);
  for (Entry& e : entries_) {
    if (e.ownFont) e.fontHandle = CreateUiFont(e.font, dpi);
    e.control->SetFont(e.ownFont ? e.fontHandle.get() : formFont_.get());
    const RECT r = Scaled(e.place, dpi);
    e.control->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    // A tab control places its pages over its display area before their controls are placed.
    e.control->AfterLayout(dpi);
  }
}

void Form::PressButton(DialogControl* button) {
  if (button && button->Enabled()) button->PerformClick();
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case DM_GETDEFID:
      // Enter presses the default button (the dialog manager asks for it).
      if (defaultButton_ && defaultButton_->Handle()) {
        return MAKELRESULT(defaultButton_->Id(), DC_HASDEFID);
      }
      return 0;
    case WM_COMMAND:
      // Esc comes as IDCANCEL, Enter without a default button as IDOK (no control has those ids).
      if (LOWORD(wp) == IDCANCEL && HIWORD(wp) == BN_CLICKED) {
        if (cancelButton_) PressButton(cancelButton_);
        return 0;
      }
      if (LOWORD(wp) == IDOK && HIWORD(wp) == BN_CLICKED) {
        PressButton(defaultButton_);
        return 0;
      }
      break;
    case WM_NEXTDLGCTL: {
      // The dialog manager's focus moves (mnemonics of labels, Tab): to the given control, or to
      // the next or previous one of the table. An edit reached this way has its text selected.
      HWND target = LOWORD(lp) ? reinterpret_cast<HWND>(wp)
                               : GetNextDlgTabItem(Handle(), GetFocus(), wp != 0);
      if (target) {
        SetFocus(target);
        if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
          SendMessageW(target, EM_SETSEL, 0, -1);
        }
      }
      return 0;
    }
    case WM_ACTIVATE:
      // As a dialog does: the focus leaves with the form and comes back to the same control.
      if (LOWORD(wp) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
      } else if (!HIWORD(wp)) {
        HWND target = lastFocus_;
        if (!target || !IsWindow(target) || !IsChild(Handle(), target)) {
          target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
        }
        if (target) SetFocus(target);
      }
      return 0;
    case WM_CLOSE:
      SetModalResult(setup_.closeResult);
      return 0;
    case WM_NCCALCSIZE:
      if (setup_.borderWidth96 > 0) {
        // The margin belongs to the frame: the client area inside it keeps the table's size.
        const LRESULT r = DefaultHandling(msg, wp, lp);
        RECT& client = *reinterpret_cast<RECT*>(lp);  // rgrc[0] of NCCALCSIZE_PARAMS, too
        const int margin = Scale(setup_.borderWidth96, Dpi());
        InflateRect(&client, -margin, -margin);
        return r;
      }
      break;
    case WM_NCPAINT:
      if (setup_.borderWidth96 > 0) {
        DefaultHandling(msg, wp, lp);
        PaintMargin();
        return 0;
      }
      break;
    case WM_DPICHANGED: {
      // At the suggested place, with exactly the table's client size for the new DPI (scaling
      // the whole window rectangle would leave the client area a frame's rounding off).
      const RECT& suggested = *reinterpret_cast<const RECT*>(lp);
      const UINT dpi = HIWORD(wp);
      const RECT frame = WindowFrame(dpi);
      int width = frame.right - frame.left;
      int height = frame.bottom - frame.top;
      SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      // The frame the window really has may differ from the system's metrics for that DPI (the
      // caption is the system's to scale): the client area is what must come out exact.
      RECT client{};
      GetClientRect(Handle(), &client);
      width += Scale(setup_.clientWidth96, dpi) - client.right;
      height += Scale(setup_.clientHeight96, dpi) - client.bottom;
      SetWindowPos(Handle(), nullptr, 0, 0, width, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      Layout(dpi);
      InvalidateRect(Handle(), nullptr, TRUE);
      return 0;
    }
    default:
      break;
  }
  return DefaultHandling(msg, wp, lp);
}

}  // namespace mirovane::ui
