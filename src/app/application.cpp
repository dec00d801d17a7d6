#include "app/application.h"

#include <commctrl.h>

#include "../../res/resource.h"

namespace mirovane {

void InitCommonControlsForProgram() {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES |
              ICC_TAB_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&icc);
}

ApplicationWindow::~ApplicationWindow() { Destroy(); }

void ApplicationWindow::Create() {
  WNDCLASSEXW wc{};
  wc.hIcon = LoadIconW(ui::ModuleInstance(), MAKEINTRESOURCEW(IDI_APP));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kApplicationWindowClass;
  RegisterClassOnce(wc);
  CreateHandle(WS_EX_TOOLWINDOW, kApplicationWindowClass, L"Mirovane", WS_POPUP, 0, 0, 0, 0,
               nullptr, 0);
  // Exactly the tool-window style, whatever the system added at creation.
  SetWindowLongPtrW(Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
}

int RunMessageLoop() {
  MSG msg{};
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return -1;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace mirovane
