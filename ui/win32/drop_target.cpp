// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/drop_target.h"

#include <string>

namespace styrmark::win32 {
namespace {

FORMATETC TextFormat() { return {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool HasText(IDataObject* data) {
    FORMATETC format = TextFormat();
    return data != nullptr && data->QueryGetData(&format) == S_OK;
}

std::wstring TextOf(IDataObject* data) {
    FORMATETC format = TextFormat();
    STGMEDIUM medium{};
    if (data->GetData(&format, &medium) != S_OK) return {};
    std::wstring text;
    if (const auto* locked = static_cast<const wchar_t*>(GlobalLock(medium.hGlobal))) {
        text = locked;
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return text;
}

}  // namespace

FieldDropTarget::FieldDropTarget(HWND edit) : m_edit(edit) { RegisterDragDrop(m_edit, this); }

void FieldDropTarget::Revoke() {
    RevokeDragDrop(m_edit);
    Release();
}

HRESULT FieldDropTarget::QueryInterface(REFIID iid, void** object) {
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FieldDropTarget::AddRef() { return ++m_references; }

ULONG FieldDropTarget::Release() {
    const ULONG left = --m_references;
    if (left == 0) delete this;
    return left;
}

HRESULT FieldDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    m_hasText = HasText(data);
    *effect = m_hasText ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT FieldDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    *effect = m_hasText ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT FieldDropTarget::DragLeave() {
    m_hasText = false;
    return S_OK;
}

HRESULT FieldDropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
    m_hasText = false;
    if (!HasText(data)) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    POINT at{point.x, point.y};
    ScreenToClient(m_edit, &at);
    const auto place = LOWORD(SendMessageW(m_edit, EM_CHARFROMPOS, 0, MAKELPARAM(at.x, at.y)));
    SendMessageW(m_edit, EM_SETSEL, place, place);
    // Replacing the empty selection is the edit's own insertion, which the field filters.
    SendMessageW(m_edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(TextOf(data).c_str()));
    *effect = DROPEFFECT_COPY;
    return S_OK;
}

}  // namespace styrmark::win32
