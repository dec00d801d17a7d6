// The alarm dialogs opened on their own, to look at (and for screenshots):
//   alarm_dialog_showcase.exe editor ENTRY [SECONDS]   the editor on ENTRY (UTF-8, may be empty)
//   alarm_dialog_showcase.exe list FILE [SECONDS]      the list of the alarm list FILE
// Each closes itself after SECONDS (default 30). With MIROVANE_FOCUS_SPIN set, the first spin
// edit takes the focus once the form shows.
#include <windows.h>

#include <cwchar>
#include <string>

#include "alarms/alarm_list_dialog.h"
#include "alarms/alarm_set_dialog.h"
#include "app/application.h"
#include "platform/codec.h"
#include "showcase_focus.h"

namespace {

void CALLBACK CloseForms(HWND, UINT, UINT_PTR, DWORD) {
  // The editor over the list first, then the list.
  if (const HWND form = FindWindowW(L"MirovaneForm", nullptr)) PostMessageW(form, WM_CLOSE, 0, 0);
}

mirovane::AlarmEditorStart Start() {
  mirovane::AlarmEditorStart start;
  start.Date = mirovane::CivilDate{2026, 12, 9};
  start.Hour = 17;
  start.Minute = 5;
  return start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  mirovane::InitCommonControlsForProgram();
  if (argc < 3) return 2;
  const std::wstring mode = argv[1];
  const UINT seconds = argc > 3 ? static_cast<UINT>(std::wcstoul(argv[3], nullptr, 10)) : 30;
  SetTimer(nullptr, 0, (seconds ? seconds : 30) * 1000, CloseForms);
  if (_wgetenv(L"MIROVANE_FOCUS_SPIN")) mirovane::showcase::FocusFirstSpinEditOnceShown();
  if (mode == L"editor") {
    mirovane::TAlarmSetDialog editor(Start());
    editor.EntryText = mirovane::WideToCp932(argv[2]);
    return editor.ShowModal(nullptr);
  }
  mirovane::TAlarmListDialog list(argv[2], Start);
  list.SelectEntry(0);
  return list.ShowModal(nullptr);
}
