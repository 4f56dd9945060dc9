// Owners for Win32 and GDI handles: one owner releases each handle, on every
// path. Move-only.
#pragma once

#include <windows.h>

#include <utility>

namespace zelvo::platform {

template <typename Traits>
class Scoped {
 public:
  using Handle = typename Traits::Handle;
  Scoped() = default;
  explicit Scoped(Handle h) : handle_(h) {}
  ~Scoped() { reset(); }
  Scoped(Scoped&& other) noexcept : handle_(other.release()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::valid(handle_); }
  Handle release() { return std::exchange(handle_, Traits::empty()); }
  void reset(Handle h = Traits::empty()) {
    if (Traits::valid(handle_)) Traits::close(handle_);
    handle_ = h;
  }

 private:
  Handle handle_ = Traits::empty();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(Handle h) { CloseHandle(h); }
};
using ScopedHandle = Scoped<KernelHandleTraits>;

template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};
template <typename T>
using ScopedGdiObject = Scoped<GdiObjectTraits<T>>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedRegion = ScopedGdiObject<HRGN>;

struct MemoryDcTraits {
  using Handle = HDC;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { DeleteDC(h); }
};
using ScopedMemoryDc = Scoped<MemoryDcTraits>;

struct WindowTraits {
  using Handle = HWND;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { DestroyWindow(h); }
};
using ScopedWindow = Scoped<WindowTraits>;

// GetDC / ReleaseDC for one window.
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelect() {
    if (previous_) SelectObject(dc_, previous_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace zelvo::platform
