// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A user's input as Windows delivers it, and what a window paints, for the Win32 driver.

#include <ole2.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "driver.h"

namespace styrmark::test {

using Keystrokes = std::vector<INPUT>;

// One key press per character: keys of the keyboard where it has them, the character
// itself (VK_PACKET) where not, as an input method or on-screen keyboard sends it.
Keystrokes KeystrokesFor(char16_t character);
Keystrokes KeystrokesFor(Key key);
// `key` while `modifier` is held (0: none).
Keystrokes Chord(WORD modifier, WORD key, bool extended = false);
void SendKeys(const Keystrokes& keys);
void ClickAt(POINT screen, DWORD down, DWORD up);

// Right-clicks and picks Paste in the menu that opens.
void PasteFromContextMenu(POINT screen);
void SetClipboard(HWND owner, const std::wstring& text);
std::wstring ClipboardText();
// Drags the text, allowing those effects, and lets it go where the pointer is; the effect
// the target chose. The drag takes the pointer's place from the first message it gets, so
// whatever was queued before the pointer got there must be handled first.
DWORD DropText(const std::wstring& text, DWORD allowed = DROPEFFECT_COPY);
// Commits `text` as an input method does.
void Compose(HWND window, const std::wstring& text);

// The width of the window's icon of that kind (ICON_SMALL, ICON_BIG), 0 if none.
int IconWidth(HWND window, WPARAM which);

// The colour at a point inside what `paint` draws into a memory DC.
COLORREF PaintedPixel(const std::function<void(HDC)>& paint);

}  // namespace styrmark::test
