#include "file_drop_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include "text_encoding.h"

namespace tav::settings {
namespace {

constexpr UINT_PTR kDropSubclassId = 0x7461;  // one subclass per label

LRESULT CALLBACK DropProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
  auto* handler = reinterpret_cast<DropHandler*>(data);
  switch (msg) {
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wp);
      std::vector<std::u16string> files = DroppedFiles(drop);
      DragFinish(drop);
      try {
        (*handler)(files);
      } catch (...) {
      }
      return 0;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(w, DropProc, id);
      delete handler;
      break;
  }
  return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace

std::vector<std::u16string> DroppedFiles(HDROP drop) {
  std::vector<std::u16string> files;
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    UINT got = DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(got);
    files.push_back(U(path.c_str(), path.size()));
  }
  return files;
}

MessageFilter dropMessageFilter = ChangeWindowMessageFilterEx;

void AcceptFileDrops(HWND label, DropHandler onDrop) {
  auto* handler = new DropHandler(std::move(onDrop));
  if (!SetWindowSubclass(label, DropProc, kDropSubclassId, reinterpret_cast<DWORD_PTR>(handler))) {
    delete handler;
    return;
  }
  DragAcceptFiles(label, TRUE);
  // Windows holds back messages from programs of lower integrity unless the window allows them
  // (Wine has no such filter and ignores the call).
  for (UINT message : kDropMessages) dropMessageFilter(label, message, MSGFLT_ALLOW, nullptr);
}

}  // namespace tav::settings
