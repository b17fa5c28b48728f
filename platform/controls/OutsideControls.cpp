#include "platform/controls/OutsideControls.h"

#include "platform/com/ComCreate.h"
#include "platform/controls/ActiveAreaControl.h"
#include "platform/controls/SensorDisplayControl.h"
#include "platform/controls/SlideControl.h"

HRESULT CreateOutsideControl(REFCLSID clsid, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (clsid == CSlideControl::kClsid)
        return CreateSlideControl(iid, object);
    if (clsid == CActiveAreaControl::kClsid)
        return CreateActiveAreaControl(iid, object);
    if (clsid == CSensorDisplayControl::kClsid)
        return CreateSensorDisplayControl(iid, object);
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object);
}
