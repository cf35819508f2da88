// A fresh installation folder of the programs under test, and what the probe recorded in it.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/process.h"

namespace tav::e2e {

struct ProbeRecord {
  std::wstring commandLine;
  std::wstring currentFolder;
  int showWindow = -1;
  std::wstring echo;  // TAV_PROBE_ECHO, "<unset>" when the probe had none
  std::wstring path;  // PATH
  bool console = false;  // it had a console window (one that takes the foreground)
};

// Where the shell keeps one of the user's known folders (Start-up, Send To...); empty when unknown.
fs::path KnownFolder(REFKNOWNFOLDERID id);

// A fresh installation folder below %TEMP% with the programs, the skin and empty texts\.
class Installation {
 public:
  explicit Installation(bool withSampleCommands = false);
  ~Installation();
  Installation(const Installation&) = delete;
  Installation& operator=(const Installation&) = delete;

  const fs::path& Root() const { return root_; }
  fs::path Texts() const { return root_ / "texts"; }
  // texts\<name>.txt holding line + CR LF in the ANSI code page.
  void WriteCommand(const std::wstring& name, const std::wstring& line) const;
  void WriteRaw(const fs::path& relative, const std::string& bytes) const;
  std::string ReadRaw(const fs::path& relative) const;
  // settings\tavimbra.ini from lines like L"Back=0000FF" (section added).
  void WriteSettings(const std::vector<std::wstring>& lines) const;

  // The probe's full path in quotes: a command line that records itself.
  std::wstring ProbeCommand() const;
  std::vector<ProbeRecord> ProbeLog() const;
  bool WaitForProbe(std::size_t records, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

  // Starts a program of the installation with the installation folder as current folder.
  Process Start(const std::wstring& exeName, const std::wstring& args = L"") const;

 private:
  fs::path root_;
  fs::path probeLog_;
};

}  // namespace tav::e2e
