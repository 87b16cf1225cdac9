// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/application.h"
#include "app/display_check.h"

int main(int argc, char* argv[]) {
    const styrmark::DisplayChoice display = styrmark::CheckDisplay();
    if (!display.problem.empty()) {
        std::fprintf(stderr, "%s\n", display.problem.c_str());
        return EXIT_FAILURE;
    }
    if (!display.platform.empty()) setenv("QT_QPA_PLATFORM", display.platform.c_str(), 1);
    QApplication app(argc, argv);
    return styrmark::RunStyrmark();
}
