#include "driver.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <utility>

#include "private_prefix.h"
#include "text_encoding.h"

namespace tav::e2e {

// The programs under test save settings, and with them make or remove shortcuts.
[[maybe_unused]] static ::testing::Environment* const kPrivatePrefix =
    ::testing::AddGlobalTestEnvironment(new test::PrivateTestPrefix);

fs::path DistFolder() {
  wchar_t buf[MAX_PATH * 4];
  if (GetEnvironmentVariableW(L"TAV_DIST", buf, MAX_PATH * 4)) return fs::path(buf);
  GetModuleFileNameW(nullptr, buf, MAX_PATH * 4);
  // build\windows\tests\e2e\e2e_tests.exe -> repository\dist\Tavimbra
  return fs::path(buf).parent_path().parent_path().parent_path().parent_path().parent_path() / "dist" / "Tavimbra";
}

fs::path ProbeExe() {
  wchar_t buf[MAX_PATH * 4];
  GetModuleFileNameW(nullptr, buf, MAX_PATH * 4);
  return fs::path(buf).parent_path() / "probe.exe";
}

bool WaitUntil(const std::function<bool()>& cond, std::chrono::milliseconds timeout) {
  auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (cond()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void PointerTo(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  const POINT target{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  WaitUntil([&] {
    POINT now;
    if (GetCursorPos(&now) && now.x == target.x && now.y == target.y) return true;
    SetCursorPos(target.x, target.y);
    return false;
  }, std::chrono::seconds(3));
}

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

namespace {
void CopyIfExists(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (fs::exists(from)) fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
}
}  // namespace

Installation::Installation(bool withSampleCommands) {
  std::random_device rd;
  root_ = fs::temp_directory_path() / ("tav-e2e-" + std::to_string(rd())) / "Tavimbra";
  fs::create_directories(root_ / "settings");
  fs::create_directories(root_ / "texts");
  fs::path dist = DistFolder();
  for (const char* f : {"Tavimbra.exe", "Tavimset.exe"}) CopyIfExists(dist / f, root_ / f);
  CopyIfExists(dist / "settings" / "skin.bmp", root_ / "settings" / "skin.bmp");
  CopyIfExists(dist / "plugins", root_ / "plugins");
  if (withSampleCommands) CopyIfExists(dist / "texts", root_ / "texts");
  probeLog_ = root_.parent_path() / "probe.log";
  SetEnvironmentVariableW(L"TAV_PROBE_LOG", probeLog_.c_str());
}

Installation::~Installation() {
  std::error_code ec;
  for (int i = 0; i < 50 && fs::exists(root_.parent_path(), ec); ++i) {
    fs::remove_all(root_.parent_path(), ec);
    if (!ec) break;
    Sleep(100);  // a program that just ended may still hold its file
  }
}

void Installation::WriteCommand(const std::wstring& name, const std::wstring& line) const {
  WriteRaw(fs::path(L"texts") / (name + L".txt"), ToAnsi(U(line.c_str())) + "\r\n");
}

void Installation::WriteRaw(const fs::path& relative, const std::string& bytes) const {
  std::ofstream f(root_ / relative, std::ios::binary);
  f << bytes;
}

std::string Installation::ReadRaw(const fs::path& relative) const {
  std::ifstream f(root_ / relative, std::ios::binary);
  if (!f) return "<missing>";
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

void Installation::WriteSettings(const std::vector<std::wstring>& lines) const {
  std::wstring text = L"[tavimbra]\r\n";
  for (const auto& l : lines) text += l + L"\r\n";
  WriteRaw(fs::path("settings") / "tavimbra.ini", ToAnsi(U(text.c_str())));
}

std::wstring Installation::ProbeCommand() const { return L"\"" + ProbeExe().wstring() + L"\""; }

std::vector<ProbeRecord> Installation::ProbeLog() const {
  std::vector<ProbeRecord> out;
  std::ifstream f(probeLog_, std::ios::binary);
  std::string line;
  while (std::getline(f, line)) {
    std::wstring w(reinterpret_cast<const wchar_t*>(FromUtf8(line).c_str()));
    std::vector<std::wstring> fields;
    for (std::size_t start = 0;;) {
      std::size_t tab = w.find(L'\t', start);
      fields.push_back(w.substr(start, tab == std::wstring::npos ? std::wstring::npos : tab - start));
      if (tab == std::wstring::npos) break;
      start = tab + 1;
    }
    if (fields.size() != 5) continue;
    ProbeRecord r;
    r.commandLine = fields[0];
    r.currentFolder = fields[1];
    r.showWindow = std::stoi(fields[2]);
    r.echo = fields[3];
    r.path = fields[4];
    out.push_back(r);
  }
  return out;
}

bool Installation::WaitForProbe(std::size_t records, std::chrono::milliseconds timeout) const {
  return WaitUntil([&] { return ProbeLog().size() >= records; }, timeout);
}

Process Installation::Start(const std::wstring& exeName, const std::wstring& args) const {
  return Process(root_ / exeName, args, root_);
}

namespace {
struct FindData {
  DWORD pid;
  std::wstring cls;
  bool visibleOnly;
  HWND found = nullptr;
};
}  // namespace

HWND FindTopWindow(DWORD pid, const std::wstring& cls, bool visibleOnly) {
  FindData d{pid, cls, visibleOnly};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* d = reinterpret_cast<FindData*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != d->pid) return TRUE;
        if (d->visibleOnly && !IsWindowVisible(w)) return TRUE;
        if (!d->cls.empty() && ClassName(w) != d->cls) return TRUE;
        d->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&d));
  return d.found;
}

HWND WaitForTopWindow(DWORD pid, const std::wstring& cls, bool visibleOnly, std::chrono::milliseconds timeout) {
  HWND w = nullptr;
  WaitUntil([&] { return (w = FindTopWindow(pid, cls, visibleOnly)) != nullptr; }, timeout);
  return w;
}

std::wstring WindowText(HWND w) {
  int n = static_cast<int>(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0));
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  SendMessageW(w, WM_GETTEXT, static_cast<WPARAM>(n + 1), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<std::size_t>(n));
  return s;
}

std::wstring ClassName(HWND w) {
  wchar_t buf[256];
  int n = GetClassNameW(w, buf, 256);
  return std::wstring(buf, static_cast<std::size_t>(n));
}

HWND FindChild(HWND parent, const std::wstring& cls, int index) {
  HWND c = nullptr;
  for (int i = 0; i <= index; ++i) {
    c = FindWindowExW(parent, c, cls.c_str(), nullptr);
    if (!c) return nullptr;
  }
  return c;
}

namespace {
INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}
void Send(std::vector<INPUT> v) {
  SendInput(static_cast<UINT>(v.size()), v.data(), sizeof(INPUT));
  Sleep(30);
}
}  // namespace

