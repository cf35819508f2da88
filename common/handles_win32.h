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
struct MenuTraits {
  static HMENU invalid() { return nullptr; }
  static void close(HMENU h) { DestroyMenu(h); }
};
struct IconTraits {
  static HICON invalid() { return nullptr; }
  static void close(HICON h) { DestroyIcon(h); }
};

using UniqueHandle = UniqueOwner<HANDLE, FileHandleTraits>;      // CreateFile results
using UniqueKernelHandle = UniqueOwner<HANDLE, KernelHandleTraits>;  // mutexes, processes, threads
using UniqueFont = UniqueOwner<HFONT, GdiTraits<HFONT>>;
using UniqueBitmap = UniqueOwner<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueBrush = UniqueOwner<HBRUSH, GdiTraits<HBRUSH>>;
using UniqueMenu = UniqueOwner<HMENU, MenuTraits>;
using UniqueIcon = UniqueOwner<HICON, IconTraits>;

}  // namespace tav
