// Owning wrappers for Win32 handles, so that no path through the code can forget to close one.
#pragma once

#include <windows.h>

#include <utility>

namespace xpboot {

// Traits name a handle type, its "no handle" value and the call that releases it.
// (INVALID_HANDLE_VALUE is a cast, not a constant expression, so it cannot be a
// template argument: each traits type gives it from a function.)
template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Type h) noexcept : h_(h) {}
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Type get() const noexcept { return h_; }
  bool valid() const noexcept { return h_ != Traits::invalid(); }
  explicit operator bool() const noexcept { return valid(); }

  Type release() noexcept { return std::exchange(h_, Traits::invalid()); }
  void reset(Type h = Traits::invalid()) noexcept {
    Type old = std::exchange(h_, h);
    if (old != Traits::invalid()) Traits::close(old);
  }

 private:
  Type h_ = Traits::invalid();
};

namespace detail {
struct KernelTraits {
  using Type = HANDLE;
  static Type invalid() noexcept { return nullptr; }
  static void close(Type h) noexcept { ::CloseHandle(h); }
};
struct FileTraits {
  using Type = HANDLE;
  static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Type h) noexcept { ::CloseHandle(h); }
};
struct FindTraits {
  using Type = HANDLE;
  static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Type h) noexcept { ::FindClose(h); }
};
struct GdiTraits {
  using Type = HGDIOBJ;
  static Type invalid() noexcept { return nullptr; }
  static void close(Type h) noexcept { ::DeleteObject(h); }
};
struct IconTraits {
  using Type = HICON;
  static Type invalid() noexcept { return nullptr; }
  static void close(Type h) noexcept { ::DestroyIcon(h); }
};
struct CursorTraits {
  using Type = HCURSOR;
  static Type invalid() noexcept { return nullptr; }
  static void close(Type h) noexcept { ::DestroyCursor(h); }
};
struct RegKeyTraits {
  using Type = HKEY;
  static Type invalid() noexcept { return nullptr; }
  static void close(Type h) noexcept { ::RegCloseKey(h); }
};
struct WindowTraits {
  using Type = HWND;
  static Type invalid() noexcept { return nullptr; }
  static void close(Type h) noexcept { ::DestroyWindow(h); }
};
}  // namespace detail

// Process, thread and most kernel objects: "no handle" is NULL.
using UniqueKernelHandle = UniqueHandle<detail::KernelTraits>;
// CreateFileA reports failure as INVALID_HANDLE_VALUE, not NULL.
using UniqueFileHandle = UniqueHandle<detail::FileTraits>;
using UniqueFindHandle = UniqueHandle<detail::FindTraits>;
using UniqueGdiObject = UniqueHandle<detail::GdiTraits>;
using UniqueIcon = UniqueHandle<detail::IconTraits>;
using UniqueCursor = UniqueHandle<detail::CursorTraits>;
using UniqueRegKey = UniqueHandle<detail::RegKeyTraits>;
using UniqueWindow = UniqueHandle<detail::WindowTraits>;

// Runs a callable when the scope ends, whichever way it ends.
template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) noexcept : f_(std::move(f)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ~ScopeExit() {
    if (armed_) f_();
  }
  void dismiss() noexcept { armed_ = false; }

 private:
  F f_;
  bool armed_ = true;
};

// BeginPaint/EndPaint as one object.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) noexcept : hwnd_(hwnd), hdc_(::BeginPaint(hwnd, &ps_)) {}
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { ::EndPaint(hwnd_, &ps_); }
  HDC dc() const noexcept { return hdc_; }
  const RECT& area() const noexcept { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC hdc_;
};

// Selects a GDI object into a DC and puts the previous one back.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(::SelectObject(dc, obj)) {}
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;
  ~SelectScope() {
    if (old_ != nullptr && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }
  HDC dc() const noexcept { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace xpboot
