// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace styrmark::win32 {

// COM or OLE on this thread for as long as this lives, ended only if starting it succeeded.
class OnThread {
public:
    using Uninitialise = void(WINAPI*)();
    OnThread(HRESULT started, Uninitialise uninitialise)
        : m_uninitialise(SUCCEEDED(started) ? uninitialise : nullptr) {}
    ~OnThread() {
        if (m_uninitialise != nullptr) m_uninitialise();
    }
    OnThread(const OnThread&) = delete;
    OnThread& operator=(const OnThread&) = delete;

private:
    Uninitialise m_uninitialise;
};

}  // namespace styrmark::win32
