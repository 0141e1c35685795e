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

// A structure that holds strings or objects: set empty by Init, what it
// holds freed once by Clear, when the guard goes.
template <class S, void (*Init)(S*), void (*Clear)(S*)>
class CStructGuard {
public:
    CStructGuard() { Init(&m_s); }
    ~CStructGuard() { Clear(&m_s); }
    CStructGuard(const CStructGuard&) = delete;
    CStructGuard& operator=(const CStructGuard&) = delete;
    S* Out() { return &m_s; }
    const S& Get() const { return m_s; }

private:
    S m_s;
};

inline void EmptyExcepInfo(EXCEPINFO* e)
{
    *e = EXCEPINFO();
}
inline void FreeExcepInfo(EXCEPINFO* e)
{
    SysFreeString(e->bstrSource);
    SysFreeString(e->bstrDescription);
    SysFreeString(e->bstrHelpFile);
}
inline void EmptyVariant(VARIANT* v)
{
    VariantInit(v);
}
inline void FreeVariant(VARIANT* v)
{
    VariantClear(v);
}
// The error that IDispatch::Invoke fills in: its three strings freed once.
using CExcepInfo = CStructGuard<EXCEPINFO, EmptyExcepInfo, FreeExcepInfo>;
// A VARIANT result or argument: cleared once, freeing what it holds.
using CVariant = CStructGuard<VARIANT, EmptyVariant, FreeVariant>;
