// Finding the program that runs a command line: association, explorer, default browser, opener.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "registration.h"

namespace tav::settings {

inline constexpr std::u16string_view kExplorerProgram = u"EXPLORER.EXE /n,";
inline constexpr std::u16string_view kBrowserProbeName = u"browser.html";
inline constexpr std::u16string_view kBrowserProbeLine = u"このファイルは削除してください\r\n";

// The message for a failed association lookup (value <= 32), if that value has one.
std::optional<std::u16string> LookupFailureMessage(long long value);

// Automatic setting: the default browser only for a command line starting exactly "http://".
bool AutoSettingUsesBrowser(std::u16string_view commandLine);

struct AssociationResult {
  long long value = 0;  // > 32: success
  std::u16string program;
};

class LookupPlatform {
 public:
  virtual ~LookupPlatform() = default;
  virtual AssociationResult AssociatedProgram(const std::u16string& file, const std::u16string& folder) = 0;
  // Writes the probe as a new file of its own; on failure leaves nothing of its own behind and
  // never touches what it refused to write through.
  virtual FileStatus WriteProbe(const std::u16string& path, std::string_view bytes) = 0;
  virtual void RemoveFile(const std::u16string& path) = 0;
};

// Each returns the new program path, or nullopt when the program box is to keep its text.
std::optional<std::u16string> AssociationLookup(LookupPlatform& platform, Dialogs& dialogs,
                                                const std::u16string& commandLine);
std::optional<std::u16string> BrowserLookup(LookupPlatform& platform, Dialogs& dialogs,
                                            std::u16string_view installFolder);

}  // namespace tav::settings
