#include "ui/dialog_controls.h"

#include <imm.h>
#include <uxtheme.h>

#include <algorithm>
#include <utility>

#include "platform/codec.h"
#include "ui/dpi.h"
#include "ui/form.h"

namespace mirovane::ui {

namespace {

std::wstring ReadText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int n = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(n, 0)));
  return text;
}

// Takes the line breaks out of the text of a one-line field (a paste can bring them, and a
// format, a path or a command line must never hold one); true when there were any.
bool DropLineBreaks(std::wstring& text) {
  const auto end =
      std::remove_if(text.begin(), text.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; });
  if (end == text.end()) return false;
  text.erase(end, text.end());
  return true;
}

// The cp932 text of what the user typed, and the characters of it that cp932 cannot hold (those
// come through as "?": never as a look-alike).
std::string TypedText(const std::wstring& wide, std::wstring& lacking) {
  if (std::optional<std::string> exact = WideToCp932Exact(wide)) {
    lacking.clear();
    return std::move(*exact);
  }
  lacking = Cp932Lacks(wide);
  return WideToCp932(wide);
}

DWORD TabStyle(unsigned flags, bool byDefault) {
  const bool tab = byDefault ? !(flags & kNoTabStop) : false;
  return (tab ? WS_TABSTOP : 0) | ((flags & kGroupStart) ? WS_GROUP : 0);
}

// `cp932` cut to at most `maxBytes` bytes without splitting a double-byte character.
std::string CutToBytes(std::string_view cp932, int maxBytes) {
  if (maxBytes <= 0 || cp932.size() <= static_cast<std::size_t>(maxBytes)) {
    return std::string(cp932);
  }
  std::size_t end = 0;
  while (end < cp932.size()) {
    const std::size_t step = IsCp932LeadByte(static_cast<unsigned char>(cp932[end])) ? 2 : 1;
    if (end + step > static_cast<std::size_t>(maxBytes)) break;
    end += step;
  }
  return std::string(cp932.substr(0, end));
}

}  // namespace

void DialogControl::SetEnabled(bool enabled) {
  if (Handle() && Enabled() != enabled) EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

// ---- Buttons -----------------------------------------------------------------------------------

void Button::CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) {
  CreateHandle(
      0, L"BUTTON", caption.c_str(),
      WS_VISIBLE | TabStyle(flags, true) | ((flags & kDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
      parent, id);
}

bool Button::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  PerformClick();
  return true;
}

void CheckBox::CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) {
  CreateHandle(0, L"BUTTON", caption.c_str(), WS_VISIBLE | TabStyle(flags, true) | BS_AUTOCHECKBOX,
               parent, id);
  if (checked_) SendMessageW(Handle(), BM_SETCHECK, BST_CHECKED, 0);
}

void CheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (Handle()) SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (onClick) onClick();
}

bool CheckBox::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  // The control has flipped its own tick.
  const bool now = SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (now != checked_) {
    checked_ = now;
    if (onClick) onClick();
  }
  return true;
}

void RadioButton::CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) {
  // Only the first of a group is a tab stop; the arrows move within the group.
  CreateHandle(
      0, L"BUTTON", caption.c_str(),
      WS_VISIBLE | BS_AUTORADIOBUTTON | ((flags & kGroupStart) ? (WS_GROUP | WS_TABSTOP) : 0),
      parent, id);
  if (checked_) SendMessageW(Handle(), BM_SETCHECK, BST_CHECKED, 0);
}

