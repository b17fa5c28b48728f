#include "platform/com/ComBSTR.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComVariant.h"
#include "platform/com/tests/CountedObject.h"

#include <gtest/gtest.h>

#include <cmath>

// Ownership mistakes here show as leaks (LeakSanitizer runs at exit of every test) or as
// use-after-free / double-free reports of AddressSanitizer.

namespace {

CComPtr<CCountedObject> MakeCounted() {
    CComPtr<CCountedObject> object;
    object.Attach(new CCountedObject);
    object->AddRef();
    return object;
}

TEST(BstrTest, LengthPrefixTerminatorAndNullString) {
    BSTR text = SysAllocString(u"h\u00e9llo");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_EQ(SysStringByteLen(text), 10u);
    EXPECT_EQ(text[5], u'\0');
    EXPECT_EQ(QStringFromBstr(text), QStringLiteral("h\u00e9llo"));
    SysFreeString(text);

    // Embedded zeros count; a null source gives zeroed characters.
    const char16_t withZero[] = {u'a', 0, u'b'};
    BSTR counted = SysAllocStringLen(withZero, 3);
    EXPECT_EQ(SysStringLen(counted), 3u);
    EXPECT_EQ(QStringFromBstr(counted), QString::fromUtf16(withZero, 3));
    SysFreeString(counted);
    BSTR zeroed = SysAllocStringLen(nullptr, 4);
    EXPECT_EQ(SysStringLen(zeroed), 4u);
    for (int i = 0; i <= 4; ++i)
        EXPECT_EQ(zeroed[i], 0);
    SysFreeString(zeroed);

    // A null BSTR is the empty string and may be freed.
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_TRUE(QStringFromBstr(nullptr).isEmpty());
    SysFreeString(nullptr);
    BSTR empty = SysAllocQString(QString());
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    SysFreeString(empty);
}

TEST(BstrTest, ReAllocReplacesAndFreesTheOldString) {
    BSTR text = SysAllocString(u"first");
    ASSERT_EQ(SysReAllocString(&text, u"second one"), TRUE);
    EXPECT_EQ(QStringFromBstr(text), QStringLiteral("second one"));
    ASSERT_EQ(SysReAllocString(&text, nullptr), TRUE);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(SysReAllocString(nullptr, u"x"), FALSE);
}

TEST(BstrTest, ComBstrOwnsItsCopy) {
    CComBSTR a(QStringLiteral("text"));
    CComBSTR b = a;
    EXPECT_NE(a.Get(), b.Get());
    EXPECT_EQ(b.ToQString(), QStringLiteral("text"));
    CComBSTR c = std::move(a);
    EXPECT_EQ(a.Get(), nullptr);
    EXPECT_EQ(c.ToQString(), QStringLiteral("text"));
    BSTR handedOut = c.Copy();
    EXPECT_NE(handedOut, c.Get());
    SysFreeString(handedOut);
    BSTR detached = c.Detach();
    EXPECT_EQ(c.Get(), nullptr);
    CComBSTR adopted;
    adopted.Attach(detached);
    *adopted.Receive() = SysAllocString(u"replaced");  // Receive frees the adopted string.
    EXPECT_EQ(adopted.ToQString(), QStringLiteral("replaced"));
}

TEST(VariantTest, CopyIsDeepAndClearFreesWhatTheVariantOwns) {
    CComPtr<CCountedObject> object = MakeCounted();
    const ULONG base = RefCount(object.Get());

    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(u"value");
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &text), S_OK);
    EXPECT_EQ(copy.vt, VT_BSTR);
    EXPECT_NE(copy.bstrVal, text.bstrVal);
    EXPECT_EQ(QStringFromBstr(copy.bstrVal), QStringLiteral("value"));
    // Copying a VARIANT onto itself keeps its one string.
    ASSERT_EQ(VariantCopy(&text, &text), S_OK);
    EXPECT_EQ(QStringFromBstr(text.bstrVal), QStringLiteral("value"));

    // Copying over a VARIANT that holds a string frees that string first.
    VARIANT dispatch;
    VariantInit(&dispatch);
    dispatch.vt = VT_DISPATCH;
    dispatch.pdispVal = object.Get();
    object->AddRef();
    ASSERT_EQ(VariantCopy(&copy, &dispatch), S_OK);
    EXPECT_EQ(copy.pdispVal, object.Get());
    EXPECT_EQ(RefCount(object.Get()), base + 2);
    EXPECT_EQ(VariantClear(&copy), S_OK);
    EXPECT_EQ(copy.vt, VT_EMPTY);
    EXPECT_EQ(RefCount(object.Get()), base + 1);
    EXPECT_EQ(VariantClear(&dispatch), S_OK);
    EXPECT_EQ(RefCount(object.Get()), base);
    EXPECT_EQ(VariantClear(&text), S_OK);

    // A null interface pointer is a valid value.
    VARIANT none;
    VariantInit(&none);
    none.vt = VT_UNKNOWN;
    EXPECT_EQ(VariantCopy(&copy, &none), S_OK);
    EXPECT_EQ(VariantClear(&copy), S_OK);
}

