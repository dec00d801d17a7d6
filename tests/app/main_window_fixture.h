// The main window created in-process with its settings file in a test folder of its own; error
// messages are collected instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/calendar_dialog.h"
#include "app/test_folder.h"
#include "app/win_test_support.h"
#include "format/formatter.h"
#include "platform/codec.h"
#include "platform/regional.h"

namespace mirovane::testing {

inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }

inline RECT ScreenRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

// The font a window draws with (WM_GETFONT).
inline LOGFONTW FontOf(HWND hwnd) {
  LOGFONTW lf{};
  const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  if (font) GetObjectW(font, sizeof lf, &lf);
  return lf;
}

// Character height in pixels of a font of `points` on the window's DPI.
inline int PointPixels(int points, UINT dpi) { return MulDiv(points, static_cast<int>(dpi), 72); }

// Takes one of a window's timers off the system clock: the test runs its ticks itself, one by one,
// so what happens after n ticks does not depend on how busy the machine is. (Ticks already queued
// for the window are dropped.)
class ManualTimer {
 public:
  ManualTimer(HWND owner, const ui::Timer& timer) : owner_(owner), id_(timer.Id()) {
    KillTimer(owner_, id_);
    MSG msg;
    while (PeekMessageW(&msg, owner_, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
  }
  void Tick(int times = 1) const {
    for (int i = 0; i < times; ++i) SendMessageW(owner_, WM_TIMER, id_, 0);
  }

 private:
  HWND owner_;
  UINT_PTR id_;
};

// A plain top-level window of the test, shown and made the foreground window: something else the
// user works in.
class OtherWindow {
 public:
  OtherWindow()
      : hwnd_(CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 10, 10, 80, 40,
                              nullptr, nullptr, nullptr, nullptr)) {
    SetForegroundWindow(hwnd_);
  }
  ~OtherWindow() { DestroyWindow(hwnd_); }
  OtherWindow(const OtherWindow&) = delete;
  OtherWindow& operator=(const OtherWindow&) = delete;
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_;
};

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitCommonControlsForProgram(); }

  void SetUp() override {
    app_.Create();
    NewDialog();
  }

  void TearDown() override {
    dialog_.reset();
    TakeQuitMessage();  // destroying the main window ends the (test's) message loop
  }

  void NewDialog() {
    dialog_ = std::make_unique<TCalendarDialog>();
    dialog_->IniPath = IniPath();
    dialog_->onErrorMessage = [this](const std::wstring& text) {
      errors_.push_back(text);
      busyDuringMessage_ = dialog_->BusyFlag;
    };
  }

  std::filesystem::path IniPath() const { return folder_ / "Mirovane.ini"; }
  // The settings file from UTF-8 text, stored as cp932 like the users' files.
  void WriteIni(const char* utf8) const { folder_.Write("Mirovane.ini", Utf8ToCp932(utf8)); }

  TCalendarDialog& Created() {
    dialog_->Create(app_.Handle());
    return *dialog_;
  }
  TCalendarDialog& Shown() {
    Created().Show();
    return *dialog_;
  }

  TestFolder folder_;
  ApplicationWindow app_;
  std::unique_ptr<TCalendarDialog> dialog_;
  std::vector<std::wstring> errors_;
  bool busyDuringMessage_ = false;
};

}  // namespace mirovane::testing
