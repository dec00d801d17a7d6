// The system's file, font and colour dialogs, with their library (comdlg32) loaded on first use
// instead of at the program's start: under Wine it brings the printing libraries with it, which
// cost a started program about a third of its working set and a tenth of a second before its
// window shows. The functions take and return what the system functions of the same purpose do;
// they fail (FALSE) if the library cannot be loaded.
#pragma once

#include <windows.h>

#include <commdlg.h>

namespace mirovane {

BOOL ShowOpenFileDialog(OPENFILENAMEW* dialog);
BOOL ShowFontDialog(CHOOSEFONTW* dialog);
BOOL ShowColorDialog(CHOOSECOLORW* dialog);

}  // namespace mirovane
