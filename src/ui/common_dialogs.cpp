#include "ui/common_dialogs.h"

#include "ui/system_library.h"

namespace mirovane {
namespace {

// Loaded once and kept for the rest of the process.
HMODULE ComdlgLibrary() {
  static const HMODULE library = LoadLibraryW(L"comdlg32.dll");
  return library;
}

// The function `name` of comdlg32.
template <typename Function>
Function* Comdlg(const char* name) {
  return ui::LibraryFunction<Function>(ComdlgLibrary(), name);
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
