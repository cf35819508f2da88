#include "driver/installation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "driver/wait.h"
#include "private_prefix.h"
#include "temp_dir.h"
#include "text_encoding.h"

namespace tav::e2e {

// The programs under test save settings, and with them make or remove shortcuts.
[[maybe_unused]] static ::testing::Environment* const kPrivatePrefix =
    ::testing::AddGlobalTestEnvironment(new test::PrivateTestPrefix);

namespace {
void CopyIfExists(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (fs::exists(from)) fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
}
}  // namespace

fs::path KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR p = nullptr;
  fs::path out;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &p))) out = p;
  CoTaskMemFree(p);
  return out;
}

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

std::string Installation::ReadRaw(const fs::path& relative) const { return test::ReadBytes(root_ / relative); }

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
    if (fields.size() != 6) continue;
    ProbeRecord r;
    r.commandLine = fields[0];
    r.currentFolder = fields[1];
    r.showWindow = std::stoi(fields[2]);
    r.echo = fields[3];
    r.path = fields[4];
    r.console = fields[5] == L"console";
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

}  // namespace tav::e2e
