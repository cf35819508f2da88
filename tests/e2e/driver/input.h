// Input as a user gives it (keys, typed text, the pointer), and a check that it has been handled.
#pragma once
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace tav::e2e {

// The input records of a key going down or up, and of a typed character (its key with Shift
// where the layout has one, else the character itself), for one SendInput batch.
INPUT KeyInput(WORD vk, bool up);
void AppendChar(std::vector<INPUT>& inputs, wchar_t c);

// Alt+key, modifiers+key (pressed in their order, released after the key in the reverse order),
// single keys, typed text.
void SendAltKey(WORD vk);
void SendChord(const std::vector<WORD>& modifiers, WORD vk);
void SendKey(WORD vk, bool shift = false);
void TypeText(const std::wstring& text);
// One key going down or up alone: a press whose release comes later, a release whose press never came.
void SendKeyAlone(WORD vk, bool up);
// One mouse event with no move: a button going down or up (MOUSEEVENTF_LEFTDOWN...), wheel notches.
void SendMouse(DWORD flags, int wheelNotches = 0);

// Puts the pointer in the middle of a window and waits until it is there. (Under Wine a motion
// report of an earlier move can arrive after the warp and put the pointer back.)
void PointerTo(HWND w);
// A real left click in the middle of a window (gives it the focus as a user would).
void PointerClick(HWND w);
// Real clicks into box until it has the focus of form's thread (a few tries: the pointer may land
// before the window settles).
void ClickInto(HWND form, HWND box);

// A message round trip behind whatever was posted to the thread of edit (an edit box) so far: a
// change of its text limit is posted, and seen, then the limit is put back. Every message posted
// to that thread before (a hotkey, a click, a timer tick) has been handled by then. Keyboard input
// still waiting is not: posted messages go first.
bool PostedMessagesHandled(HWND edit, std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace tav::e2e
