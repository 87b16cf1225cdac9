// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What screen readers (Narrator, NVDA) learn of the controls beyond what Windows tells them
// itself: names, descriptions and the live result line. The accessibility property service
// comes from oleacc through COM at run time; where it is missing the window still works.

#include <oleacc.h>
#include <windows.h>

#include <string>

namespace styrmark::win32 {

class Accessibility {
public:
    // COM is initialised on this thread.
    Accessibility();
    ~Accessibility();
    Accessibility(const Accessibility&) = delete;
    Accessibility& operator=(const Accessibility&) = delete;

    void SetName(HWND control, const std::wstring& name);
    void SetDescription(HWND control, const std::wstring& description);
    // Polite: read out when the reader is done with what it is saying.
    void MakeLiveRegion(HWND label);
    // Before the control is destroyed.
    void Forget(HWND control);

    // Presents the live region's text now, even when unchanged.
    static void Announce(HWND label);

private:
    IAccPropServices* m_services = nullptr;
};

}  // namespace styrmark::win32
