// What the build makes for the tests beside the test programs (helper programs, stand-in faces),
// found from this program's own place both where one configuration is built
// (tests\<tier>\x.exe) and where several are, each in its own folder (tests\<tier>\Release\x.exe).
#pragma once
#include <windows.h>

#include <filesystem>

namespace tav::test {

// tier: the folder under tests\ the file is built in ("e2e", "win"); a file of a configuration
// (a program) is looked for in the same configuration's folder. The first place tried when none
// holds it, so a failure names a path.
inline std::filesystem::path BuiltTestFile(const wchar_t* tier, const wchar_t* name) {
  wchar_t buf[MAX_PATH * 4];
  GetModuleFileNameW(nullptr, buf, MAX_PATH * 4);
  const std::filesystem::path here = std::filesystem::path(buf).parent_path(), up = here.parent_path();
  const std::filesystem::path places[] = {up / tier / name, up.parent_path() / tier / here.filename() / name,
                                          up.parent_path() / tier / name};
  std::error_code e;
  for (const auto& p : places)
    if (std::filesystem::exists(p, e)) return p;
  return places[0];
}

}  // namespace tav::test
