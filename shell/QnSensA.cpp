#include "shell/QnSensA.h"

#include "platform/controls/SensorDisplayControl.h"

IMPLEMENT_DYNCREATE(CQnSensA, COutsideControlWnd)

CLSID CQnSensA::GetClsid() const {
    return CSensorDisplayControl::kClsid;
}

HRESULT CQnSensA::Method1(const CComVariant& argument, LONG* answer) {
    return CallLongMethod(1, {argument}, answer);
}

HRESULT CQnSensA::Method9(const CComVariant& argument, LONG* answer) {
    return CallLongMethod(9, {argument}, answer);
}
