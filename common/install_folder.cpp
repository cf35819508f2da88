#include "install_folder.h"

namespace tav {

std::u16string WithTrailingBackslash(std::u16string_view folder) {
  std::u16string s(folder);
  if (s.empty() || s.back() != u'\\') s += u'\\';
  return s;
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view relative) {
  while (!relative.empty() && relative.front() == u'\\') relative.remove_prefix(1);
  return WithTrailingBackslash(folder) + std::u16string(relative);
}

std::u16string FolderOfPath(std::u16string_view fullPath) {
  auto pos = fullPath.find_last_of(u"\\/");
  if (pos == std::u16string_view::npos) return {};
  std::u16string folder(fullPath.substr(0, pos));
  if (folder.size() == 2 && folder[1] == u':') folder += u'\\';  // drive root keeps its backslash
  return folder;
}

std::u16string FileNameOfPath(std::u16string_view fullPath) {
  auto pos = fullPath.find_last_of(u"\\/");
  return std::u16string(pos == std::u16string_view::npos ? fullPath : fullPath.substr(pos + 1));
}

std::u16string SettingsFilePath(std::u16string_view installFolder) {
  return WithTrailingBackslash(installFolder) + u"settings\\tavimbra.ini";
}
std::u16string SkinFilePath(std::u16string_view installFolder) {
  return JoinPath(installFolder, u"settings\\skin.bmp");
}
std::u16string TextsFolderPath(std::u16string_view installFolder) { return JoinPath(installFolder, u"texts"); }
std::u16string CommandFilePath(std::u16string_view installFolder, std::u16string_view name) {
  return JoinPath(installFolder, RelativeCommandFilePath(name));
}
std::u16string RelativeCommandFilePath(std::u16string_view name) {
  return u"texts\\" + std::u16string(name) + u".txt";
}

}  // namespace tav