void SendAltKey(WORD vk) { Send({Key(VK_MENU, false), Key(vk, false), Key(vk, true), Key(VK_MENU, true)}); }

void SendKey(WORD vk, bool shift) {
  if (shift)
    Send({Key(VK_SHIFT, false), Key(vk, false), Key(vk, true), Key(VK_SHIFT, true)});
  else
    Send({Key(vk, false), Key(vk, true)});
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    SHORT scan = c < 0x80 ? VkKeyScanW(c) : -1;
    if (scan != -1 && !(scan & 0x0600)) {
      SendKey(static_cast<WORD>(scan & 0xFF), (scan & 0x0100) != 0);
    } else {
      INPUT down{}, up{};
      down.type = up.type = INPUT_KEYBOARD;
      down.ki.wScan = up.ki.wScan = c;
      down.ki.dwFlags = KEYEVENTF_UNICODE;
      up.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
      Send({down, up});
    }
  }
}

HWND FocusOf(HWND topLevel) {
  GUITHREADINFO gti{};
  gti.cbSize = sizeof gti;
  DWORD tid = GetWindowThreadProcessId(topLevel, nullptr);
  if (!GetGUIThreadInfo(tid, &gti)) return nullptr;
  return gti.hwndFocus;
}

std::pair<int, int> EditSelection(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

bool WaitForLauncherReady(HWND form, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  if (!WaitUntil([] { return GlobalFindAtomW(L"HOTKEY1") && GlobalFindAtomW(L"HOTKEY2"); }, timeout)) return false;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_BLOCK, static_cast<UINT>(std::max<long long>(left.count(), 1000)),
                             &answer) != 0;
}

