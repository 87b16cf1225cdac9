// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "core/navigation.h"

namespace styrmark {
namespace {

std::vector<std::string> TabSeparated(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
    return fields;
}

// Each row: four position texts, the decimal separator and the exact line, written by
// reference/make_result_lines.py from its own model of the arithmetic.
TEST(ResultLine, MatchesTheReferenceModel) {
    // Read through C's stdio: WebAssembly's C++ library has no file streams.
    std::FILE* opened = std::fopen(STYRMARK_RESULT_LINES, "rb");
    ASSERT_NE(opened, nullptr) << STYRMARK_RESULT_LINES;
    std::string contents;
    for (int c; (c = std::fgetc(opened)) != EOF;) contents += static_cast<char>(c);
    std::fclose(opened);
    std::istringstream file(contents);
    int rows = 0;
    int lineNumber = 0;
    for (std::string line; std::getline(file, line);) {
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        const std::vector<std::string> row = TabSeparated(line);
        ASSERT_EQ(row.size(), 6U) << "line " << lineNumber << ": " << line;
        const auto result = ComputeCourseDistance(row[0], row[1], row[2], row[3]);
        ASSERT_TRUE(result.has_value()) << "line " << lineNumber << ": " << line;
        EXPECT_EQ(FormatResultLine(*result, row[4]), row[5])
            << "line " << lineNumber << ": " << line;
        ++rows;
    }
    EXPECT_GE(rows, 300);
}

}  // namespace
}  // namespace styrmark
