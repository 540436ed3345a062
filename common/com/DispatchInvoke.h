// InvokeFromTypeInfo: IDispatch::Invoke of a dual interface's method from its type
// information. The system's ITypeInfo::Invoke refuses parameters declared as ANSI strings
// (LPSTR); for a method that has one, the call is made here instead: each LPSTR argument
// is taken from a BSTR (converted to the ANSI code page) or from a VT_LPSTR argument, the
// other [in] arguments are coerced to their declared types, and an [out, retval] result
// comes back in the result VARIANT.
#pragma once
#include <windows.h>
#include <oaidl.h>

HRESULT InvokeFromTypeInfo(ITypeInfo* info, void* self, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* excep, UINT* argErr);
