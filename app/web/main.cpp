// SPDX-License-Identifier: GPL-3.0-or-later
// The page's program: page.js loads it and calls web_start once; the window then lives as
// long as the page, driven by the page's events.
#include <memory>

#include "ui/form1.h"

extern "C" __attribute__((export_name("web_start"))) void WebStart() {
    static std::unique_ptr<styrmark::Form1> window;
    if (window) return;
    window = std::make_unique<styrmark::Form1>();
    window->Show();
}
