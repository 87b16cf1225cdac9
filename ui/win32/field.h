// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An entry field: a subclassed edit control that reports each typed character before
// taking it, and its focus changes; and whose text keeps only admitted characters, within
// its limit, whatever route brought them in (typing, paste by any means, a drop, an input
// method). What is kept goes in as the edit's own undoable replacement, so that Ctrl+Z
// brings back what it replaced.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "ui/text_filter.h"
#include "ui/toolkit.h"

namespace styrmark::win32 {

struct FieldEvents {
    // A typed character, before the field takes it; true if it is to take it.
    std::function<bool(char16_t character)> typed;
    std::function<void()> gained;
    // The window the focus went to, if any.
    std::function<void(HWND gaining)> lost;
};

class Field {
public:
    // `limit`: characters, 0 for none.
    Field(HWND edit, std::size_t limit, FieldEvents events);
    ~Field();
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    void SetAdmits(toolkit::Admits admits) { m_admits = admits; }

private:
    static LRESULT CALLBACK Procedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCharacter(WPARAM wParam, LPARAM lParam);
    toolkit::Replacement Kept(std::wstring_view incoming) const;
    void Put(const toolkit::Replacement& replacement, BOOL canUndo);
    void KeepAdmitted();
    void Paste();

    HWND m_edit;
    std::size_t m_limit;
    FieldEvents m_events;
    toolkit::Admits m_admits = nullptr;
    int m_depth = 0;  // of messages to the edit, one inside another
};

}  // namespace styrmark::win32
