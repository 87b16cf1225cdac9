// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An entry field: a subclassed edit control whose typed characters the form's key filter
// sees first, and whose text keeps only admitted characters, within its limit, whatever
// route brought them in (paste by any means, a drop, an input method).

#include <windows.h>

#include <cstddef>

#include "ui/toolkit.h"

namespace styrmark::win32 {

class Win32Form;

class Field {
public:
    Field(Win32Form& form, toolkit::Control control, HWND edit, std::size_t limit);
    ~Field();
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    void SetAdmits(toolkit::Admits admits) { m_admits = admits; }
    // The edit control told its form that its text changed.
    void NoteChange() { m_changed = true; }

private:
    static LRESULT CALLBACK Procedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCharacter(WPARAM wParam, LPARAM lParam);
    void KeepAdmitted();

    Win32Form& m_form;
    toolkit::Control m_control;
    HWND m_edit;
    std::size_t m_limit;
    toolkit::Admits m_admits = nullptr;
    bool m_changed = false;
    int m_depth = 0;
};

}  // namespace styrmark::win32
