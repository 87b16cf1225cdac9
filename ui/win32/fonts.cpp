// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/fonts.h"

#include <cmath>

#include "ui/win32/dpi.h"
#include "ui/win32/wide_text.h"

namespace styrmark::win32 {
namespace {

constexpr double kPointsPerInch = 72;

int CALLBACK NoteTrueType(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM found) {
    if ((type & TRUETYPE_FONTTYPE) != 0) *reinterpret_cast<bool*>(found) = true;
    return 1;
}

bool HasTrueTypeFace(HDC dc, const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExW(dc, &wanted, NoteTrueType, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

}  // namespace

std::wstring ChooseFace() {
    HDC dc = GetDC(nullptr);
    std::wstring face;
    for (const wchar_t* candidate : {L"Microsoft Sans Serif", L"Tahoma"}) {
        if (HasTrueTypeFace(dc, candidate)) {
            face = candidate;
            break;
        }
    }
    ReleaseDC(nullptr, dc);
    return face.empty() ? MessageFont(USER_DEFAULT_SCREEN_DPI).lfFaceName : face;
}

Font CreateFormFont(const std::wstring& face, double points, bool bold, double dpi) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / kPointsPerInch));
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    // Never a bitmap face, which Windows would stretch.
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    font.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return Font(CreateFontIndirectW(&font));
}

toolkit::TextExtent MeasureText(const std::wstring& face, bool bold, double dpi,
                                std::string_view text, double points) {
    const Font font = CreateFormFont(face, points, bold, dpi);
    const std::wstring wide = Widen(text);
    HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font.get());
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {size.cx, metrics.tmHeight};
}

}  // namespace styrmark::win32
