#pragma once

// Status codes: COM HRESULTs, AVI stream errors and the Win32 error numbers the system uses.

#include <cstdint>

using HRESULT = int32_t;

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

constexpr HRESULT MakeHResult(uint32_t code) {
    return static_cast<HRESULT>(code);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeHResult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = MakeHResult(0x80004002);
inline constexpr HRESULT E_POINTER = MakeHResult(0x80004003);
inline constexpr HRESULT E_ABORT = MakeHResult(0x80004004);
inline constexpr HRESULT E_FAIL = MakeHResult(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = MakeHResult(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = MakeHResult(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057);

// Automation (dispatch) errors: severity error, dispatch facility.
inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = MakeHResult(0x80020001);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeHResult(0x80020003);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = MakeHResult(0x80020004);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = MakeHResult(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = MakeHResult(0x80020006);
inline constexpr HRESULT DISP_E_NONAMEDARGS = MakeHResult(0x80020007);
inline constexpr HRESULT DISP_E_BADVARTYPE = MakeHResult(0x80020008);
inline constexpr HRESULT DISP_E_EXCEPTION = MakeHResult(0x80020009);
inline constexpr HRESULT DISP_E_OVERFLOW = MakeHResult(0x8002000A);
inline constexpr HRESULT DISP_E_BADINDEX = MakeHResult(0x8002000B);
inline constexpr HRESULT DISP_E_ARRAYISLOCKED = MakeHResult(0x8002000D);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeHResult(0x8002000E);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = MakeHResult(0x8002000F);

// Class creation, registration and connection errors (interface facility).
inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHResult(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHResult(0x80040111);
inline constexpr HRESULT REGDB_E_READREGDB = MakeHResult(0x80040150);
inline constexpr HRESULT REGDB_E_WRITEREGDB = MakeHResult(0x80040151);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHResult(0x80040154);
inline constexpr HRESULT CONNECT_E_NOCONNECTION = MakeHResult(0x80040200);
inline constexpr HRESULT CONNECT_E_ADVISELIMIT = MakeHResult(0x80040201);
inline constexpr HRESULT SELFREG_E_TYPELIB = MakeHResult(0x80040200);
inline constexpr HRESULT SELFREG_E_CLASS = MakeHResult(0x80040201);
inline constexpr HRESULT CO_E_CLASSSTRING = MakeHResult(0x800401F3);
inline constexpr HRESULT CO_E_DLLNOTFOUND = MakeHResult(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = MakeHResult(0x800401F9);

// AVI stream errors: severity error, interface facility, 0x4000 + n.
constexpr HRESULT MAKE_AVIERR(uint32_t n) {
    return MakeHResult(0x80044000u + n);
}
inline constexpr HRESULT AVIERR_OK = 0;
inline constexpr HRESULT AVIERR_UNSUPPORTED = MAKE_AVIERR(101);
inline constexpr HRESULT AVIERR_BADFORMAT = MAKE_AVIERR(102);
inline constexpr HRESULT AVIERR_MEMORY = MAKE_AVIERR(103);
inline constexpr HRESULT AVIERR_INTERNAL = MAKE_AVIERR(104);
inline constexpr HRESULT AVIERR_BADFLAGS = MAKE_AVIERR(105);
inline constexpr HRESULT AVIERR_BADPARAM = MAKE_AVIERR(106);
inline constexpr HRESULT AVIERR_BADSIZE = MAKE_AVIERR(107);
inline constexpr HRESULT AVIERR_BADHANDLE = MAKE_AVIERR(108);
inline constexpr HRESULT AVIERR_FILEREAD = MAKE_AVIERR(109);
inline constexpr HRESULT AVIERR_FILEWRITE = MAKE_AVIERR(110);
inline constexpr HRESULT AVIERR_FILEOPEN = MAKE_AVIERR(111);
inline constexpr HRESULT AVIERR_COMPRESSOR = MAKE_AVIERR(112);
inline constexpr HRESULT AVIERR_NOCOMPRESSOR = MAKE_AVIERR(113);
inline constexpr HRESULT AVIERR_READONLY = MAKE_AVIERR(114);
inline constexpr HRESULT AVIERR_NODATA = MAKE_AVIERR(115);
inline constexpr HRESULT AVIERR_BUFFERTOOSMALL = MAKE_AVIERR(116);
inline constexpr HRESULT AVIERR_CANTCOMPRESS = MAKE_AVIERR(117);
inline constexpr HRESULT AVIERR_USERABORT = MAKE_AVIERR(198);
inline constexpr HRESULT AVIERR_ERROR = MAKE_AVIERR(199);

// Win32 error numbers (registry and file functions return these directly).
inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_PATH_NOT_FOUND = 3;
inline constexpr long ERROR_ACCESS_DENIED = 5;
inline constexpr long ERROR_INVALID_HANDLE = 6;
inline constexpr long ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr long ERROR_INVALID_DATA = 13;
inline constexpr long ERROR_WRITE_FAULT = 29;
inline constexpr long ERROR_INVALID_PARAMETER = 87;
inline constexpr long ERROR_ALREADY_EXISTS = 183;
inline constexpr long ERROR_MORE_DATA = 234;
inline constexpr long ERROR_NO_MORE_ITEMS = 259;
inline constexpr long ERROR_BADDB = 1009;
inline constexpr long ERROR_BADKEY = 1010;
inline constexpr long ERROR_CANTOPEN = 1011;
inline constexpr long ERROR_CANTREAD = 1012;
inline constexpr long ERROR_CANTWRITE = 1013;
inline constexpr long ERROR_KEY_DELETED = 1018;
