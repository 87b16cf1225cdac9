// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32_input.h"

#include <ole2.h>

#include <array>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace styrmark::test {
namespace {

// Wine's clipboard manager takes the clipboard for a moment whenever it changes.
void OpenClipboardSoon(HWND owner) {
    for (int tries = 0; !OpenClipboard(owner); ++tries) {
        if (tries == 20) throw std::runtime_error("the clipboard is taken");
        Sleep(5);
    }
}

HGLOBAL GlobalText(const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    return memory;
}

INPUT KeyInput(WORD key, bool up, bool extended = false) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0U) | (extended ? KEYEVENTF_EXTENDEDKEY : 0U);
    return input;
}

INPUT CharacterInput(char16_t character, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = character;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0U);
    return input;
}

// Lets go at once, wherever the pointer is.
class DropAtPointer final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = iid == IID_IUnknown || iid == IID_IDropSource ? this : nullptr;
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return DRAGDROP_S_DROP; }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// One text, as another program offers it for a drag.
class TextData final : public IDataObject {
public:
    explicit TextData(std::wstring text) : m_text(std::move(text)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = iid == IID_IUnknown || iid == IID_IDataObject ? this : nullptr;
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == CF_UNICODETEXT && (format->tymed & TYMED_HGLOBAL) != 0
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        *medium = {TYMED_HGLOBAL, {}, nullptr};
        medium->hGlobal = GlobalText(m_text);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    std::wstring m_text;
};

// Runs inside the menu's own loop: clicks the edit menu's Paste, known by its command
// whatever the language.
void CALLBACK ClickPasteInMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND menuWindow = FindWindowW(L"#32768", nullptr);
    if (menuWindow == nullptr || !IsWindowVisible(menuWindow)) return;
    KillTimer(nullptr, timer);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    for (UINT item = 0; item < static_cast<UINT>(GetMenuItemCount(menu)); ++item) {
        RECT place{};
        if (GetMenuItemID(menu, static_cast<int>(item)) == WM_PASTE &&
            GetMenuItemRect(nullptr, menu, item, &place)) {
            ClickAt({(place.left + place.right) / 2, (place.top + place.bottom) / 2},
                    MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
            return;
        }
    }
    EndMenu();
}

}  // namespace

Keystrokes KeystrokesFor(char16_t character) {
    // Control characters as their keys send them.
    for (const auto& [code, key] : {std::pair{u'\b', VK_BACK}, std::pair{u'\t', VK_TAB},
                                    std::pair{u'\r', VK_RETURN}, std::pair{u'\x1b', VK_ESCAPE}}) {
        if (character == code) return Chord(0, static_cast<WORD>(key));
    }
    const SHORT key = character >= 0x20 && character < 0x7f ? VkKeyScanW(character) : -1;
    // Shift alone is a key press; a character that needs more comes as itself.
    if (key != -1 && (HIBYTE(key) & ~1) == 0) {
        return Chord((HIBYTE(key) & 1) != 0 ? VK_SHIFT : 0, LOBYTE(key));
    }
    return {CharacterInput(character, false), CharacterInput(character, true)};
}

Keystrokes KeystrokesFor(Key key) {
    struct Press {
        WORD modifier;
        WORD key;
        bool extended;
    };
    // In the order of Key.
    static constexpr Press kPresses[] = {{0, VK_TAB, false},       {VK_SHIFT, VK_TAB, false},
                                         {0, VK_RETURN, false},    {0, VK_RETURN, true},
                                         {0, VK_SPACE, false},     {0, VK_BACK, false},
                                         {0, VK_END, true},        {VK_CONTROL, 'A', false},
                                         {VK_CONTROL, 'C', false}, {VK_CONTROL, 'Z', false}};
    const Press& press = kPresses[static_cast<std::size_t>(key)];
    return Chord(press.modifier, press.key, press.extended);
}

Keystrokes Chord(WORD modifier, WORD key, bool extended) {
    Keystrokes keys;
    if (modifier != 0) keys.push_back(KeyInput(modifier, false));
    keys.push_back(KeyInput(key, false, extended));
    keys.push_back(KeyInput(key, true, extended));
    if (modifier != 0) keys.push_back(KeyInput(modifier, true));
    return keys;
}

void SendKeys(const Keystrokes& keys) {
    auto inputs = keys;
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(POINT screen, DWORD down, DWORD up) {
    SetCursorPos(screen.x, screen.y);
    std::array<INPUT, 2> click{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = down;
    click[1].mi.dwFlags = up;
    SendInput(static_cast<UINT>(click.size()), click.data(), sizeof(INPUT));
}

void PasteFromContextMenu(POINT screen) {
    SetTimer(nullptr, 0, 10, ClickPasteInMenu);
    ClickAt(screen, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

void SetClipboard(HWND owner, const std::wstring& text) {
    HGLOBAL memory = GlobalText(text);
    OpenClipboardSoon(owner);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

std::wstring ClipboardText() {
    OpenClipboardSoon(nullptr);
    std::wstring text;
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(memory));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return text;
}

// The text in a data object of its own, as another program drags it: the clipboard, which
// Wine's clipboard manager may hold for a moment after it changed, plays no part.
DWORD DropText(const std::wstring& text, DWORD allowed) {
    TextData data(text);
    DropAtPointer source;
    DWORD effect = DROPEFFECT_NONE;
    DoDragDrop(&data, &source, allowed, &effect);
    return effect;
}

// Wine's input method crashes on ImmSetCompositionString without an X input method, so the
// committed text comes as what an input method turns it into for the window: WM_IME_CHAR.
void Compose(HWND window, const std::wstring& text) {
    for (const wchar_t character : text) PostMessageW(window, WM_IME_CHAR, character, 1);
}

int IconWidth(HWND window, WPARAM which) {
    ICONINFO info{};
    if (!GetIconInfo(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0)), &info))
        return 0;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

COLORREF PaintedPixel(const std::function<void(HDC)>& paint) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    paint(dc);
    const COLORREF colour = GetPixel(dc, 4, 4);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return colour;
}

}  // namespace styrmark::test
