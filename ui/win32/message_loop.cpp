// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/message_loop.h"

namespace styrmark::win32 {

void DispatchFormMessage(HWND form, MSG& message) {
    if (form != nullptr && IsDialogMessageW(form, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace styrmark::win32
