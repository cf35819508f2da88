// Programs of the driver's own started as real processes, and where the programs under test are.
#pragma once
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace tav::e2e {

namespace fs = std::filesystem;

// dist\Tavimbra as laid out by the install step (TAV_DIST, else found from this program's folder).
fs::path DistFolder();
fs::path ProbeExe();

// A started process: owns its handle, and kills the process when it goes while still running.
class Process {
 public:
  Process() = default;
  Process(const fs::path& exe, const std::wstring& args, const fs::path& cwd);
  Process(Process&&) noexcept;
  Process& operator=(Process&&) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();
  bool Running() const;
  // Waits for the end; returns the exit code, or -1 on time-out.
  int Wait(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  void Kill();
  DWORD Id() const { return pid_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HANDLE handle_ = nullptr;
  DWORD pid_ = 0;
};

// Closes a program's window as its close box would and waits for the program's end: its exit
// code, or -1 on time-out.
inline int CloseAndWait(HWND window, Process& p) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  return p.Wait();
}

}  // namespace tav::e2e
