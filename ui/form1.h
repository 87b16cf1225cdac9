// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one window: four coordinate fields, the compute button and the result line.

#include <array>

#include "ui/toolkit.h"

namespace styrmark {

// Titles every message box.
inline constexpr const char* kApplicationTitle = "Styrmark";

class Form1 : public toolkit::Form {
public:
    Form1();

    // Named as on the form, so that handlers and tests read like the layout table.
    toolkit::Field* Text1;
    toolkit::Field* Text2;
    toolkit::Field* Text3;
    toolkit::Field* Text4;
    toolkit::Button* Command1;
    std::array<QLabel*, 4> Label1;
    toolkit::LiveLabel* Label2;

private:
    char16_t OnFieldKey(toolkit::Field* field, char16_t character);
    void OnFieldEnter(toolkit::Field* field);
    void OnFieldLeave(toolkit::Field* field, toolkit::FocusLoss loss);
    void OnCompute();

    std::array<toolkit::Field*, 4> Fields() const { return {Text1, Text2, Text3, Text4}; }
};

}  // namespace styrmark
