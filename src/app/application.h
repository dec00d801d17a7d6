// Program-wide Win32 set-up: the common controls, the hidden application window that owns the
// main window, and the message loop.
#pragma once

#include <windows.h>

#include "ui/window.h"

namespace mirovane {

inline constexpr wchar_t kApplicationWindowClass[] = L"MirovaneApplication";

// Registers the common control classes the program uses (month calendar, date-time picker,
// up-down, list view, tab control).
void InitCommonControlsForProgram();

// The hidden top-level window that owns the main window. Its extended style is exactly the
// tool-window style, so the program has no task-bar button and no Alt+Tab entry.
class ApplicationWindow : public ui::Window {
 public:
  ApplicationWindow() = default;
  ~ApplicationWindow() override;
  void Create();
};

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace mirovane
