// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// GDI fonts and icons, given back to Windows with their owner.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace styrmark::win32 {

struct DeleteFont {
    void operator()(HFONT font) const { DeleteObject(font); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, DeleteFont>;

struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, DestroyIconHandle>;

}  // namespace styrmark::win32
