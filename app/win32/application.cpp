// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <cstdlib>
#include <exception>
#include <optional>

#include "app/resources.h"
#include "ui/form1.h"
#include "ui/win32/message_loop.h"
#include "ui/win32/wide_text.h"

namespace styrmark {

void AttachToProgram(win32::Win32Form& window, HINSTANCE program) {
    window.SetIcon(program, MAKEINTRESOURCEW(STYRMARK_ICON));
    window.SetClosed([] { PostQuitMessage(EXIT_SUCCESS); });
}

int RunMessageLoop(HWND form) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) win32::DispatchFormMessage(form, message);
    return static_cast<int>(message.wParam);
}

int RunStyrmark() {
    std::optional<Form1> form;
    try {
        form.emplace();
    } catch (const std::exception& failure) {
        MessageBoxW(nullptr, win32::Widen(failure.what()).c_str(),
                    win32::Widen(kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
        return EXIT_FAILURE;
    }
    // This build's forms are Win32 forms.
    auto& window = static_cast<win32::Win32Form&>(form->Window());
    AttachToProgram(window, GetModuleHandleW(nullptr));
    form->Show();
    return RunMessageLoop(window.Handle());
}

}  // namespace styrmark
