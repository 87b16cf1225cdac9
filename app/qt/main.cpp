// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/application.h"

int main(int argc, char* argv[]) {
    if (styrmark::DisplayMissing()) {
        std::fputs("styrmark: ingen skärm att visa fönstret på (DISPLAY är inte satt)\n", stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    return styrmark::RunStyrmark();
}