void RadioButton::SyncGroup() {
  // The other buttons of the group have been unchecked by the control or by us: their wrappers
  // learn it without an event.
  const HWND parent = GetParent(Handle());
  HWND first = Handle();
  while (!(GetWindowLongPtrW(first, GWL_STYLE) & WS_GROUP)) {
    const HWND previous = GetWindow(first, GW_HWNDPREV);
    if (!previous) break;
    first = previous;
  }
  for (HWND h = first; h && GetParent(h) == parent; h = GetWindow(h, GW_HWNDNEXT)) {
    if (h != first && (GetWindowLongPtrW(h, GWL_STYLE) & WS_GROUP)) break;
    auto* other = dynamic_cast<RadioButton*>(Control::FromHandle(h));
    if (!other || other == this) continue;
    if (other->checked_ && checked_) {
      other->checked_ = false;
      SendMessageW(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

void RadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (!Handle()) return;
  SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  SyncGroup();
  if (checked && onClick) onClick();
}

bool RadioButton::OnCommand(WORD code) {
  if (code != BN_CLICKED) return false;
  const bool now = SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (now != checked_) {
    checked_ = now;
    SyncGroup();
    if (now && onClick) onClick();
  }
  return true;
}

void GroupBox::CreateOn(HWND parent, int id, const std::wstring& caption, unsigned /*flags*/) {
  CreateHandle(0, L"BUTTON", caption.c_str(), WS_VISIBLE | BS_GROUPBOX, parent, id);
}

// ---- Texts -------------------------------------------------------------------------------------

void StaticText::CreateOn(HWND parent, int id, const std::wstring& caption, unsigned /*flags*/) {
  if (text_.empty()) text_ = WideToCp932(caption);
  CreateHandle(0, L"STATIC", Cp932ToWide(text_).c_str(),
               WS_VISIBLE | (rightAlign ? SS_RIGHT : (wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP)) |
                   (noPrefix ? SS_NOPREFIX : 0),
               parent, id);
}

void StaticText::SetText(std::string_view cp932) {
  if (cp932 == text_) return;
  text_.assign(cp932);
  if (Handle()) SetWindowTextW(Handle(), Cp932ToWide(text_).c_str());
}

void Edit::CreateOn(HWND parent, int id, const std::wstring& caption, unsigned flags) {
  if (text_.empty()) text_ = CutToBytes(WideToCp932(caption), maxBytes);
  DWORD style = WS_VISIBLE | TabStyle(flags, true) | (readOnly ? ES_READONLY : 0);
  // Several lines never wrap: each line scrolls sideways, as it shows where it ends up (one line
  // of the alarm's message is one line of its window).
  style |= multiLine ? (ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN |
                        WS_VSCROLL | WS_HSCROLL)
                     : ES_AUTOHSCROLL;
  CreateHandle(WS_EX_CLIENTEDGE, L"EDIT", Cp932ToWide(text_).c_str(), style, parent, id);
  if (imeOff) ImmAssociateContext(Handle(), nullptr);
  if (maxChars > 0) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
}

void Edit::SetText(std::string_view cp932) {
  std::string text = CutToBytes(cp932, maxBytes);
  lacking_.clear();
  if (text == text_) return;
  text_ = std::move(text);
  if (Handle()) WriteWindowText(Cp932ToWide(text_));
  if (onChange) onChange();
}

void Edit::WriteWindowText(const std::wstring& text) {
  writing_ = true;
  SetWindowTextW(Handle(), text.c_str());
  writing_ = false;
}

void Edit::TextChangedByControl() {
  std::wstring wide = ReadText(Handle());
  if (!multiLine && DropLineBreaks(wide)) {
    // The field shows the text without them; the change that causes is taken as the user's.
    DWORD start = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    WriteWindowText(wide);
    const auto caret = static_cast<WPARAM>(std::min<std::size_t>(start, wide.size()));
    SendMessageW(Handle(), EM_SETSEL, caret, static_cast<LPARAM>(caret));
  }
  std::wstring lacking;
  std::string now = TypedText(wide, lacking);
  if (maxBytes > 0 && now.size() > static_cast<std::size_t>(maxBytes)) {
    // Typed or pasted past the limit: the text stays as it was.
    MessageBeep(MB_OK);
    DWORD start = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    const std::wstring kept = Cp932ToWide(text_);
    WriteWindowText(kept);
    const auto caret = static_cast<WPARAM>(std::min<std::size_t>(start, kept.size()));
    SendMessageW(Handle(), EM_SETSEL, caret, static_cast<LPARAM>(caret));
    return;
  }
  lacking_ = std::move(lacking);
  if (now == text_) return;
  text_ = std::move(now);
  if (onChange) onChange();
}

bool Edit::OnCommand(WORD code) {
  switch (code) {
    case EN_CHANGE:
      if (!writing_) TextChangedByControl();
      return true;
    case EN_KILLFOCUS:
      if (onExit) onExit();
      return true;
    default:
      return false;
  }
}

// ---- Combo box ---------------------------------------------------------------------------------

void ComboBox::CreateOn(HWND parent, int id, const std::wstring& /*caption*/, unsigned flags) {
  CreateHandle(0, L"COMBOBOX", L"",
               WS_VISIBLE | WS_VSCROLL | TabStyle(flags, true) |
                   (editable ? (CBS_DROPDOWN | CBS_AUTOHSCROLL) : CBS_DROPDOWNLIST),
               parent, id);
  for (const std::string& item : items_) {
    SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Cp932ToWide(item).c_str()));
  }
  if (index_ >= 0) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index_), 0);
  if (editable) SetWindowTextW(Handle(), Cp932ToWide(text_).c_str());
}

