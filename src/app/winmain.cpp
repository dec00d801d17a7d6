// Program entry: single-instance guard, application window, main window, message loop.
#include <windows.h>

#include <string>

#include "app/application.h"
#include "app/calendar_dialog.h"
#include "app/instance_guard.h"
#include "format/formatter.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/regional.h"
#include "ui/shell.h"

namespace {

void ShowAlreadyRunning() {
  static const std::wstring text = mirovane::Utf8ToWide("既に起動しています。");
  MessageBoxW(nullptr, text.c_str(), L"Mirovane", MB_ICONWARNING | MB_OK);  // style 0x30
}

int Run() {
  using namespace mirovane;
  const std::wstring guardName = InstanceGuardName(ExecutablePath().wstring());

  // Another copy from a folder of the same name with the same file name is running: say so and
  // end without touching anything else.
  if (HANDLE existing = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, guardName.c_str())) {
    CloseHandle(existing);
    ShowAlreadyRunning();
    return 0;
  }
  HANDLE guard = CreateMutexW(nullptr, FALSE, guardName.c_str());
  if (guard && GetLastError() == ERROR_ALREADY_EXISTS) {
    // Both copies started at the same moment and the other one created the guard first.
    CloseHandle(guard);
    ShowAlreadyRunning();
    return 0;
  }

  int exitCode = 0;
  {
    InitCommonControlsForProgram();

    ApplicationWindow application;
    application.Create();
    TCalendarDialog mainWindow;
    mainWindow.Create(application.Handle());
    mainWindow.Show();
    exitCode = RunMessageLoop();
  }

  // The shell's "open" (alarms, the Readme) made the thread an apartment if it ran.
  ui::LeaveShellApartment();
  if (guard) {
    ReleaseMutex(guard);
    CloseHandle(guard);
  }
  return exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    return Run();
  } catch (const std::exception& e) {
    const std::wstring text = mirovane::Utf8ToWide(e.what());
    MessageBoxW(nullptr, text.c_str(), L"Mirovane", MB_ICONERROR | MB_OK);
    return 1;
  } catch (...) {
    const std::wstring text = mirovane::Utf8ToWide("予期しないエラーが発生したため終了します。");
    MessageBoxW(nullptr, text.c_str(), L"Mirovane", MB_ICONERROR | MB_OK);
    return 1;
  }
}
