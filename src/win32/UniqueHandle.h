#pragma once

#include <windows.h>

#include <utility>

namespace wrenfold::win32 {

// Owns one OS handle. Traits says how to close it and which values own nothing.
template <typename T, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, T{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, T{}));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  [[nodiscard]] T Get() const { return handle_; }
  [[nodiscard]] explicit operator bool() const { return Traits::IsValid(handle_); }
  void Reset(T handle = T{}) {
    if (Traits::IsValid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }
  [[nodiscard]] T Release() { return std::exchange(handle_, T{}); }

 private:
  T handle_{};
};

// Kernel handles: files fail with INVALID_HANDLE_VALUE, most others with null.
struct KernelHandleTraits {
  static bool IsValid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) { ::CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

// GDI objects: fonts, bitmaps, brushes.
template <typename T>
struct GdiObjectTraits {
  static bool IsValid(T object) { return object != nullptr; }
  static void Close(T object) { ::DeleteObject(object); }
};
using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;

struct IconTraits {
  static bool IsValid(HICON icon) { return icon != nullptr; }
  static void Close(HICON icon) { ::DestroyIcon(icon); }
};
using UniqueIcon = UniqueHandle<HICON, IconTraits>;

struct MenuTraits {
  static bool IsValid(HMENU menu) { return menu != nullptr; }
  static void Close(HMENU menu) { ::DestroyMenu(menu); }
};
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

}  // namespace wrenfold::win32
