// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/dpi.h"

#include <algorithm>

namespace styrmark::win32 {
namespace {

template <typename Function>
Function User32(const char* name) {
    // user32 is always loaded in a program with windows.
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

constexpr UINT kLeastTextScale = 100;
constexpr UINT kMostTextScale = 225;

}  // namespace

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr) return getDpiForWindow(window);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD extendedStyle, UINT dpi) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32<AdjustFunction>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, client.cx, client.cy};
    if (adjustForDpi != nullptr) {
        adjustForDpi(&rect, style, FALSE, extendedStyle, dpi);
    } else {
        AdjustWindowRectEx(&rect, style, FALSE, extendedStyle);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int SystemMetric(int metric, UINT dpi) {
    using MetricsFunction = int(WINAPI*)(int, UINT);
    static const auto metricsForDpi = User32<MetricsFunction>("GetSystemMetricsForDpi");
    if (metricsForDpi != nullptr) return metricsForDpi(metric, dpi);
    return MulDiv(GetSystemMetrics(metric), static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

LOGFONTW MessageFont(UINT dpi) {
    using ParametersFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto parametersForDpi = User32<ParametersFunction>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (parametersForDpi == nullptr ||
        !parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    }
    return metrics.lfMessageFont;
}

// Where Settings keeps it; Windows scales only its own apps' text by it, not a program's.
UINT TextScalePercent() {
    DWORD percent = kLeastTextScale;
    DWORD size = sizeof percent;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Accessibility", L"TextScaleFactor",
                     RRF_RT_REG_DWORD, nullptr, &percent, &size) != ERROR_SUCCESS)
        return kLeastTextScale;
    return std::clamp<UINT>(percent, kLeastTextScale, kMostTextScale);
}

}  // namespace styrmark::win32
