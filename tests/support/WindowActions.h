#pragma once
// The user's actions on a window's controls, as the messages they send;
// every window suite drives its controls through these.
#include <windows.h>

#include <string>

namespace arc::test {

// Handles every message waiting in this thread's queue.
void Pump();
// BM_CLICK, as a mouse click on the button.
void Click(HWND button);
// A mouse button pressed and released on a label.
void ClickLabel(HWND label);
// The focus to the box, then one WM_CHAR per character, as the keyboard types.
void TypeKeys(HWND box, const std::wstring& text);
// WM_SETTEXT: the whole text at once, as a paste would put it.
void SetBoxText(HWND box, const std::wstring& text);

}  // namespace arc::test
