// Drop areas: a label that takes file lists dragged from the shell.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

namespace tav::settings {

using DropHandler = std::function<void(const std::vector<std::u16string>& files)>;

// Makes label accept dropped files; onDrop gets every file of a drop, in the list's order.
// The handler lives as long as the label.
void AcceptFileDrops(HWND label, DropHandler onDrop);

// Full paths of a dropped file list, in order.
std::vector<std::u16string> DroppedFiles(HDROP drop);

}  // namespace tav::settings
