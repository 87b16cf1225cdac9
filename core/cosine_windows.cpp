// SPDX-License-Identifier: GPL-3.0-or-later
// mingw-w64 links a cos of its own that reduces the argument with the x87 unit's short pi,
// which is wrong for large arguments: a latitude of 10^35 degrees gave course 000 where
// every other C library gives 360. Windows' C runtime reduces exactly; msvcrt.dll is always
// loaded, as the program imports it.
#include <windows.h>

#include "core/cosine.h"

namespace styrmark {

double Cosine(double radians) {
    using RuntimeCosine = double (*)(double);
    static const auto runtimeCosine = reinterpret_cast<RuntimeCosine>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"msvcrt.dll"), "cos")));
    return runtimeCosine(radians);
}

}  // namespace styrmark
