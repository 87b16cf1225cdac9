// SPDX-License-Identifier: GPL-3.0-or-later
// mingw-w64 links a cos of its own that reduces the argument with the x87 unit's short pi,
// which is wrong for large arguments: a latitude of 10^35 degrees gave course 000 where
// every other C library gives 360. Windows' C runtimes reduce exactly. The one the program
// imports is loaded already: msvcrt.dll with a classic toolchain, ucrtbase.dll with a UCRT
// one; failing both, msvcrt.dll is in System32 on every Windows.
#include <windows.h>

#include <cmath>
#include <initializer_list>

#include "core/cosine.h"

namespace styrmark {
namespace {

using RuntimeCosine = double (*)(double);

RuntimeCosine CosineIn(HMODULE runtime) {
    if (runtime == nullptr) return nullptr;
    return reinterpret_cast<RuntimeCosine>(reinterpret_cast<void*>(GetProcAddress(runtime, "cos")));
}

RuntimeCosine FindRuntimeCosine() {
    for (const wchar_t* runtime : {L"msvcrt.dll", L"ucrtbase.dll"}) {
        if (const RuntimeCosine cosine = CosineIn(GetModuleHandleW(runtime))) return cosine;
    }
    return CosineIn(LoadLibraryExW(L"msvcrt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

}  // namespace

// Never a call through a null pointer: should no runtime be found at all, the toolchain's own
// cos stands in, right for latitudes of every ordinary size and off only for huge ones.
double Cosine(double radians) {
    static const RuntimeCosine runtimeCosine = FindRuntimeCosine();
    return runtimeCosine != nullptr ? runtimeCosine(radians) : std::cos(radians);
}

}  // namespace styrmark