bool PostedMessagesHandled(HWND edit, std::chrono::milliseconds timeout) {
  const LRESULT limit = SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
  const LRESULT marker = limit > 1 ? limit - 1 : limit + 1;
  if (!PostMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(marker), 0)) return false;
  const bool seen = WaitUntil([&] { return SendMessageW(edit, EM_GETLIMITTEXT, 0, 0) == marker; }, timeout);
  SendMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
  return seen;
}

bool LauncherRunning() {
  HANDLE m = OpenMutexW(SYNCHRONIZE, FALSE, L"Local\\Tavimbra.Launcher.SingleInstance");
  if (m) CloseHandle(m);
  return m || GetLastError() == ERROR_ACCESS_DENIED;
}

void RemoveLeftoverLauncherAtoms() {
  if (LauncherRunning()) return;  // they are its own
  for (const wchar_t* name : {L"HOTKEY1", L"HOTKEY2"})
    for (int i = 0; i < 100; ++i) {
      ATOM a = GlobalFindAtomW(name);
      if (!a) break;
      GlobalDeleteAtom(a);
    }
}

std::wstring DescribeForeground() {
  HWND w = GetForegroundWindow();
  if (!w) return L"no foreground window";
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  return L"class " + ClassName(w) + L" title \"" + WindowText(w) + L"\" process " + std::to_wstring(pid);
}

namespace {
struct ForegroundStart {
  std::wstring title;
  bool desktopStandIn;
  HANDLE ready;
  HWND hwnd = nullptr;
};
constexpr wchar_t kDesktopStandIn[] = L"TavE2EDesktopStandIn";

// Alt+Esc as Windows handles it: this window to the bottom, the next one up activated (visible,
// enabled, neither a tool window nor topmost).
void PassForegroundOn(HWND self) {
  SetWindowPos(self, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
    if (w == self || !IsWindowVisible(w) || !IsWindowEnabled(w) || (ex & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST)))
      continue;
    SetForegroundWindow(w);
    return;
  }
}
DWORD WINAPI ForegroundThread(void* p) {
  auto* s = static_cast<ForegroundStart*>(p);
  WNDCLASSW wc{};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_DESTROY) PostQuitMessage(0);
    if (m == WM_SETFOCUS || m == WM_APP) {
      if (HWND e = FindWindowExW(h, nullptr, L"EDIT", nullptr)) SetFocus(e);
      return 0;
    }
    return DefWindowProcW(h, m, w, l);
  };
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  // A desktop stand-in has the class of the desktop's shell window, which the launcher looks for.
  wc.lpszClassName = s->desktopStandIn ? L"Progman" : L"TavE2EForeground";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, s->title.c_str(), WS_OVERLAPPEDWINDOW, 20, 20, 400, 200,
                           nullptr, nullptr, wc.hInstance, nullptr);
  CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 24, w, nullptr, wc.hInstance,
                  nullptr);
  if (s->desktopStandIn) SetPropW(w, kDesktopStandIn, w);
  ShowWindow(w, SW_SHOW);
  s->hwnd = w;
  SetEvent(s->ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Whichever child has the focus: on Windows the system itself acts on Alt+Esc.
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_ESCAPE && GetPropW(w, kDesktopStandIn)) {
      PassForegroundOn(w);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
}  // namespace

