// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/accessibility.h"

#include <array>

namespace styrmark::win32 {
namespace {

// Spelt out here rather than taken from oleacc's import library, which is not linked.
constexpr CLSID kAccPropServices{
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kIAccPropServices{
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kName{
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr MSAAPROPID kDescription{
    0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
// UI Automation's LiveSetting, which screen readers take from the window's properties.
constexpr MSAAPROPID kLiveSetting{
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPolite = 1;

}  // namespace

Accessibility::Accessibility() {
    CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                     reinterpret_cast<void**>(&m_services));
}

Accessibility::~Accessibility() {
    if (m_services != nullptr) m_services->Release();
}

void Accessibility::SetName(HWND control, const std::wstring& name) {
    if (m_services == nullptr) return;
    m_services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kName,
                               name.c_str());
}

void Accessibility::SetDescription(HWND control, const std::wstring& description) {
    if (m_services == nullptr) return;
    m_services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                               kDescription, description.c_str());
}

void Accessibility::MakeLiveRegion(HWND label) {
    if (m_services == nullptr) return;
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = kPolite;
    m_services->SetHwndProp(label, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kLiveSetting,
                            polite);
}

void Accessibility::Forget(HWND control) {
    if (m_services == nullptr) return;
    const std::array properties{kName, kDescription, kLiveSetting};
    m_services->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                               properties.data(), static_cast<int>(properties.size()));
}

void Accessibility::Announce(HWND label) {
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, label, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace styrmark::win32
