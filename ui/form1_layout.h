// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window as a form designer would file it: the one place its layout is written. The
// window, its tests, the bare-window benchmarks and the end-to-end run all read it.

#include <array>
#include <cstddef>
#include <string_view>

#include "ui/toolkit.h"

namespace styrmark {

inline constexpr toolkit::FormLayout kForm1{.caption = "   Styrmark beräkning",
                                            .width = 6090,
                                            .height = 5400,
                                            .background = {0, 128, 128},  // teal
                                            .fontFamily = "MS Sans Serif",
                                            .fontPoints = 12,
                                            .bold = true};

inline constexpr const char* kFormatHint = "Du måste skriva koordinater enl. 59:04:30";

// clang-format off
inline constexpr auto kForm1Controls = std::to_array<toolkit::ControlRow>({
 // name        kind                             text                            left   top width height tab max accessible name      heads
    {"Label1_0", toolkit::ControlKind::Label,     "Mina Koordinater Lat Long",      870,  270, 4425, 405, 5, 0, nullptr,                "Text1"},
    {"Text1",    toolkit::ControlKind::Field,     "58:00:00",                       480,  840, 2355, 435, 0, 8, "Min latitud"},
    {"Text2",    toolkit::ControlKind::Field,     "17:00:00",                      3330,  810, 2355, 435, 1, 9, "Min longitud"},
    {"Label1_1", toolkit::ControlKind::Label,     "Styrmark Koordinater Lat Long",  840, 1740, 4425, 405, 6, 0, nullptr,                "Text3"},
    {"Text3",    toolkit::ControlKind::Field,     "57:00:00",                       480, 2280, 2355, 405, 2, 8, "Styrmärkets latitud"},
    {"Text4",    toolkit::ControlKind::Field,     "18:00:00",                      3330, 2280, 2355, 405, 3, 9, "Styrmärkets longitud"},
    {"Label1_3", toolkit::ControlKind::Label,     "Kurs och Distans",              2010, 2910, 2535, 405, 9, 0, nullptr,                "Label2"},
    {"Label2",   toolkit::ControlKind::LiveLabel, "",                               510, 3450, 5175, 405, 8},
    {"Command1", toolkit::ControlKind::Button,    "Kurs o Distans till Styrmark",  1170, 4200, 4005, 645, 4},
    {"Label1_2", toolkit::ControlKind::Label,     kFormatHint,                      180, 4950, 5865, 315, 7},
});
// clang-format on

// Never defined, nor constant: reaching it makes the compile fail. (A throw would do, but
// some builds have no exceptions.)
toolkit::Control NoSuchControlInForm1();

// A control by its name in the table; a name that is not there does not compile.
consteval toolkit::Control Form1Control(std::string_view name) {
    for (std::size_t row = 0; row < kForm1Controls.size(); ++row) {
        if (kForm1Controls[row].name == name) return toolkit::Control{row};
    }
    return NoSuchControlInForm1();
}

}  // namespace styrmark
