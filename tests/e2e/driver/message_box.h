// Message boxes of another process: find them, read them, answer them.
#pragma once
#include <windows.h>

#include <chrono>
#include <string>

namespace tav::e2e {

// The window class of a standard dialog, a message box among them.
inline constexpr wchar_t kMessageBoxClass[] = L"#32770";

// A visible message box of the process, or nullptr (at once, or after timeout).
HWND FindMessageBox(DWORD pid);
HWND WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// The message of a message box: the texts of its static controls that are not the icon.
std::wstring MessageBoxText(HWND box);

// The buttons a message box offers, by their identifiers (IDOK, IDYES, IDNO...).
bool HasButton(HWND box, int id);

// Answers the box as a click on the button would, and waits until it is gone.
bool AnswerMessageBox(HWND box, int id);

}  // namespace tav::e2e
