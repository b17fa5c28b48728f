#pragma once

// CLevoraSkeletonCtrl: the module's two empty controls (Levora2, Levora3). They draw nothing
// and have no member but AboutBox, which names the control.

#include "platform/com/ComObject.h"
#include "platform/com/IDispatch.h"

#include <QString>

class CLevoraSkeletonCtrl : public CComObject<IDispatch> {
public:
    explicit CLevoraSkeletonCtrl(QString name) : m_name(std::move(name)) {}

    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) override;

private:
    QString m_name;
};

HRESULT CreateLevora2Ctrl(REFIID iid, void** object);
HRESULT CreateLevora3Ctrl(REFIID iid, void** object);