TEST(VariantTest, UnknownTypeTagIsRefusedWithoutTouchingAnything) {
    VARIANT bad;
    VariantInit(&bad);
    bad.vt = 0x0FFF;
    bad.lVal = 7;
    VARIANT dest;
    VariantInit(&dest);
    dest.vt = VT_BSTR;
    dest.bstrVal = SysAllocString(u"kept");
    EXPECT_EQ(VariantCopy(&dest, &bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(QStringFromBstr(dest.bstrVal), QStringLiteral("kept"));
    EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(bad.lVal, 7);
    VARIANT converted;
    VariantInit(&converted);
    EXPECT_EQ(VariantChangeType(&converted, &dest, 0, 0x0FFF), DISP_E_BADVARTYPE);
    EXPECT_EQ(VariantChangeType(&converted, &dest, 0, VT_BYREF | VT_I4), DISP_E_BADVARTYPE);
    VariantClear(&dest);
}

TEST(VariantTest, ByReferenceValuesStayTheCallersAndCopyIndDereferences) {
    BSTR owned = SysAllocString(u"caller's");
    LONG number = 12;
    CComVariant inner(QStringLiteral("inner"));
    {
        CComVariant refText = CComVariant::ByRef(&owned);
        CComVariant refNumber = CComVariant::ByRef(&number);
        CComVariant refVariant = CComVariant::ByRef(static_cast<VARIANT*>(&inner));

        CComVariant copy(refText);  // Same reference, no new string.
        EXPECT_EQ(copy.vt, VT_BYREF | VT_BSTR);
        EXPECT_EQ(copy.pbstrVal, &owned);

        VARIANT value;
        VariantInit(&value);
        ASSERT_EQ(VariantCopyInd(&value, &refText), S_OK);
        EXPECT_EQ(value.vt, VT_BSTR);
        EXPECT_NE(value.bstrVal, owned);
        EXPECT_EQ(QStringFromBstr(value.bstrVal), QStringLiteral("caller's"));
        ASSERT_EQ(VariantCopyInd(&value, &refNumber), S_OK);  // Frees the copied string.
        EXPECT_EQ(value.vt, VT_I4);
        EXPECT_EQ(value.lVal, 12);
        ASSERT_EQ(VariantCopyInd(&value, &refVariant), S_OK);
        EXPECT_EQ(QStringFromBstr(value.bstrVal), QStringLiteral("inner"));
        VariantClear(&value);
    }  // Clearing the references frees nothing of the caller's.
    EXPECT_EQ(QStringFromBstr(owned), QStringLiteral("caller's"));
    EXPECT_EQ(QStringFromBstr(inner.bstrVal), QStringLiteral("inner"));
    SysFreeString(owned);
}

TEST(VariantTest, ComVariantCopiesMovesAttachesAndDetaches) {
    CComPtr<CCountedObject> object = MakeCounted();
    const ULONG base = RefCount(object.Get());
    {
        CComVariant held(static_cast<IDispatch*>(object.Get()));
        EXPECT_EQ(RefCount(object.Get()), base + 1);
        CComVariant copy = held;
        EXPECT_EQ(RefCount(object.Get()), base + 2);
        CComVariant moved = std::move(copy);
        EXPECT_EQ(copy.vt, VT_EMPTY);
        EXPECT_EQ(RefCount(object.Get()), base + 2);
        moved = CComVariant(QStringLiteral("replaces the reference"));
        EXPECT_EQ(RefCount(object.Get()), base + 1);
        moved = held;
        moved = moved;  // Self-assignment keeps the value.
        EXPECT_EQ(moved.pdispVal, object.Get());
        EXPECT_EQ(RefCount(object.Get()), base + 2);

        VARIANT raw;
        VariantInit(&raw);
        moved.Detach(&raw);
        EXPECT_EQ(moved.vt, VT_EMPTY);
        EXPECT_EQ(raw.pdispVal, object.Get());
        CComVariant adopted;
        adopted.Attach(&raw);
        EXPECT_EQ(raw.vt, VT_EMPTY);
        EXPECT_EQ(RefCount(object.Get()), base + 2);
    }
    EXPECT_EQ(RefCount(object.Get()), base);

    EXPECT_EQ(CComVariant(LONG{-5}).ToLong(), -5);
    EXPECT_EQ(CComVariant(QStringLiteral("2.5")).ToDouble(), 2.5);
    EXPECT_EQ(CComVariant(QStringLiteral("x")).ToLong(99), 99);
    EXPECT_EQ(CComVariant(1.25).ToQString(), QStringLiteral("1.25"));
    const CComVariant missing = CComVariant::Missing();
    EXPECT_EQ(missing.vt, VT_ERROR);
    EXPECT_EQ(missing.scode, DISP_E_PARAMNOTFOUND);
}

// Builds the source value of a conversion case.
struct Source {
    VARTYPE vt;
    double number;
    const char16_t* text;
};

CComVariant Make(const Source& s) {
    CComVariant v;
    switch (s.vt) {
        case VT_BSTR:
            return CComVariant(s.text);
        case VT_I2:
            return CComVariant(static_cast<int16_t>(s.number));
        case VT_I4:
            return CComVariant(static_cast<LONG>(s.number));
        case VT_R4:
            return CComVariant(static_cast<float>(s.number));
        case VT_R8:
            return CComVariant(s.number);
        case VT_BOOL:
            return CComVariant(s.number != 0);
        default:
            v.vt = s.vt;
            return v;
    }
}

TEST(VariantTest, ChangeTypeConvertsLikeAutomation) {
    struct Case {
        Source source;
        VARTYPE target;
        uint16_t flags;
        HRESULT hr;
        double number;         // expected numeric value
        const char16_t* text;  // expected text for VT_BSTR
    };
    const Case cases[] = {
        {{VT_I4, 42, nullptr}, VT_R8, 0, S_OK, 42, nullptr},
        {{VT_R8, 2.5, nullptr}, VT_I4, 0, S_OK, 2, nullptr},  // half to even
        {{VT_R8, 3.5, nullptr}, VT_I4, 0, S_OK, 4, nullptr},
        {{VT_R8, -2.5, nullptr}, VT_I4, 0, S_OK, -2, nullptr},
        {{VT_R8, 2.6, nullptr}, VT_I2, 0, S_OK, 3, nullptr},
        {{VT_R8, 1e10, nullptr}, VT_I4, 0, DISP_E_OVERFLOW, 0, nullptr},
        {{VT_R8, 2147483647.0, nullptr}, VT_I4, 0, S_OK, 2147483647.0, nullptr},
        {{VT_R8, -2147483648.0, nullptr}, VT_I4, 0, S_OK, -2147483648.0, nullptr},
        {{VT_R8, 2147483648.0, nullptr}, VT_I4, 0, DISP_E_OVERFLOW, 0, nullptr},
        {{VT_I4, 40000, nullptr}, VT_I2, 0, DISP_E_OVERFLOW, 0, nullptr},
        {{VT_I4, -1, nullptr}, VT_UI1, 0, DISP_E_OVERFLOW, 0, nullptr},
        {{VT_I4, 255, nullptr}, VT_UI1, 0, S_OK, 255, nullptr},
        {{VT_R8, 1e39, nullptr}, VT_R4, 0, DISP_E_OVERFLOW, 0, nullptr},
        {{VT_R4, 1.5, nullptr}, VT_R8, 0, S_OK, 1.5, nullptr},
        {{VT_BSTR, 0, u"12"}, VT_I4, 0, S_OK, 12, nullptr},
        {{VT_BSTR, 0, u" -3.25 "}, VT_R8, 0, S_OK, -3.25, nullptr},
        {{VT_BSTR, 0, u"1e3"}, VT_I2, 0, S_OK, 1000, nullptr},
        {{VT_BSTR, 0, u"abc"}, VT_I4, 0, DISP_E_TYPEMISMATCH, 0, nullptr},
        {{VT_BSTR, 0, u""}, VT_I4, 0, DISP_E_TYPEMISMATCH, 0, nullptr},
        {{VT_BSTR, 0, u"12abc"}, VT_I4, 0, DISP_E_TYPEMISMATCH, 0, nullptr},
        {{VT_BSTR, 0, u"1,5"}, VT_R8, 0, DISP_E_TYPEMISMATCH, 0, nullptr},
        {{VT_BSTR, 0, u"nan"}, VT_R8, 0, DISP_E_TYPEMISMATCH, 0, nullptr},
        {{VT_BSTR, 0, u"99999"}, VT_I2, 0, DISP_E_OVERFLOW, 0, nullptr},
        {{VT_BSTR, 0, u"True"}, VT_BOOL, 0, S_OK, VARIANT_TRUE, nullptr},
        {{VT_BSTR, 0, u"false"}, VT_BOOL, 0, S_OK, VARIANT_FALSE, nullptr},
        {{VT_BSTR, 0, u"2"}, VT_BOOL, 0, S_OK, VARIANT_TRUE, nullptr},
        {{VT_I4, 7, nullptr}, VT_BSTR, 0, S_OK, 0, u"7"},
        {{VT_I2, -7, nullptr}, VT_BSTR, 0, S_OK, 0, u"-7"},
        {{VT_R8, 0.1, nullptr}, VT_BSTR, 0, S_OK, 0, u"0.1"},
        {{VT_R8, 1234567.5, nullptr}, VT_BSTR, 0, S_OK, 0, u"1234567.5"},
        {{VT_R4, 0.1, nullptr}, VT_BSTR, 0, S_OK, 0, u"0.1"},
        {{VT_BOOL, 1, nullptr}, VT_BSTR, 0, S_OK, 0, u"-1"},
        {{VT_BOOL, 1, nullptr}, VT_BSTR, VARIANT_ALPHABOOL, S_OK, 0, u"True"},
        {{VT_BOOL, 0, nullptr}, VT_BSTR, VARIANT_ALPHABOOL, S_OK, 0, u"False"},
        {{VT_BOOL, 1, nullptr}, VT_I4, 0, S_OK, -1, nullptr},
        {{VT_I4, 5, nullptr}, VT_BOOL, 0, S_OK, VARIANT_TRUE, nullptr},
        {{VT_I4, 0, nullptr}, VT_BOOL, 0, S_OK, VARIANT_FALSE, nullptr},
        {{VT_EMPTY, 0, nullptr}, VT_I4, 0, S_OK, 0, nullptr},
        {{VT_EMPTY, 0, nullptr}, VT_BSTR, 0, S_OK, 0, u""},
        {{VT_I4, 3, nullptr}, VT_EMPTY, 0, S_OK, 0, nullptr},
        {{VT_NULL, 0, nullptr}, VT_I4, 0, DISP_E_TYPEMISMATCH, 0, nullptr},
        {{VT_DISPATCH, 0, nullptr}, VT_I4, 0, DISP_E_TYPEMISMATCH, 0, nullptr},
        {{VT_I4, 1, nullptr}, VT_DISPATCH, 0, DISP_E_TYPEMISMATCH, 0, nullptr},
        {{VT_I4, 1, nullptr}, VT_ARRAY | VT_R8, 0, DISP_E_TYPEMISMATCH, 0, nullptr},
    };
    for (const Case& c : cases) {
        const CComVariant source = Make(c.source);
        const QString label =
            QStringLiteral("from vt %1 (%2, \"%3\") to vt %4")
                .arg(c.source.vt)
                .arg(c.source.number)
                .arg(c.source.text ? QString::fromUtf16(c.source.text) : QString())
                .arg(c.target);
        CComVariant dest(QStringLiteral("untouched"));
        const HRESULT hr = VariantChangeType(&dest, &source, c.flags, c.target);
        ASSERT_EQ(hr, c.hr) << label.toStdString();
        if (FAILED(hr)) {
            EXPECT_EQ(dest.vt, VT_BSTR) << label.toStdString();
            EXPECT_EQ(QStringFromBstr(dest.bstrVal), QStringLiteral("untouched"));
            continue;
        }
        ASSERT_EQ(dest.vt, c.target) << label.toStdString();
        switch (c.target) {
            case VT_BSTR:
                EXPECT_EQ(QStringFromBstr(dest.bstrVal), QString::fromUtf16(c.text))
                    << label.toStdString();
                break;
            case VT_I2:
                EXPECT_EQ(dest.iVal, c.number) << label.toStdString();
                break;
            case VT_I4:
                EXPECT_EQ(dest.lVal, c.number) << label.toStdString();
                break;
            case VT_UI1:
                EXPECT_EQ(dest.bVal, c.number) << label.toStdString();
                break;
            case VT_R8:
                EXPECT_EQ(dest.dblVal, c.number) << label.toStdString();
                break;
            case VT_BOOL:
                EXPECT_EQ(dest.boolVal, c.number) << label.toStdString();
                break;
            default:
                break;
        }
    }
}

TEST(VariantTest, ChangeTypeInPlaceAndThroughReferencesAndInterfaces) {
    CComVariant text(QStringLiteral("41"));
    ASSERT_EQ(text.ChangeType(VT_I4), S_OK);  // Frees the string it replaces.
    EXPECT_EQ(text.lVal, 41);
    ASSERT_EQ(text.ChangeType(VT_BSTR), S_OK);
    EXPECT_EQ(QStringFromBstr(text.bstrVal), QStringLiteral("41"));
    EXPECT_EQ(text.ChangeType(VT_DISPATCH), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(QStringFromBstr(text.bstrVal), QStringLiteral("41"));

    double number = 6.5;
    CComVariant ref = CComVariant::ByRef(&number);
    CComVariant converted;
    ASSERT_EQ(VariantChangeType(&converted, &ref, 0, VT_I4), S_OK);
    EXPECT_EQ(converted.lVal, 6);
    EXPECT_EQ(number, 6.5);

    CComPtr<CCountedObject> object = MakeCounted();
    const ULONG base = RefCount(object.Get());
    {
        CComVariant unknown(static_cast<IUnknown*>(static_cast<IDispatch*>(object.Get())));
        CComVariant dispatch;
        ASSERT_EQ(VariantChangeType(&dispatch, &unknown, 0, VT_DISPATCH), S_OK);
        EXPECT_EQ(dispatch.pdispVal, static_cast<IDispatch*>(object.Get()));
        EXPECT_EQ(RefCount(object.Get()), base + 2);
    }
    EXPECT_EQ(RefCount(object.Get()), base);
}

TEST(SafeArrayTest, VectorBoundsElementsAndErrors) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 1, 3);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(SafeArrayGetDim(array), 1u);
    EXPECT_EQ(SafeArrayGetElemsize(array), 4u);
    VARTYPE vt = VT_EMPTY;
    EXPECT_EQ(SafeArrayGetVartype(array, &vt), S_OK);
    EXPECT_EQ(vt, VT_I4);
    LONG lower = 0;
    LONG upper = 0;
    EXPECT_EQ(SafeArrayGetLBound(array, 1, &lower), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(array, 1, &upper), S_OK);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 3);
    EXPECT_EQ(SafeArrayGetLBound(array, 0, &lower), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayGetUBound(array, 2, &upper), DISP_E_BADINDEX);

    for (LONG i = 1; i <= 3; ++i) {
        const LONG value = i * 10;
        EXPECT_EQ(SafeArrayPutElement(array, &i, &value), S_OK);
    }
    const LONG value = 0;
    for (LONG outside : {0, 4, -1}) {
        EXPECT_EQ(SafeArrayPutElement(array, &outside, &value), DISP_E_BADINDEX) << outside;
        LONG read = 0;
        EXPECT_EQ(SafeArrayGetElement(array, &outside, &read), DISP_E_BADINDEX) << outside;
    }
    LONG index = 2;
    LONG read = 0;
    EXPECT_EQ(SafeArrayGetElement(array, &index, &read), S_OK);
    EXPECT_EQ(read, 20);

    // Locked while accessed: destroying then fails and frees nothing.
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK);
    EXPECT_EQ(static_cast<LONG*>(data)[2], 30);
    EXPECT_EQ(SafeArrayDestroy(array), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayUnaccessData(array), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(array), E_UNEXPECTED);
    EXPECT_EQ(SafeArrayDestroy(array), S_OK);
    EXPECT_EQ(SafeArrayDestroy(nullptr), S_OK);
}

