// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/navigation.h"

namespace styrmark {
namespace {

constexpr double kNauticalMilesPerKilometre = 0.54;

}  // namespace

std::string FormatResultLine(const CourseDistance& result, std::string_view decimalSeparator) {
    const double kilometres = static_cast<double>(result.distance) / kNauticalMilesPerKilometre;
    std::string line;
    line.reserve(64);
    line += "Kurs ";
    line += FormatNumber(static_cast<double>(result.course), "000", decimalSeparator);
    line += "   ";
    line += FormatNumber(static_cast<double>(result.distance), "0.00  DM", decimalSeparator);
    line += "   ";
    line += FormatNumber(kilometres, "0.000  Km", decimalSeparator);
    return line;
}

}  // namespace styrmark
