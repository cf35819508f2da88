// Files dragged from the shell onto a label: the drop's messages let through and its file list read.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

namespace tav::settings {

using DropHandler = std::function<void(const std::vector<std::u16string>& files)>;

// What lets a message through to a window: the system's ChangeWindowMessageFilterEx, or in a
// test a stand-in that records.
using MessageFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
extern MessageFilter dropMessageFilter;

// The messages a drop from the shell brings: the file list, and the copy of its memory.
inline constexpr UINT kCopyGlobalData = 0x0049;
inline constexpr UINT kDropMessages[] = {WM_DROPFILES, WM_COPYDATA, kCopyGlobalData};

// Makes label accept dropped files; onDrop gets every file of a drop, in the list's order.
// The handler lives as long as the label. The drop's messages are let through the filter, so a
// program started as administrator still takes files from the (not elevated) shell.
void AcceptFileDrops(HWND label, DropHandler onDrop);

// Full paths of a dropped file list, in order.
std::vector<std::u16string> DroppedFiles(HDROP drop);

}  // namespace tav::settings
