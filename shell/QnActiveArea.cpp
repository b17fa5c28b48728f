#include "shell/QnActiveArea.h"

#include "platform/controls/ActiveAreaControl.h"

IMPLEMENT_DYNCREATE(CQnActiveArea, COutsideControlWnd)

CLSID CQnActiveArea::GetClsid() const {
    return CActiveAreaControl::kClsid;
}

HRESULT CQnActiveArea::SetProperty(DISPID id, LONG value) {
    if (id < 2 || id > 16 || id == 6 || id == 7)
        return E_INVALIDARG;
    return PutProperty(id, CComVariant(value));
}

HRESULT CQnActiveArea::SetFlag(DISPID id, BOOL value) {
    if (id != 6 && id != 7)
        return E_INVALIDARG;
    return PutProperty(id, CComVariant(value != FALSE));
}

HRESULT CQnActiveArea::Method17() {
    return CallMethod(17, {}, nullptr);
}

HRESULT CQnActiveArea::Method18(LONG left, LONG top, LONG width, LONG height, int16_t bitsPerPixel,
                                const CSafeArrayVariant& bytes, LONG* answer) {
    return CallLongMethod(18,
                          {CComVariant(left), CComVariant(top), CComVariant(width),
                           CComVariant(height), CComVariant(bitsPerPixel), CComVariant(bytes)},
                          answer);
}
