// SPDX-License-Identifier: GPL-3.0-or-later
// The seam's free functions for Windows.
#include <windows.h>

#include <commctrl.h>

#include <array>

#include "ui/toolkit.h"
#include "ui/win32/form.h"
#include "ui/win32/wide_text.h"

namespace styrmark::toolkit {

std::unique_ptr<Form> CreateForm(const FormLayout& layout, std::span<const ControlRow> controls) {
    // Common Controls 6, which the manifest asks for, draws the controls in the system's style.
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    return std::make_unique<win32::Win32Form>(layout, controls);
}

// Asked anew for every result, never kept: the user may change it while the program runs.
std::string DecimalSeparator() {
    std::array<wchar_t, 8> separator{};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator.data(),
                                       static_cast<int>(separator.size()));
    if (length <= 1) return ".";
    return win32::Narrow({separator.data(), static_cast<std::size_t>(length - 1)});
}

}  // namespace styrmark::toolkit