ForegroundWindow::ForegroundWindow(const std::wstring& title, bool desktopStandIn) {
  ForegroundStart start{title, desktopStandIn, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  thread_ = CreateThread(nullptr, 0, &ForegroundThread, &start, 0, nullptr);
  WaitForSingleObject(start.ready, 5000);
  CloseHandle(start.ready);
  hwnd_ = start.hwnd;
  Activate();
}

ForegroundWindow::~ForegroundWindow() {
  if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  if (thread_) {
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
}

bool ForegroundWindow::Activate() {
  if (!hwnd_) return false;
  SetForegroundWindow(hwnd_);
  PostMessageW(hwnd_, WM_APP, 0, 0);  // focus into the edit box, on the window's thread
  HWND edit = FindWindowExW(hwnd_, nullptr, L"EDIT", nullptr);
  return WaitUntil([&] { return GetForegroundWindow() == hwnd_ && (!edit || FocusOf(hwnd_) == edit); },
                   std::chrono::seconds(3));
}

RecordingTray::RecordingTray() {
  InitializeCriticalSection(&lock_);
  ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, &RecordingTray::Thread, this, 0, nullptr);
  WaitForSingleObject(ready_, 5000);
}

RecordingTray::~RecordingTray() {
  if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  if (thread_) {
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
  CloseHandle(ready_);
  DeleteCriticalSection(&lock_);
}

std::vector<TrayCall> RecordingTray::Calls() const {
  EnterCriticalSection(&lock_);
  std::vector<TrayCall> copy = calls_;
  LeaveCriticalSection(&lock_);
  return copy;
}

DWORD WINAPI RecordingTray::Thread(void* p) {
  auto* self = static_cast<RecordingTray*>(p);
  WNDCLASSW wc{};
  wc.lpfnWndProc = &RecordingTray::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"Shell_TrayWnd";
  RegisterClassW(&wc);
  self->hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, wc.hInstance, self);
  SetEvent(self->ready_);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
  return 0;
}

LRESULT CALLBACK RecordingTray::Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCCREATE)
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
  auto* self = reinterpret_cast<RecordingTray*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (m == WM_DESTROY) PostQuitMessage(0);
  if (m != WM_COPYDATA || !self) return DefWindowProcW(h, m, w, l);
  const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
  const auto* bytes = static_cast<const BYTE*>(cds->lpData);
  auto dword = [&](std::size_t at) {
    DWORD v = 0;
    if (at + 4 <= cds->cbData) memcpy(&v, bytes + at, 4);
    return v;
  };
  auto text = [&](std::size_t at, std::size_t chars) {
    std::wstring t;
    for (std::size_t i = 0; i < chars && at + 2 * i + 2 <= cds->cbData; ++i) {
      wchar_t c;
      memcpy(&c, bytes + at + 2 * i, 2);
      if (!c) break;
      t += c;
    }
    return t;
  };
  TrayCall call;
  if (cds->dwData == 1 && dword(0) == 0x34753423) {
    // Windows: signature, message, then the 32-bit form of NOTIFYICONDATAW (cbSize, hWnd, uID,
    // uFlags, uCallbackMessage, hIcon, szTip[128]).
    call.message = dword(4);
    call.window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(dword(12)));
    call.id = dword(16);
    call.flags = dword(20);
    call.callbackMessage = dword(24);
    call.icon = dword(28) != 0;
    call.tip = text(32, 128);
    // ... dwState, dwStateMask, szInfo[256], uTimeout, szInfoTitle[64].
    call.info = text(296, 256);
    call.infoTitle = text(812, 64);
  } else {
    // Wine: the message in dwData, then hWnd, uID, uFlags, uCallbackMessage, szTip[128], ...;
    // the icon's bits follow its 960-byte record.
    call.message = static_cast<DWORD>(cds->dwData);
    call.window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(dword(0)));
    call.id = dword(4);
    call.flags = dword(8);
    call.callbackMessage = dword(12);
    call.icon = cds->cbData > 960;
    call.tip = text(16, 128);
    // ... dwState, dwStateMask, szInfo[256], uTimeout, szInfoTitle[64].
    call.info = text(280, 256);
    call.infoTitle = text(796, 64);
  }
  EnterCriticalSection(&self->lock_);
  bool known = false;
  for (const TrayCall& c : self->calls_)
    if (c.window == call.window && c.id == call.id) known = c.message == NIM_ADD ? true : c.message == NIM_DELETE ? false : known;
  self->calls_.push_back(call);
  LeaveCriticalSection(&self->lock_);
  switch (call.message) {
    case NIM_ADD: return !known;
    case NIM_MODIFY:
    case NIM_DELETE: return known;
    default: return TRUE;
  }
}