void ComboBox::AfterLayout(UINT dpi) {
  // The height given is that of the closed box; the list drops below it for up to ten items.
  if (!Handle()) return;
  const RECT r = Bounds();
  const int itemHeight =
      static_cast<int>(SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0)) + Scale(1, dpi);
  SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left,
               (r.bottom - r.top) + itemHeight * std::clamp(ItemCount(), 1, 10) + Scale(4, dpi),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ComboBox::SetItems(const std::vector<std::string>& cp932Items) {
  items_ = cp932Items;
  if (Handle()) {
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items_) {
      SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Cp932ToWide(item).c_str()));
    }
    if (editable) SetWindowTextW(Handle(), Cp932ToWide(text_).c_str());
  }
  if (index_ >= ItemCount()) index_ = -1;
  if (Handle() && !editable) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index_), 0);
}

void ComboBox::Update(int index, std::string text, std::wstring lacking) {
  lacking_ = std::move(lacking);
  const bool changed = index != index_ || text != text_;
  index_ = index;
  text_ = std::move(text);
  if (changed && onChange) onChange();
}

void ComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= ItemCount()) index = -1;
  if (index == index_) return;
  if (Handle()) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  std::string text =
      index >= 0 ? items_[static_cast<std::size_t>(index)] : (editable ? text_ : std::string());
  if (editable && Handle()) SetWindowTextW(Handle(), Cp932ToWide(text).c_str());
  Update(index, std::move(text));
}

void ComboBox::SetText(std::string_view cp932) {
  if (!editable) {
    const auto found = std::find(items_.begin(), items_.end(), cp932);
    SetItemIndex(found == items_.end() ? -1 : static_cast<int>(found - items_.begin()));
    return;
  }
  std::string text = CutToBytes(cp932, maxBytes);
  if (text == text_) return;
  if (Handle()) SetWindowTextW(Handle(), Cp932ToWide(text).c_str());
  Update(-1, std::move(text));
}

bool ComboBox::OnCommand(WORD code) {
  switch (code) {
    case CBN_SELCHANGE: {
      // The edit part of an editable box still holds the old text now: take the item's.
      const int index = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
      if (index < 0 || index >= ItemCount()) return true;
      Update(index, items_[static_cast<std::size_t>(index)]);
      return true;
    }
    case CBN_EDITCHANGE: {
      std::wstring wide = ReadText(Handle());
      if (DropLineBreaks(wide)) {
        const auto selection = SendMessageW(Handle(), CB_GETEDITSEL, 0, 0);
        const auto caret = std::min<std::size_t>(LOWORD(selection), wide.size());
        SetWindowTextW(Handle(), wide.c_str());
        SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(caret, caret));
      }
      std::wstring lacking;
      std::string now = TypedText(wide, lacking);
      if (maxBytes > 0 && now.size() > static_cast<std::size_t>(maxBytes)) {
        MessageBeep(MB_OK);
        SetWindowTextW(Handle(), Cp932ToWide(text_).c_str());
        return true;
      }
      Update(-1, std::move(now), std::move(lacking));
      return true;
    }
    default:
      return false;
  }
}

std::wstring UnstorableTextMessage(std::string_view fieldUtf8, const std::wstring& lacking) {
  std::wstring shown;
  for (const wchar_t c : lacking) {
    // Each character once, a blank between two (a surrogate pair stays together).
    if (!shown.empty() && !(c >= 0xDC00 && c <= 0xDFFF)) shown += L' ';
    shown += c;
  }
  return L"\u300C" + Utf8ToWide(fieldUtf8) + Utf8ToWide("」に保存できない文字があります: ") +
         shown + Utf8ToWide("\r\nShift_JIS で表せない文字です。別の文字に直して下さい。");
}

// ---- Tabs --------------------------------------------------------------------------------------

namespace {
constexpr wchar_t kTabPageClass[] = L"MirovaneTabPage";
}

void TabPage::Create(HWND parent) {
  RegisterDialogClass(kTabPageClass);
  // A control parent: Tab and the mnemonics reach the controls on it.
  CreateHandle(WS_EX_CONTROLPARENT, kTabPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0,
               parent, 0);
  // Drawn in the tab control's own background where visual styles give it one.
  EnableThemeDialogTexture(Handle(), ETDT_ENABLETAB);
}

LRESULT TabPage::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // Key messages of the dialog manager go to the form (default button, cancel button).
  if (msg == DM_GETDEFID || (msg == WM_COMMAND && lp == 0)) {
    return SendMessageW(GetAncestor(Handle(), GA_ROOT), msg, wp, lp);
  }
  return DefaultHandling(msg, wp, lp);
}

