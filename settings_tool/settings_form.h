// Values and rules of the settings window that need no window: the save sequence, the
// font-size box, the folder-opening command line, the colour pairs read at load.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "profile_file.h"
#include "settings.h"

namespace tav::settings {

inline constexpr std::u16string_view kSendToShortcutFile = u"Tavimbraに登録.lnk";
inline constexpr std::u16string_view kStartUpShortcutFile = u"Tavimbra.lnk";
inline constexpr std::u16string_view kLauncherExe = u"Tavimbra.exe";

// What the window holds when the user saves.
struct FormValues {
  std::u16string backColour, textColour;  // colour strings, BBGGRR
  bool autoComplete = false, keepFocus = false, useSkin = false;  // Check1, Check2, Check3
  std::u16string key1Caption, key2Caption;                        // Label5, Label11
  std::u16string fontFace, fontSizeText;                           // Combo1, Text12
  bool bold = false, italic = false, sendTo = false, startUp = false;  // Check6, Check7, Check8, Check9
  bool fontStorable = true;  // fontFace survives the settings file's code page unchanged
  // Each hotkey's modifiers (Mod1, Mod2) now and as read at load.
  int modifiers[2] = {kModAlt, kModAlt}, modifiersAsRead[2] = {kModAlt, kModAlt};
};

// The shortcut work of the save: create (rewrite) when wanted, else remove when present.
class ShortcutWork {
 public:
  virtual ~ShortcutWork() = default;
  virtual void SendTo(bool wanted) = 0;
  virtual void StartUp(bool wanted) = 0;
  // Windows keeps the Start-up entry turned off (the user's switch in Task Manager or Settings):
  // the shortcut is there, yet nothing starts at sign-in.
  virtual bool StartUpTurnedOff() = 0;
};

// Each key's text to write; Font left out where the face is not storable.
SettingTexts ToSave(const FormValues& v);
// All thirteen writes (and Mod1/Mod2 where they are wanted) in the file's order, each shortcut step right before its key; a failed write
// does not stop the ones after it. The result is the one message the user gets, or nothing:
// - a failed write: the file (path) and the system's reason (writeFailure, asked right after the
//   first failed write), and never that anything was saved;
// - a face the file's code page cannot hold is not written (it would come back as another,
//   missing face): the file keeps its Font and the user is told, unless the face is the default
//   and the file has no Font (a missing key reads as the default);
// - the Start-up shortcut wanted while Windows keeps it turned off.
// commit, when given, runs after every write succeeded: it puts what was written in place of the
// file at once (the writes go to a copy), and gives the reason when it could not.
std::optional<std::u16string> SaveSettings(
    ProfileFile& file, const FormValues& values, ShortcutWork& shortcuts, std::u16string_view path,
    const std::function<std::u16string()>& writeFailure,
    const std::function<std::optional<std::u16string>()>& commit = {});
std::u16string WriteFailedMessage(std::u16string_view path, std::u16string_view reason);
std::u16string FaceNotStoredMessage(std::u16string_view face, bool othersSaved = true);
std::u16string StartUpTurnedOffMessage();

// The text Text12 gets when the focus leaves it, or nothing when it stays: empty (or blank) and a
// number equal to 0 ("0", "0.0") become the default size ("11"); anything else stays as typed
// ("10.5", "-3", "abc"), and both programs' size rule deals with it when it is read.
std::optional<std::u16string> FontSizeOnLeave(std::u16string_view text);
// The size the preview takes from Text12: the number at its start, fractions kept; nothing when
// there is no usable size (none, zero, negative, absurdly large).
std::optional<double> PreviewFontSize(std::u16string_view text);

// A number box's text with the full-width digits an input method or a paste brings ("１２")
// made the ASCII digits they mean; hex: the colour boxes, where Ａ-Ｆ are digits too; else the
// size box, where "．" is its point.
std::u16string NarrowDigits(std::u16string_view text, bool hex);

// Characters 1-2, 3-4 or 5-6 (pair 0, 1, 2) of a stored colour; shorter or empty past its end.
std::u16string ColourPair(std::u16string_view value, int pair);

// "explorer.exe /n, " and the folder in double quotes: a new file-manager window on it.
std::u16string OpenFolderCommandLine(std::u16string_view folder);

}  // namespace tav::settings
