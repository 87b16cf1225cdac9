// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the window's behaviour table shares: a fresh window from the front end's driver for
// each case, a record of the messages it would have shown, and the controls by the names
// of the layout table.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "driver.h"

namespace styrmark::toolkit {

inline void PrintTo(const Rgb& colour, std::ostream* out) {
    *out << "Rgb(" << colour.red << ", " << colour.green << ", " << colour.blue << ")";
}

}  // namespace styrmark::toolkit

namespace styrmark::test {

inline void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "Rect(" << rect.left << ", " << rect.top << ", " << rect.width << " x " << rect.height
         << ")";
}

struct Message {
    std::string text;
    std::string title;

    friend bool operator==(const Message&, const Message&) = default;
};

inline const Message kShortInputMessage{"Indata måste skrivas ex. 58:00:00", "Styrmark"};
inline constexpr toolkit::Rgb kLightCyan{192, 255, 255};
inline constexpr toolkit::Rgb kLightYellow{255, 255, 192};
inline constexpr toolkit::Rgb kNavy{0, 0, 128};
inline constexpr toolkit::Rgb kBlack{0, 0, 0};

inline toolkit::Control Named(const Form1& form, std::string_view name) {
    const std::pair<std::string_view, toolkit::Control> controls[] = {
        {"Text1", form.Text1},        {"Text2", form.Text2},        {"Text3", form.Text3},
        {"Text4", form.Text4},        {"Command1", form.Command1},  {"Label2", form.Label2},
        {"Label1_0", form.Label1[0]}, {"Label1_1", form.Label1[1]}, {"Label1_2", form.Label1[2]},
        {"Label1_3", form.Label1[3]}};
    for (const auto& [each, control] : controls) {
        if (each == name) return control;
    }
    // A misspelt row; some builds have no exceptions to report it with.
    ADD_FAILURE() << "no control named " << name;
    std::abort();
}

// The decimal separator the run's locale asks for, set by the test's registration, so
// that the window's own reading of the regional settings is checked too.
inline std::string ExpectedDecimalSeparator() {
    const char* separator = std::getenv("STYRMARK_EXPECTED_DECIMAL_SEPARATOR");
    return separator != nullptr ? separator : ".";
}

inline std::string WithSeparator(std::string line) {
    const std::string separator = ExpectedDecimalSeparator();
    for (std::size_t at = line.find('.'); at != std::string::npos;
         at = line.find('.', at + separator.size()))
        line.replace(at, 1, separator);
    return line;
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        toolkit::SetMessageHook([this](std::string_view text, std::string_view title) {
            m_messages.push_back({std::string(text), std::string(title)});
            if (m_driver) m_focusAtMessage.push_back(m_driver->FocusedControl());
        });
        m_driver = MakeDriver();
    }
    void TearDown() override {
        m_driver.reset();
        toolkit::SetMessageHook({});
    }

    Driver& driver() { return *m_driver; }
    Form1& form() { return m_driver->form(); }
    toolkit::Control Named(std::string_view name) { return test::Named(form(), name); }
    // Layout pixels at 96 dpi, at the window's resolution.
    int Scaled(int pixels) { return static_cast<int>(std::lround(pixels * driver().Dpi() / 96)); }

    std::vector<Message> m_messages;
    std::vector<std::optional<toolkit::Control>> m_focusAtMessage;

private:
    std::unique_ptr<Driver> m_driver;
};

template <class Row>
class WindowTable : public WindowTest, public testing::WithParamInterface<Row> {};

}  // namespace styrmark::test
