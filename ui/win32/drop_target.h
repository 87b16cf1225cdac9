// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Text dragged onto an entry field goes in where it is dropped, as if typed there; the
// field then keeps what it admits. Plain edit controls take no drops of their own.

#include <ole2.h>
#include <windows.h>

namespace styrmark::win32 {

class FieldDropTarget final : public IDropTarget {
public:
    // Registered for `edit` until Revoke; OLE is initialised on this thread.
    explicit FieldDropTarget(HWND edit);
    void Revoke();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                   DWORD* effect) override;

private:
    ~FieldDropTarget() = default;

    HWND m_edit;
    ULONG m_references = 1;
    bool m_hasText = false;
};

}  // namespace styrmark::win32
