// Paths below the installation folder (the folder that holds both programs).
#pragma once
#include <string>
#include <string_view>

namespace tav {

std::u16string WithTrailingBackslash(std::u16string_view folder);
// folder + "\" + relative, with exactly one backslash between them.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view relative);
// The folder part of a full file path, as the platform reports a program's folder:
// "C:\Apps\T\Tavimbra.exe" -> "C:\Apps\T", "C:\Tavimbra.exe" -> "C:\".
std::u16string FolderOfPath(std::u16string_view fullPath);
// The file-name part of a full path ("C:\Apps\T\Tavimset.exe" -> "Tavimset.exe").
std::u16string FileNameOfPath(std::u16string_view fullPath);

std::u16string SettingsFilePath(std::u16string_view installFolder);   // ...\settings\tavimbra.ini
std::u16string SkinFilePath(std::u16string_view installFolder);       // ...\settings\skin.bmp
std::u16string TextsFolderPath(std::u16string_view installFolder);    // ...\texts
std::u16string CommandFilePath(std::u16string_view installFolder, std::u16string_view name);  // ...\texts\<name>.txt
// Relative form used against the launcher's current directory: texts\<name>.txt
std::u16string RelativeCommandFilePath(std::u16string_view name);

inline constexpr std::u16string_view kOpenerRelativePath = u"plugins\\kovrand\\kovrand.exe";

#ifdef _WIN32
std::u16string ModuleFilePath();  // full path of the running program
std::u16string InstallFolder();   // its folder
#endif

}  // namespace tav
