// Functions of system libraries that the program needs only after its window shows (the shell,
// COM, the common dialogs), looked up when first called instead of imported. Under Wine each of
// these libraries brings others with it, and loading them all before the first paint costs the
// start a noticeable time; a library that is never needed in a session is never loaded.
#pragma once

#include <windows.h>

namespace mirovane::ui {

// The function `name` of the system library `library` (such as L"shell32.dll") as a pointer of
// type Function*, or null. The library is loaded if it is not yet; each lookup keeps a reference
// to it for the rest of the process, since callers keep the pointer.
template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* name) {
  const HMODULE module = LoadLibraryW(library);
  if (!module) return nullptr;
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace mirovane::ui
