#include "driver/process.h"

#include <stdexcept>
#include <thread>
#include <utility>

#include "built_files.h"
#include "driver/wait.h"

namespace tav::e2e {

bool WaitUntil(const std::function<bool()>& cond, std::chrono::milliseconds timeout) {
  auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (cond()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

fs::path DistFolder() {
  wchar_t buf[MAX_PATH * 4];
  if (GetEnvironmentVariableW(L"TAV_DIST", buf, MAX_PATH * 4)) return fs::path(buf);
  GetModuleFileNameW(nullptr, buf, MAX_PATH * 4);
  // build\windows\tests\e2e\e2e_tests.exe -> repository\dist\Tavimbra
  return fs::path(buf).parent_path().parent_path().parent_path().parent_path().parent_path() / "dist" / "Tavimbra";
}

fs::path ProbeExe() { return test::BuiltTestFile(L"e2e", L"probe.exe"); }

Process::Process(const fs::path& exe, const std::wstring& args, const fs::path& cwd) {
  std::wstring cl = L"\"" + exe.wstring() + L"\"" + (args.empty() ? L"" : L" " + args);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), cl.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &pi))
    throw std::runtime_error("cannot start " + exe.string());
  CloseHandle(pi.hThread);
  handle_ = pi.hProcess;
  pid_ = pi.dwProcessId;
}
Process::Process(Process&& o) noexcept : handle_(std::exchange(o.handle_, nullptr)), pid_(o.pid_) {}
Process& Process::operator=(Process&& o) noexcept {
  if (this != &o) {
    Kill();
    handle_ = std::exchange(o.handle_, nullptr);
    pid_ = o.pid_;
  }
  return *this;
}
Process::~Process() { Kill(); }
bool Process::Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }
int Process::Wait(std::chrono::milliseconds timeout) {
  if (!handle_) return -1;
  if (WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(handle_, &code);
  return static_cast<int>(code);
}
void Process::Kill() {
  if (!handle_) return;
  if (Running()) {
    TerminateProcess(handle_, 99);
    WaitForSingleObject(handle_, 5000);
  }
  CloseHandle(handle_);
  handle_ = nullptr;
}

}  // namespace tav::e2e