HeldHotkeys::HeldHotkeys(std::initializer_list<WORD> keys) {
  std::wstring args;
  for (WORD k : keys) args += (args.empty() ? L"" : L" ") + std::to_wstring(k);
  proc_ = Process(ProbeExe().parent_path() / "hotkey_holder.exe", args, ProbeExe().parent_path());
  WaitUntil([&] { return (window_ = FindTopWindow(proc_.Id(), L"Static")) != nullptr || !proc_.Running(); },
            kStartTimeout);
}

namespace {
constexpr wchar_t kSystemEnvironment[] = L"System\\CurrentControlSet\\Control\\Session Manager\\Environment";
}  // namespace

StoredVariable::StoredVariable(HKEY root, const std::wstring& name, const std::wstring& value, DWORD type)
    : root_(root), key_(root == HKEY_LOCAL_MACHINE ? kSystemEnvironment : L"Environment"), name_(name) {
  DWORD size = 0;
  if (RegGetValueW(root_, key_, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &oldType_, nullptr, &size) == ERROR_SUCCESS) {
    old_.resize(size);
    existed_ = RegGetValueW(root_, key_, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &oldType_, old_.data(), &size) ==
               ERROR_SUCCESS;
  }
  RegSetKeyValueW(root_, key_, name.c_str(), type, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

StoredVariable::~StoredVariable() {
  if (existed_)
    RegSetKeyValueW(root_, key_, name_.c_str(), oldType_, old_.data(), static_cast<DWORD>(old_.size()));
  else
    RegDeleteKeyValueW(root_, key_, name_.c_str());
}

void BroadcastEnvironmentChange() {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"),
                      SMTO_ABORTIFHUNG, 5000, &answer);
}

std::wstring SystemPath() {
  wchar_t raw[32767];
  DWORD size = sizeof raw;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kSystemEnvironment, L"PATH", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, raw, &size) != ERROR_SUCCESS)
    return L"<none>";
  wchar_t expanded[32767];
  return ExpandEnvironmentStringsW(raw, expanded, 32767) ? expanded : L"<none>";
}

bool SendDpiChanged(HWND w, UINT dpi, const RECT& suggested) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return false;
  void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool ok = remote && WriteProcessMemory(process, remote, &suggested, sizeof suggested, nullptr);
  if (ok) SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote));
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return ok;
}

COLORREF ScreenPixel(HWND w, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, p.x, p.y);
  ReleaseDC(nullptr, dc);
  return c;
}

void SaveScreenshot(const fs::path& file) {
  HDC screen = GetDC(nullptr);
  int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  BITMAPINFOHEADER bi{};
  bi.biSize = sizeof bi;
  bi.biWidth = w;
  bi.biHeight = h;
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  bi.biCompression = BI_RGB;
  std::vector<char> pixels(static_cast<std::size_t>(((w * 3 + 3) & ~3) * h));
  GetDIBits(mem, bmp, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER bf{};
  bf.bfType = 0x4D42;
  bf.bfOffBits = sizeof bf + sizeof bi;
  bf.bfSize = bf.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream f(file, std::ios::binary);
  f.write(reinterpret_cast<const char*>(&bf), sizeof bf);
  f.write(reinterpret_cast<const char*>(&bi), sizeof bi);
  f.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
}

}  // namespace tav::e2e
