#include "lutcontrol/LevoraSkeletonCtrl.h"

#include "lutcontrol/LevoraIds.h"
#include "platform/com/DispArgs.h"
#include "platform/framework/IPrompter.h"

HRESULT CLevoraSkeletonCtrl::Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT*,
                                    EXCEPINFO*, UINT* argErr) {
    if (member != levora::kDispAboutBox || !(flags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;
    const HRESULT hr = CDispArgs(params, argErr).Expect(0);
    if (FAILED(hr))
        return hr;
    MessageBoxPrompt about;
    about.text = m_name + QStringLiteral(" Control\nVersion 1.0");
    about.caption = QStringLiteral("About ") + m_name;
    about.type = MB_OK | MB_ICONINFORMATION;
    AfxPrompter().MessageBox(about);
    return S_OK;
}

HRESULT CreateLevora2Ctrl(REFIID iid, void** object) {
    return CreateComObject<CLevoraSkeletonCtrl>(iid, object, QStringLiteral("Levora2"));
}

HRESULT CreateLevora3Ctrl(REFIID iid, void** object) {
    return CreateComObject<CLevoraSkeletonCtrl>(iid, object, QStringLiteral("Levora3"));
}
