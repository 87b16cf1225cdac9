// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/fonts.h"

#include <cmath>

#include "ui/win32/dpi.h"

namespace styrmark::win32 {
namespace {

constexpr double kLeastPoints = 4;

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

// The size of `text` on one line, in pixels.
SIZE Extent(HFONT font, std::wstring_view text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    size.cy = metrics.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
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

HFONT CreateFormFont(const std::wstring& face, double points, bool bold, UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    // Never a bitmap face, which Windows would stretch.
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    font.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

double FittingPoints(const std::wstring& face, double points, bool bold, UINT dpi,
                     std::wstring_view text, SIZE room) {
    for (; points > kLeastPoints; points -= 0.5) {
        HFONT font = CreateFormFont(face, points, bold, dpi);
        const SIZE size = Extent(font, text);
        DeleteObject(font);
        if (size.cx <= room.cx && size.cy <= room.cy) break;
    }
    return points;
}

}  // namespace styrmark::win32
