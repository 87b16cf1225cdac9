// SPDX-License-Identifier: GPL-3.0-or-later
// mingw-w64 links a cos of its own that reduces the argument with the x87 unit's short pi,
// which is wrong for large arguments: a latitude of 10^35 degrees gave course 000 where
// every other C library gives 360. The program takes cos from Windows' C runtime instead,
// which reduces exactly. msvcrt.dll is always loaded: the program imports it.
#include <windows.h>

extern "C" double cos(double radians) {
    using Cosine = double (*)(double);
    static const auto runtimeCos = reinterpret_cast<Cosine>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"msvcrt.dll"), "cos")));
    return runtimeCos(radians);
}
