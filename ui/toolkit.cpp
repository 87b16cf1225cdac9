// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit.h"

#include <cmath>
#include <utility>

namespace styrmark::toolkit {
namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

}  // namespace

int TwipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

void Form::ShowMessage(std::string_view text, std::string_view title) {
    if (Hook()) {
        Hook()(text, title);
        return;
    }
    ShowMessageBox(text, title);
}

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }

}  // namespace styrmark::toolkit
