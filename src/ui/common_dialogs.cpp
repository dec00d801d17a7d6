#include "ui/common_dialogs.h"

#include "ui/system_library.h"

namespace mirovane {
namespace {

// The function `name` of comdlg32, loaded once and kept for the rest of the process.
template <typename Function>
Function* Comdlg(const char* name) {
  static const HMODULE library = LoadLibraryW(L"comdlg32.dll");
  return ui::LibraryFunction<Function>(library, name);
}

}  // namespace

BOOL ShowOpenFileDialog(OPENFILENAMEW* dialog) {
  static auto* const function = Comdlg<BOOL WINAPI(OPENFILENAMEW*)>("GetOpenFileNameW");
  return function ? function(dialog) : FALSE;
}

BOOL ShowFontDialog(CHOOSEFONTW* dialog) {
  static auto* const function = Comdlg<BOOL WINAPI(CHOOSEFONTW*)>("ChooseFontW");
  return function ? function(dialog) : FALSE;
}

BOOL ShowColorDialog(CHOOSECOLORW* dialog) {
  static auto* const function = Comdlg<BOOL WINAPI(CHOOSECOLORW*)>("ChooseColorW");
  return function ? function(dialog) : FALSE;
}

}  // namespace mirovane
