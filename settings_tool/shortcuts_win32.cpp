#include "shortcuts_win32.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <vector>

#include "com_win32.h"
#include "install_folder.h"
#include "long_path_win32.h"
#include "text_encoding.h"

namespace tav::settings {

using Microsoft::WRL::ComPtr;

namespace {
bool IsNormalFile(const std::u16string& path) {
  DWORD a = GetFileAttributesW(W(ExtendedPath(path)));
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

std::optional<std::u16string> KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  HRESULT hr = SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path);
  std::optional<std::u16string> result;
  if (SUCCEEDED(hr) && path) result = U(path);
  CoTaskMemFree(path);
  return result;
}

HRESULT CreateShortcut(const std::u16string& linkPath, const std::u16string& target,
                       const std::u16string& workingFolder) {
  ComApartment com;  // for the length of one shortcut operation
  ComPtr<IShellLinkW> link;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link));
  if (FAILED(hr)) return hr;
  ComPtr<IPersistFile> file;
  if (FAILED(hr = link.As(&file))) return hr;
  // An existing shortcut is updated: arguments, icon, key or window state the user gave it stay.
  // One that cannot be read is written anew.
  if (IsNormalFile(linkPath) && FAILED(file->Load(W(linkPath), STGM_READ))) {
    link.Reset();
    file.Reset();
    if (FAILED(hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) return hr;
    if (FAILED(hr = link.As(&file))) return hr;
  }
  if (FAILED(hr = link->SetPath(W(target)))) return hr;
  if (FAILED(hr = link->SetWorkingDirectory(W(workingFolder)))) return hr;
  return file->Save(W(linkPath), TRUE);
}

bool RemoveShortcut(const std::u16string& linkPath) {
  if (!IsNormalFile(linkPath)) return GetFileAttributesW(W(ExtendedPath(linkPath))) == INVALID_FILE_ATTRIBUTES;
  return DeleteFileW(W(ExtendedPath(linkPath))) != FALSE;
}

void ShortcutStep(bool wanted, const std::u16string& folder, std::u16string_view fileName,
                  const std::u16string& target, const std::u16string& workingFolder) {
  if (folder.empty()) return;  // no such special folder for this user: nothing to do
  std::u16string link = JoinPath(folder, fileName);
  if (wanted)
    CreateShortcut(link, target, workingFolder);
  else
    RemoveShortcut(link);
}

std::optional<ShortcutInfo> ReadShortcut(const std::u16string& linkPath) {
  ComApartment com;  // for the length of one shortcut operation
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) return {};
  ComPtr<IPersistFile> file;
  if (FAILED(link.As(&file)) || FAILED(file->Load(W(linkPath), STGM_READ))) return {};
  std::vector<wchar_t> buf(32768);
  ShortcutInfo info;
  if (FAILED(link->GetPath(buf.data(), static_cast<int>(buf.size()), nullptr, SLGP_RAWPATH))) return {};
  info.target = U(buf.data());
  if (FAILED(link->GetWorkingDirectory(buf.data(), static_cast<int>(buf.size())))) return {};
  info.workingFolder = U(buf.data());
  return info;
}

void ShellShortcuts::SendTo(bool wanted) {
  std::u16string self = ModuleFilePath();
  ShortcutStep(wanted, KnownFolder(FOLDERID_SendTo).value_or(u""), kSendToShortcutFile, self, FolderOfPath(self));
}

void ShellShortcuts::StartUp(bool wanted) {
  std::u16string folder = InstallFolder();
  ShortcutStep(wanted, KnownFolder(FOLDERID_Startup).value_or(u""), kStartUpShortcutFile,
               JoinPath(folder, kLauncherExe), folder);
}

bool StartupApprovedOff(std::u16string_view shortcutFile) {
  // The value is binary: its first byte odd means turned off (the rest holds when); even, or no
  // value at all, means on.
  BYTE state[64] = {};
  DWORD size = sizeof state;
  const std::u16string name(shortcutFile);
  if (RegGetValueW(HKEY_CURRENT_USER, kStartupApprovedKey, W(name), RRF_RT_REG_BINARY, nullptr, state, &size) !=
      ERROR_SUCCESS)
    return false;
  return size >= 1 && (state[0] & 1) != 0;
}

bool ShellShortcuts::StartUpTurnedOff() { return StartupApprovedOff(kStartUpShortcutFile); }

}  // namespace tav::settings
