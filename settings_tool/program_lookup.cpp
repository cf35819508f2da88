#include "program_lookup.h"

#include "install_folder.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

std::optional<std::u16string> Outcome(const AssociationResult& r, Dialogs& dialogs) {
  if (r.value > 32) return r.program;
  if (auto text = LookupFailureMessage(r.value)) dialogs.Message(*text);
  return std::nullopt;
}

}  // namespace

std::optional<std::u16string> LookupFailureMessage(long long value) {
  switch (value) {
    case 0: return u"メモリ不足です";
    case 2: return u"ファイルが見つかりません";
    case 3: return u"パスが見つかりません";
    case 11: return u"ファイルが無効です";
    case 31: return u"関連付けられているファイルがありません";
    default: return std::nullopt;
  }
}

bool AutoSettingUsesBrowser(std::u16string_view commandLine) { return commandLine.substr(0, 7) == u"http://"; }

std::optional<std::u16string> AssociationLookup(LookupPlatform& platform, Dialogs& dialogs,
                                                const std::u16string& commandLine) {
  return Outcome(platform.AssociatedProgram(commandLine, u""), dialogs);
}

std::optional<std::u16string> BrowserLookup(LookupPlatform& platform, Dialogs& dialogs,
                                            std::u16string_view installFolder) {
  std::u16string probe = JoinPath(installFolder, kBrowserProbeName);
  FileStatus written = platform.WriteProbe(probe, ToAnsi(kBrowserProbeLine));
  if (written.kind != FileStatus::kOk) {
    // Nothing of ours stands there (the probe cleans up after itself): what is there stays.
    dialogs.Error(u"既定のブラウザを調べるためのファイル " + probe + u" を作成できませんでした。\r\n" +
                  written.reason);
    return std::nullopt;
  }
  AssociationResult r = platform.AssociatedProgram(probe, std::u16string(installFolder));
  platform.RemoveFile(probe);
  return Outcome(r, dialogs);
}

}  // namespace tav::settings
