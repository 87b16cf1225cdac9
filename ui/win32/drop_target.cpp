// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/drop_target.h"

#include <string>

#include "ui/win32/wide_text.h"

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
    std::wstring text = medium.tymed == TYMED_HGLOBAL ? GlobalText(medium.hGlobal) : L"";
    ReleaseStgMedium(&medium);
    return text;
}

class FieldDropTarget final : public IDropTarget {
public:
    explicit FieldDropTarget(HWND edit) : m_edit(edit) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        m_hasText = HasText(data);
        *effect = Effect(*effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = Effect(*effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        m_hasText = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) override {
        m_hasText = HasText(data);
        *effect = Effect(*effect);
        m_hasText = false;
        if (*effect == DROPEFFECT_NONE) return S_OK;
        POINT at{point.x, point.y};
        ScreenToClient(m_edit, &at);
        const auto place = static_cast<DWORD>(
            LOWORD(SendMessageW(m_edit, EM_CHARFROMPOS, 0, MAKELPARAM(at.x, at.y))));
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(m_edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        if (start == end || place < start || place > end)
            SendMessageW(m_edit, EM_SETSEL, place, static_cast<LPARAM>(place));
        // The edit's own replacement, which the field filters and Ctrl+Z undoes.
        SendMessageW(m_edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(TextOf(data).c_str()));
        return S_OK;
    }

private:
    ~FieldDropTarget() = default;

    // A copy where the source allows one; a move is never taken.
    DWORD Effect(DWORD allowed) const {
        return m_hasText && (allowed & DROPEFFECT_COPY) != 0 ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }

    HWND m_edit;
    ULONG m_references = 1;
    bool m_hasText = false;
};

}  // namespace

DropRegistration::DropRegistration(HWND edit) : m_edit(edit) {
    auto* target = new FieldDropTarget(edit);
    // OLE holds its own reference while registered.
    m_registered = SUCCEEDED(RegisterDragDrop(m_edit, target));
    target->Release();
}

DropRegistration::~DropRegistration() {
    if (m_registered) RevokeDragDrop(m_edit);
}

}  // namespace styrmark::win32
