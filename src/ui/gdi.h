// Move-only owners of GDI handles: objects, device contexts and objects selected into a DC.
// The clock redraws twice a second for months, so nothing created in a paint path may leak.
#pragma once

#include <windows.h>

#include <utility>

namespace mirovane::ui {

// Owns one HFONT, HPEN, HBRUSH or HBITMAP and deletes it with DeleteObject.
template <class T>
class GdiObject {
 public:
  GdiObject() noexcept = default;
  explicit GdiObject(T handle) noexcept : handle_(handle) {}
  ~GdiObject() { reset(); }

  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  T get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

  void reset(T handle = nullptr) noexcept {
    if (handle_ && handle_ != handle) DeleteObject(handle_);
    handle_ = handle;
  }
  [[nodiscard]] T release() noexcept { return std::exchange(handle_, nullptr); }

 private:
  T handle_ = nullptr;
};

using FontHandle = GdiObject<HFONT>;
using PenHandle = GdiObject<HPEN>;
using BrushHandle = GdiObject<HBRUSH>;
using BitmapHandle = GdiObject<HBITMAP>;

// BeginPaint / EndPaint for the duration of a WM_PAINT handler.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintDc() { EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;

  HDC get() const noexcept { return dc_; }
  const RECT& PaintRect() const noexcept { return ps_.rcPaint; }

 private:
  PAINTSTRUCT ps_{};
  HWND hwnd_;
  HDC dc_;
};

// GetDC / ReleaseDC of a window's client area.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(WindowDc&& other) noexcept
      : hwnd_(other.hwnd_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&&) = delete;
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back when it goes out of scope, so the
// owning GdiObject can delete its handle (a selected object is never deleted).
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A bitmap selected into a memory DC of its own, kept for drawing again and again without
// creating anything per frame.
class MemorySurface {
 public:
  MemorySurface() noexcept = default;
  ~MemorySurface() { Reset(); }
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;

  // A surface of `width` x `height` compatible with `reference`; false (and empty) on failure.
  bool Create(HDC reference, int width, int height) noexcept {
    Reset();
    BitmapHandle bitmap(CreateCompatibleBitmap(reference, width, height));
    if (!bitmap) return false;
    dc_ = CreateCompatibleDC(reference);
    if (!dc_) return false;
    old_ = SelectObject(dc_, bitmap.get());
    bitmap_ = std::move(bitmap);
    width_ = width;
    height_ = height;
    return true;
  }
  void Reset() noexcept {
    if (dc_) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
      dc_ = nullptr;
    }
    bitmap_.reset();
    width_ = height_ = 0;
  }

  HDC dc() const noexcept { return dc_; }
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
  BitmapHandle bitmap_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace mirovane::ui
