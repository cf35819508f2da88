// Paths handed to the file functions: long ones in the \\?\ form, so MAX_PATH does not stop them.
// Every file call of both programs (read, write, replace, attributes, listing, watching) passes
// its path through here, so what one program writes below a long folder the other can read.
#pragma once
#include <windows.h>

#include <string>

namespace tav {

// Long paths go to the file system unparsed; relative paths are left as they are. The margin of
// 12 is CreateDirectoryW's: a folder's own path must leave room for an 8.3 name.
inline std::u16string ExtendedPath(const std::u16string& path) {
  if (path.size() < MAX_PATH - 12 || path.rfind(u"\\\\?\\", 0) == 0) return path;
  if (path.rfind(u"\\\\", 0) == 0) return u"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() > 2 && path[1] == u':' && path[2] == u'\\') return u"\\\\?\\" + path;
  return path;
}

}  // namespace tav
