// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one window: four coordinate fields, the compute button and the result line.

#include <array>
#include <memory>

#include "ui/toolkit.h"

namespace styrmark {

// Titles every message box.
inline constexpr const char* kApplicationTitle = "Styrmark";

class Form1 {
public:
    Form1();
    // Its handlers hold `this`.
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    void Show() { m_form->Show(); }
    // The window as the front end built it, for its entry point and its test driver.
    toolkit::Form& Window() const { return *m_form; }

    // Named as on the form, so that handlers and tests read like the layout table.
    const toolkit::Control Text1;
    const toolkit::Control Text2;
    const toolkit::Control Text3;
    const toolkit::Control Text4;
    const toolkit::Control Command1;
    const std::array<toolkit::Control, 4> Label1;
    const toolkit::Control Label2;

private:
    bool OnFieldKey(toolkit::Control field, char16_t character);
    void OnFieldEnter(toolkit::Control field);
    void OnFieldLeave(toolkit::Control field, toolkit::FocusLoss loss);
    void OnCompute();

    std::array<toolkit::Control, 4> Fields() const { return {Text1, Text2, Text3, Text4}; }

    std::unique_ptr<toolkit::Form> m_form;
};

}  // namespace styrmark
