// RAII owners for Win32 handles.
#pragma once
#include <windows.h>

#include <utility>

namespace tav {

template <typename T, typename Traits>
class UniqueOwner {
 public:
  UniqueOwner() = default;
  explicit UniqueOwner(T h) : h_(h) {}
  UniqueOwner(const UniqueOwner&) = delete;
  UniqueOwner& operator=(const UniqueOwner&) = delete;
  UniqueOwner(UniqueOwner&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
  UniqueOwner& operator=(UniqueOwner&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Traits::invalid()));
    return *this;
  }
  ~UniqueOwner() { reset(); }
  T get() const { return h_; }
  T release() { return std::exchange(h_, Traits::invalid()); }
  void reset(T h = Traits::invalid()) {
    if (h_ != Traits::invalid()) Traits::close(h_);
    h_ = h;
  }
  explicit operator bool() const { return h_ != Traits::invalid(); }

 private:
  T h_ = Traits::invalid();
};

struct FileHandleTraits {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct KernelHandleTraits {
  static HANDLE invalid() { return nullptr; }
  static void close(HANDLE h) { CloseHandle(h); }
};
template <typename G>
struct GdiTraits {
  static G invalid() { return nullptr; }
  static void close(G h) { DeleteObject(h); }
};
struct DcTraits {
  static HDC invalid() { return nullptr; }
  static void close(HDC h) { DeleteDC(h); }
};
struct FindTraits {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { FindClose(h); }
};
struct MenuTraits {
  static HMENU invalid() { return nullptr; }
  static void close(HMENU h) { DestroyMenu(h); }
};
struct IconTraits {
  static HICON invalid() { return nullptr; }
  static void close(HICON h) { DestroyIcon(h); }
};
struct HookTraits {
  static HHOOK invalid() { return nullptr; }
  static void close(HHOOK h) { UnhookWindowsHookEx(h); }
};

using UniqueHandle = UniqueOwner<HANDLE, FileHandleTraits>;      // CreateFile results
using UniqueKernelHandle = UniqueOwner<HANDLE, KernelHandleTraits>;  // mutexes, processes, threads
using UniqueFont = UniqueOwner<HFONT, GdiTraits<HFONT>>;
using UniqueBitmap = UniqueOwner<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueBrush = UniqueOwner<HBRUSH, GdiTraits<HBRUSH>>;
using UniquePen = UniqueOwner<HPEN, GdiTraits<HPEN>>;
using UniqueDc = UniqueOwner<HDC, DcTraits>;  // CreateCompatibleDC results
using UniqueFind = UniqueOwner<HANDLE, FindTraits>;  // FindFirstFile results
using UniqueMenu = UniqueOwner<HMENU, MenuTraits>;
using UniqueIcon = UniqueOwner<HICON, IconTraits>;
using UniqueHook = UniqueOwner<HHOOK, HookTraits>;  // SetWindowsHookEx results

// A window's DC (the screen's for nullptr) for a scope.
class WindowDc {
 public:
  explicit WindowDc(HWND w) : w_(w), dc_(GetDC(w)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(w_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND w_;
  HDC dc_;
};

// An object selected into a DC for a scope; the DC's previous one goes back at its end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace tav