void TabControl::CreateOn(HWND parent, int id, const std::wstring& /*caption*/, unsigned flags) {
  CreateHandle(0, WC_TABCONTROLW, L"",
               WS_VISIBLE | WS_CLIPSIBLINGS | TCS_HOTTRACK | TabStyle(flags, true), parent, id);
}

void TabControl::AddPage(TabPage& page, const std::wstring& caption) {
  page.caption_ = caption;
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(page.caption_.c_str());
  SendMessageW(Handle(), TCM_INSERTITEMW, pages_.size(), reinterpret_cast<LPARAM>(&item));
  pages_.push_back(&page);
  // Pages lie directly above the tab control (which would cover them otherwise), so in the Tab
  // order their controls come just before the tab strip.
  const HWND above = GetWindow(Handle(), GW_HWNDPREV);
  SetWindowPos(page.Handle(), above ? above : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (active_ < 0) {
    active_ = 0;
    ShowActivePage();
  }
}

RECT TabControl::PageArea() const {
  RECT r = Bounds();
  SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TabControl::AfterLayout(UINT /*dpi*/) {
  const RECT area = PageArea();
  for (TabPage* page : pages_) {
    page->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
  }
}

void TabControl::ShowActivePage() {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    ShowWindow(pages_[i]->Handle(), static_cast<int>(i) == active_ ? SW_SHOWNA : SW_HIDE);
  }
}

void TabControl::SetActiveIndex(int index) {
  if (index < 0 || index >= PageCount() || index == active_) return;
  active_ = index;
  if (Handle()) SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  ShowActivePage();
  if (onChange) onChange();
}

bool TabControl::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.code != TCN_SELCHANGE) return false;
  const int index = static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
  result = 0;
  if (index == active_ || index < 0) return true;
  active_ = index;
  ShowActivePage();
  if (onChange) onChange();
  return true;
}

// ---- Date and time picker ----------------------------------------------------------------------

void DateTimePicker::CreateOn(HWND parent, int id, const std::wstring& /*caption*/,
                              unsigned flags) {
  CreateHandle(0, DATETIMEPICK_CLASSW, L"",
               WS_VISIBLE | TabStyle(flags, true) |
                   (timeOnly ? (DTS_TIMEFORMAT | DTS_UPDOWN)
                             : (DTS_SHORTDATEFORMAT | (upDown ? DTS_UPDOWN : 0))),
               parent, id);
  if (!format_.empty())
    SendMessageW(Handle(), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format_.c_str()));
  if (value_.wYear != 0) {
    SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value_));
  } else {
    SendMessageW(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value_));
  }
}

void DateTimePicker::SetFormat(std::string_view utf8Format) {
  format_ = Utf8ToWide(utf8Format);
  if (Handle()) {
    SendMessageW(Handle(), DTM_SETFORMATW, 0,
                 reinterpret_cast<LPARAM>(format_.empty() ? nullptr : format_.c_str()));
  }
}

namespace {
bool SameMoment(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
         a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}
}  // namespace

void DateTimePicker::SetValue(const SYSTEMTIME& value) {
  if (SameMoment(value, value_)) return;
  value_ = value;
  if (Handle()) {
    SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value_));
    // The picker keeps what it can show (a valid date); report that.
    SendMessageW(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value_));
  }
  if (onChange) onChange();
}

bool DateTimePicker::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.code != DTN_DATETIMECHANGE) return false;
  const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
  result = 0;
  if (change.dwFlags != GDT_VALID || SameMoment(change.st, value_)) return true;
  value_ = change.st;
  if (onChange) onChange();
  return true;
}

// ---- Check list --------------------------------------------------------------------------------