TEST(SafeArrayTest, TwoDimensionsRunFirstIndexFastest) {
    const SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 1}};  // rows 0..1, columns 1..3
    SAFEARRAY* array = SafeArrayCreate(VT_R8, 2, bounds);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(SafeArrayGetElementCount(array), 6u);
    for (LONG r = 0; r < 2; ++r) {
        for (LONG c = 1; c <= 3; ++c) {
            const LONG indices[2] = {r, c};
            const double value = r * 10 + c;
            ASSERT_EQ(SafeArrayPutElement(array, indices, &value), S_OK);
        }
    }
    const LONG outside[2] = {1, 0};
    double value = 0;
    EXPECT_EQ(SafeArrayPutElement(array, outside, &value), DISP_E_BADINDEX);
    LONG upper = 0;
    EXPECT_EQ(SafeArrayGetUBound(array, 2, &upper), S_OK);
    EXPECT_EQ(upper, 3);

    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK);
    const double expected[6] = {1, 11, 2, 12, 3, 13};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(static_cast<double*>(data)[i], expected[i]) << i;
    SafeArrayUnaccessData(array);

    SAFEARRAY* copy = nullptr;
    ASSERT_EQ(SafeArrayCopy(array, &copy), S_OK);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->pvData, array->pvData);
    const LONG at[2] = {1, 3};
    EXPECT_EQ(SafeArrayGetElement(copy, at, &value), S_OK);
    EXPECT_EQ(value, 13);
    EXPECT_EQ(SafeArrayDestroy(copy), S_OK);
    EXPECT_EQ(SafeArrayDestroy(array), S_OK);
}

