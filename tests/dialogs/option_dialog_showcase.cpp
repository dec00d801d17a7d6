// The options dialog on its own, to look at and for screenshots:
//   tools/wine-run build/windows/bin/option_dialog_showcase.exe [TAB [preview [SECONDS]]]
// TAB 0..2 opens that tab; "preview" opens the colour preview beside it as well. The dialog works
// on a settings record of defaults and closes itself after SECONDS (default 30). With
// MIROVANE_FOCUS_SPIN set, the first spin edit of the tab takes the focus once the dialog shows.
#include <windows.h>

#include <cwchar>
#include <string>

#include "app/application.h"
#include "dialogs/option_dialog.h"
#include "format/formatter.h"
#include "platform/clock.h"
#include "platform/regional.h"
#include "settings/settings.h"
#include "showcase_focus.h"
#include "ui/timer.h"

int wmain(int argc, wchar_t** argv) {
  using namespace mirovane;
  InitCommonControlsForProgram();
  const int tab = argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 0;
  const bool preview = argc > 2 && std::wstring(argv[2]) == L"preview";
  const UINT seconds = argc > 3 ? static_cast<UINT>(std::wcstoul(argv[3], nullptr, 10)) : 30;
  DateTimeFormatter display(SystemRegional());
  display.SetDateTimeEx(LocalNow());

  TCalendarSettings settings;
  OptionDialogTarget target;
  target.settings = &settings;
  target.display = &display;
  target.window.top = 0;
  target.window.left = 1000;
  TOptionSetDialog dialog(std::move(target));
  dialog.initialTab = tab;
  dialog.showPreviewAtStart = preview;
  if (_wgetenv(L"MIROVANE_FOCUS_SPIN")) showcase::FocusFirstSpinEditOnceShown();
  ui::Timer close(dialog, (seconds ? seconds : 30) * 1000, true);
  close.onTimer = [&dialog] { dialog.SetModalResult(kOptionResultCancel); };
  return dialog.ShowModal(nullptr);
}