void CheckList::CreateOn(HWND parent, int id, const std::wstring& /*caption*/, unsigned flags) {
  CreateHandle(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
               WS_VISIBLE | TabStyle(flags, true) | LVS_REPORT | LVS_NOCOLUMNHEADER |
                   LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA,
               parent, id);
  SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  // The ticks come from the items too (asked for with the texts).
  SendMessageW(Handle(), LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  SendMessageW(Handle(), LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  Refresh();
}

void CheckList::AfterLayout(UINT /*dpi*/) { FitColumn(); }

void CheckList::FitColumn() {
  if (!Handle()) return;
  // The longest text in bytes is the widest in a fixed-pitch font; one measurement of it is
  // enough, whatever the length of the list.
  std::size_t longest = 0;
  const std::string* widest = nullptr;
  for (const Item& item : items_) {
    if (item.text.size() >= longest) {
      longest = item.text.size();
      widest = &item.text;
    }
  }
  RECT client{};
  GetClientRect(Handle(), &client);
  int width = client.right;
  if (widest) {
    const int needed = static_cast<int>(SendMessageW(
        Handle(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(Cp932ToWide(*widest).c_str())));
    width = std::max(width, needed + GetSystemMetrics(SM_CXSMICON) * 2 + 12);
  }
  SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, 0, width);
}

void CheckList::Refresh() {
  if (!Handle()) return;
  SendMessageW(Handle(), LVM_SETITEMCOUNT, items_.size(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  InvalidateRect(Handle(), nullptr, FALSE);
  FitColumn();
}

void CheckList::SetItems(std::vector<Item> items) {
  items_ = std::move(items);
  Refresh();
}

void CheckList::SetChecked(int index, bool checked) {
  if (index < 0 || index >= Count() || items_[static_cast<std::size_t>(index)].checked == checked) {
    return;
  }
  items_[static_cast<std::size_t>(index)].checked = checked;
  if (Handle()) SendMessageW(Handle(), LVM_REDRAWITEMS, index, index);
}

void CheckList::SetText(int index, std::string_view cp932) {
  if (index < 0 || index >= Count()) return;
  items_[static_cast<std::size_t>(index)].text.assign(cp932);
  if (Handle()) SendMessageW(Handle(), LVM_REDRAWITEMS, index, index);
  FitColumn();
}

void CheckList::Insert(int index, Item item) {
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, std::move(item));
  Refresh();
}

void CheckList::Remove(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  if (Selected() >= Count()) Select(Count() - 1);
  Refresh();
}

void CheckList::Swap(int a, int b) {
  if (a < 0 || b < 0 || a >= Count() || b >= Count()) return;
  std::swap(items_[static_cast<std::size_t>(a)], items_[static_cast<std::size_t>(b)]);
  if (Handle()) {
    SendMessageW(Handle(), LVM_REDRAWITEMS, std::min(a, b), std::max(a, b));
  }
}

int CheckList::Selected() const {
  if (!Handle()) return -1;
  return static_cast<int>(
      SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CheckList::Select(int index) {
  if (!Handle()) return;
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = 0;
  // Only the selected and the focused entry lose their state: asking every entry (index -1)
  // would cost a pass over the whole list on every selection.
  for (UINT which : {LVNI_SELECTED, LVNI_FOCUSED}) {
    const auto at =
        static_cast<int>(SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), which));
    if (at >= 0 && at != index) {
      SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(at),
                   reinterpret_cast<LPARAM>(&state));
    }
  }
  if (index < 0 || index >= Count()) return;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&state));
  SendMessageW(Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void CheckList::FlipByUser(int index) {
  if (index < 0 || index >= Count()) return;
  SetChecked(index, !items_[static_cast<std::size_t>(index)].checked);
  if (onCheckClick) onCheckClick(index);
}

bool CheckList::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_KEYDOWN && onKeyDown && onKeyDown(wp)) {
    result = 0;
    return true;
  }
  return DialogControl::OnMessage(msg, wp, lp, result);
}

bool CheckList::OnNotify(const NMHDR& header, LRESULT& result) {
  result = 0;
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
      LVITEMW& item = info.item;
      if (item.iItem < 0 || item.iItem >= Count()) return true;
      const Item& entry = items_[static_cast<std::size_t>(item.iItem)];
      if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        buffer_ = Cp932ToWide(entry.text);
        const std::size_t n =
            std::min<std::size_t>(buffer_.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        std::copy_n(buffer_.data(), n, item.pszText);
        item.pszText[n] = L'\0';
      }
      if (item.mask & LVIF_STATE) {
        item.state =
            (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(entry.checked ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
      }
      return true;
    }
    case NM_CLICK: {
      // A click in the check box of an entry flips its tick.
      const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
      LVHITTESTINFO hit{};
      hit.pt = click.ptAction;
      SendMessageW(Handle(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.iItem >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) FlipByUser(hit.iItem);
      return true;
    }
    case NM_DBLCLK: {
      // A second quick click in a check box flips the tick again, as on a check box control;
      // elsewhere on an entry it is the list's double-click.
      const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
      LVHITTESTINFO hit{};
      hit.pt = click.ptAction;
      SendMessageW(Handle(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.iItem >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) {
        FlipByUser(hit.iItem);
      } else if (click.iItem >= 0 && onDblClick) {
        onDblClick();
      }
      return true;
    }
    case LVN_KEYDOWN: {
      const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
      if (key.wVKey == VK_SPACE) FlipByUser(Selected());
      return true;
    }
    default:
      return false;
  }
}

}  // namespace mirovane::ui
