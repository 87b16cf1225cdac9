// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the window's layout table as JSON, in pixels at 96 dpi, so that the end-to-end
// run checks the program against the one table the program is built from.
#include <cstdio>
#include <string_view>

#include "ui/form1_layout.h"

namespace {

void PrintString(std::string_view text) {
    std::putchar('"');
    for (const char c : text) {
        if (c == '"' || c == '\\') std::putchar('\\');
        std::putchar(c);
    }
    std::putchar('"');
}

int Pixels(int twips) { return styrmark::toolkit::TwipsToPixels(twips, 96); }

}  // namespace

int main() {
    std::printf("{\"caption\": ");
    PrintString(styrmark::kForm1.caption);
    std::printf(", \"size\": [%d, %d], \"controls\": {", Pixels(styrmark::kForm1.width),
                Pixels(styrmark::kForm1.height));
    const char* separator = "";
    for (const styrmark::toolkit::ControlRow& row : styrmark::kForm1Controls) {
        std::printf("%s\n  ", separator);
        PrintString(row.name);
        std::printf(": {\"text\": ");
        PrintString(row.text);
        std::printf(", \"name\": ");
        PrintString(row.accessibleName != nullptr ? row.accessibleName : row.text);
        std::printf(", \"box\": [%d, %d, %d, %d]}", Pixels(row.left), Pixels(row.top),
                    Pixels(row.width), Pixels(row.height));
        separator = ",";
    }
    std::printf("}}\n");
    return 0;
}
