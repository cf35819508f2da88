#include "file_drop_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <memory>

#include "handles_win32.h"
#include "text_encoding.h"
#include "window_win32.h"

namespace tav::settings {
namespace {

constexpr UINT_PTR kDropSubclassId = 0x7461;  // one subclass per label

struct DropTraits {
  static HDROP invalid() { return nullptr; }
  static void close(HDROP h) { DragFinish(h); }
};
using UniqueDrop = UniqueOwner<HDROP, DropTraits>;

LRESULT CALLBACK DropProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
  auto* handler = reinterpret_cast<DropHandler*>(data);
  const auto byDefault = [&] { return DefSubclassProc(w, msg, wp, lp); };
  switch (msg) {
    case WM_DROPFILES:
      return AnswerOrDefault(
          [&]() -> LRESULT {
            // The drop's memory goes back as soon as its list is read (the handler may ask questions).
            const std::vector<std::u16string> files = DroppedFiles(UniqueDrop(reinterpret_cast<HDROP>(wp)).get());
            (*handler)(files);
            return 0;
          },
          byDefault);
    case WM_NCDESTROY: {
      RemoveWindowSubclass(w, DropProc, id);
      const std::unique_ptr<DropHandler> owned(handler);  // the label's since AcceptFileDrops
      break;
    }
  }
  return byDefault();
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
  auto handler = std::make_unique<DropHandler>(std::move(onDrop));
  if (!SetWindowSubclass(label, DropProc, kDropSubclassId, reinterpret_cast<DWORD_PTR>(handler.get()))) return;
  handler.release();  // owned by the label now: DropProc lets it go with the label
  DragAcceptFiles(label, TRUE);
  // Windows holds back messages from programs of lower integrity unless the window allows them
  // (Wine has no such filter and ignores the call).
  for (UINT message : kDropMessages) dropMessageFilter(label, message, MSGFLT_ALLOW, nullptr);
}

}  // namespace tav::settings
