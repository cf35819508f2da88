#include "driver/shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

namespace tav::e2e {

using Microsoft::WRL::ComPtr;

Shortcut ReadShortcut(const std::filesystem::path& lnk) {
  Shortcut out;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    wchar_t target[MAX_PATH * 4] = {}, folder[MAX_PATH * 4] = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) &&
        SUCCEEDED(link.As(&file)) && SUCCEEDED(file->Load(lnk.c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(target, MAX_PATH * 4, nullptr, SLGP_RAWPATH)) &&
        SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH * 4)))
      out = {target, folder};
  }
  CoUninitialize();
  return out;
}

bool MakeShortcut(const std::filesystem::path& lnk, const std::filesystem::path& target) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool ok = false;
  {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) &&
         SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link->SetWorkingDirectory(target.parent_path().c_str())) &&
         SUCCEEDED(link.As(&file)) && SUCCEEDED(file->Save(lnk.c_str(), TRUE));
  }
  CoUninitialize();
  return ok;
}

bool SamePath(const std::filesystem::path& a, const std::filesystem::path& b) {
  return CompareStringOrdinal(a.lexically_normal().c_str(), -1, b.lexically_normal().c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace tav::e2e
