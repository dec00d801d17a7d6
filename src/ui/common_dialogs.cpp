#include "ui/common_dialogs.h"

#include "ui/system_library.h"

namespace mirovane {
namespace {

constexpr wchar_t kComdlg32[] = L"comdlg32.dll";

}  // namespace

BOOL ShowOpenFileDialog(OPENFILENAMEW* dialog) {
  static auto* const function =
      ui::SystemFunction<BOOL WINAPI(OPENFILENAMEW*)>(kComdlg32, "GetOpenFileNameW");
  return function ? function(dialog) : FALSE;
}

BOOL ShowFontDialog(CHOOSEFONTW* dialog) {
  static auto* const function =
      ui::SystemFunction<BOOL WINAPI(CHOOSEFONTW*)>(kComdlg32, "ChooseFontW");
  return function ? function(dialog) : FALSE;
}

BOOL ShowColorDialog(CHOOSECOLORW* dialog) {
  static auto* const function =
      ui::SystemFunction<BOOL WINAPI(CHOOSECOLORW*)>(kComdlg32, "ChooseColorW");
  return function ? function(dialog) : FALSE;
}

}  // namespace mirovane
