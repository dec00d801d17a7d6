// Functions of system libraries that the program needs only after its window shows (the shell,
// COM, the common dialogs), looked up when first called instead of imported. Under Wine each of
// these libraries brings others with it, and loading them all before the first paint costs the
// start a noticeable time; a library that is never needed in a session is never loaded.
#pragma once

#include <windows.h>

namespace mirovane::ui {

// The function `name` of `library` (a handle from LoadLibraryW, possibly null), as a pointer of
// type Function*, or null.
template <typename Function>
Function* LibraryFunction(HMODULE library, const char* name) {
  if (!library) return nullptr;
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace mirovane::ui
