// The Windows handle kinds, each a CHandle with its closing call. A guard is
// made only from the call that acquired the handle.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include "framework/handle.h"

// FindFirstFile / FindClose
struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
using CFindHandle = CHandle<HANDLE, FindTraits>;

// GDI objects (CreatePen, CreateSolidBrush, CreateCompatibleBitmap,
// CreateFont...) / DeleteObject. Deselect before closing: see the DC guards.
template <class T>
struct GdiTraits {
    static T Invalid() { return nullptr; }
    static void Close(T h) { DeleteObject(h); }
};
using CPenHandle = CHandle<HPEN, GdiTraits<HPEN>>;
using CBrushHandle = CHandle<HBRUSH, GdiTraits<HBRUSH>>;
using CBitmapHandle = CHandle<HBITMAP, GdiTraits<HBITMAP>>;
using CFontHandle = CHandle<HFONT, GdiTraits<HFONT>>;


// A counted COM reference: one Release per reference taken over.
template <class I>
struct ComTraits {
    static I* Invalid() { return nullptr; }
    static void Close(I* p) { p->Release(); }
};
using CDispatchPtr = CHandle<IDispatch*, ComTraits<IDispatch>>;
using CUnknownPtr = CHandle<IUnknown*, ComTraits<IUnknown>>;

// The kinds that hold nothing as null and are closed by one call of their own.
template <class T, class R, R(WINAPI* CloseCall)(T)>
struct NullTraits {
    static T Invalid() { return nullptr; }
    static void Close(T h) { CloseCall(h); }
};
// CreateCompatibleDC / DeleteDC
using CMemoryDCHandle = CHandle<HDC, NullTraits<HDC, BOOL, DeleteDC>>;
// SysAllocString / SysFreeString
using CBstr = CHandle<BSTR, NullTraits<BSTR, void, SysFreeString>>;
// CreateThread, CreateEvent / CloseHandle (these give null on failure).
using CKernelHandle = CHandle<HANDLE, NullTraits<HANDLE, BOOL, CloseHandle>>;

// The error that IDispatch::Invoke fills in: its three strings freed once.
class CExcepInfo {
public:
    CExcepInfo() : m_info() {}
    ~CExcepInfo()
    {
        SysFreeString(m_info.bstrSource);
        SysFreeString(m_info.bstrDescription);
        SysFreeString(m_info.bstrHelpFile);
    }
    CExcepInfo(const CExcepInfo&) = delete;
    CExcepInfo& operator=(const CExcepInfo&) = delete;
    EXCEPINFO* Out() { return &m_info; }
    const EXCEPINFO& Get() const { return m_info; }

private:
    EXCEPINFO m_info;
};

// A VARIANT result or argument: cleared once, freeing what it holds.
class CVariant {
public:
    CVariant() { VariantInit(&m_v); }
    ~CVariant() { VariantClear(&m_v); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
    VARIANT* Out() { return &m_v; }
    const VARIANT& Get() const { return m_v; }

private:
    VARIANT m_v;
};
