#pragma once

// Class ids, ProgIDs and dispatch ids of the test server module (TestServer.cpp).

#include "platform/com/Guid.h"
#include "platform/com/VarType.h"

namespace test_server {

// A dispatch object that is also a hosted control.
inline constexpr CLSID kCalcClsid = GuidLiteral("{2F4B6E10-93C1-4D7A-B5E2-0C8A1F3D6B47}");
inline constexpr char kCalcProgId[] = "Reelmark.TestCalc";
// A plain object with no ProgID and no dispatch interface.
inline constexpr CLSID kPlainClsid = GuidLiteral("{7A90C3E2-1B5D-4F68-8E04-D2C6B9A71F85}");

inline constexpr DISPID kAdd = 1;       // (long a, long b, long* sum) -> long 0
inline constexpr DISPID kScale = 2;     // (double x, double factor) -> double
inline constexpr DISPID kGreet = 3;     // (BSTR name, BSTR* greeting) -> long length
inline constexpr DISPID kValue = 4;     // property long; a put fires kValueChanged
inline constexpr DISPID kSum = 5;       // (VARIANT array of VT_R8) -> double
inline constexpr DISPID kMakeCopy = 6;  // (IDispatch** copy) -> long 0; copy has the same value

inline constexpr DISPID kValueChanged = 1;  // event (long newValue)

}  // namespace test_server
