// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text dragged onto an entry field goes in where it lands, as if typed there: over the
// selection if it lands on it, else at that point; the field then keeps what it admits.
// It is always a copy: text the field may refuse in part must stay where it came from.
// Plain edit controls take no drops of their own.

#include <ole2.h>
#include <windows.h>

namespace styrmark::win32 {

// A field's drop target, registered with OLE (which is initialised on this thread) for as
// long as this lives. Should the registration fail, the field takes no drops, and typing
// and pasting work as ever.
class DropRegistration {
public:
    explicit DropRegistration(HWND edit);
    ~DropRegistration();
    DropRegistration(const DropRegistration&) = delete;
    DropRegistration& operator=(const DropRegistration&) = delete;

private:
    HWND m_edit;
    bool m_registered;
};

}  // namespace styrmark::win32