TEST(SafeArrayTest, RefusedShapesAndTypes) {
    const SAFEARRAYBOUND one{4, 0};
    const SAFEARRAYBOUND three[3] = {{1, 0}, {1, 0}, {1, 0}};
    const SAFEARRAYBOUND huge[2] = {{0x10000, 0}, {0x10000, 0}};
    EXPECT_EQ(SafeArrayCreate(VT_BSTR, 1, &one), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_DISPATCH, 1, &one), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_I4, 0, &one), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_I4, 3, three), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_R8, 2, huge), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_I4, 1, nullptr), nullptr);

    SAFEARRAY* empty = SafeArrayCreateVector(VT_UI1, 0, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SafeArrayGetElementCount(empty), 0u);
    LONG upper = 0;
    EXPECT_EQ(SafeArrayGetUBound(empty, 1, &upper), S_OK);
    EXPECT_EQ(upper, -1);
    SAFEARRAY* copy = nullptr;
    EXPECT_EQ(SafeArrayCopy(empty, &copy), S_OK);
    SafeArrayDestroy(copy);
    SafeArrayDestroy(empty);
}

TEST(SafeArrayTest, VariantOwnsItsArray) {
    SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, 16);
    ASSERT_NE(bytes, nullptr);
    CComVariant held = CComVariant::FromArray(bytes);
    EXPECT_EQ(held.vt, VT_ARRAY | VT_UI1);
    CComVariant copy = held;
    EXPECT_NE(copy.parray, held.parray);
    EXPECT_EQ(SafeArrayGetElementCount(copy.parray), 16u);

    // A locked array is not destroyed by clearing its VARIANT.
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(copy.parray, &data), S_OK);
    EXPECT_EQ(copy.Clear(), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(copy.vt, VT_ARRAY | VT_UI1);
    SafeArrayUnaccessData(copy.parray);
    EXPECT_EQ(copy.Clear(), S_OK);
}

}  // namespace
