// Paths handed to the file functions: long ones in the \\?\ form, so MAX_PATH does not stop them.
#pragma once
#include <windows.h>

#include <string>

namespace tav::settings {

// Long paths go to the file system unparsed; relative paths are left as they are.
inline std::u16string ExtendedPath(const std::u16string& path) {
  if (path.size() < MAX_PATH - 12 || path.rfind(u"\\\\?\\", 0) == 0) return path;
  if (path.rfind(u"\\\\", 0) == 0) return u"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() > 2 && path[1] == u':' && path[2] == u'\\') return u"\\\\?\\" + path;
  return path;
}

}  // namespace tav::settings
