#include "lutcontrol/LevoraModifyCtrl.h"

#include "lutcontrol/LevoraIds.h"
#include "lutcontrol/LutEditDialog.h"
#include "lutcontrol/QnCBasicLutModifyState.h"
#include "lutcontrol/QnCBasicLutParams.h"
#include "platform/com/DispArgs.h"
#include "platform/framework/IPrompter.h"

#include <QVBoxLayout>

using namespace levora;

namespace {

void SetLongResult(VARIANT* result, LONG value) {
    if (result) {
        VariantClear(result);
        result->vt = VT_I4;
        result->lVal = value;
    }
}

// Hands a new reference to object out through slot (which may hold one of the caller's).
void HandOut(IDispatch** slot, IDispatch* object) {
    if (*slot)
        (*slot)->Release();
    *slot = object;
}

}  // namespace

CLevoraModifyCtrl::CLevoraModifyCtrl() = default;

CLevoraModifyCtrl::~CLevoraModifyCtrl() {
    m_events.UnadviseAll();
    delete m_window.data();
}

HRESULT CLevoraModifyCtrl::CreateControlWidget(QWidget* parent, int controlId, QWidget** widget) {
    if (!parent || !widget)
        return E_POINTER;
    if (m_window)
        return E_UNEXPECTED;
    m_window = new QWidget(parent);
    m_window->setObjectName(QStringLiteral("LevoraModify"));
    m_window->setProperty("controlId", controlId);
    auto* layout = new QVBoxLayout(m_window);
    layout->setContentsMargins(0, 0, 0, 0);
    m_dialog = new CLutEditDialog(m_window);
    layout->addWidget(m_dialog);
    m_window->setMinimumSize(m_dialog->minimumSize());

    m_colour.SetDefaults();
    m_bw.SetDefaults();
    m_state = LutEditState();
    m_state.callback = &CLevoraModifyCtrl::FireParamsChanged;
    m_state.context = this;
    m_dialog->SetParamsAndState(&m_colour, &m_bw, &m_state);
    m_dialog->SetEnabled(m_enabled);
    m_dialog->SetBasePath(m_basePath);
    *widget = m_window;
    return S_OK;
}

HRESULT CLevoraModifyCtrl::AdviseEvents(IDispatch* sink, DWORD* cookie) {
    return m_events.Advise(sink, cookie);
}

HRESULT CLevoraModifyCtrl::UnadviseEvents(DWORD cookie) {
    return m_events.Unadvise(cookie);
}

LONG CLevoraModifyCtrl::FireParamsChanged(void* context) {
    auto* control = static_cast<CLevoraModifyCtrl*>(context);
    if (!control->m_dialog)
        return 0;
    // The control stays alive through the delivery even when a sink releases it.
    control->AddRef();
    control->m_events.Fire(kEventParamsChanged);
    control->Release();
    return 0;
}

LONG CLevoraModifyCtrl::GetParamsLutsAndState(IDispatch** colour, IDispatch** bw,
                                              IDispatch** state) {
    // Every slot given is emptied first, so that no failure leaves a caller's stale pointer.
    for (IDispatch** slot : {colour, bw, state}) {
        if (slot)
            HandOut(slot, nullptr);
    }
    if (!colour || !bw || !state)
        return E_POINTER;
    if (m_dialog)
        m_dialog->GetParamsAndState(&m_colour, &m_bw, &m_state);
    IDispatch* made[3] = {};
    HRESULT hr = MakeObject(Handed::Colour, &made[0]);
    if (SUCCEEDED(hr))
        hr = MakeObject(Handed::Bw, &made[1]);
    if (SUCCEEDED(hr))
        hr = MakeObject(Handed::State, &made[2]);
    if (FAILED(hr)) {
        for (IDispatch* object : made) {
            if (object)
                object->Release();
        }
        return hr;
    }
    *colour = made[0];
    *bw = made[1];
    *state = made[2];
    return 0;
}

HRESULT CLevoraModifyCtrl::MakeObject(Handed which, IDispatch** object) {
    void** out = reinterpret_cast<void**>(object);
    switch (which) {
        case Handed::Colour:
            return CreateComObject<CQnCBasicLutParams>(IID_IDispatch, out, m_colour);
        case Handed::Bw:
            return CreateComObject<CQnCBasicLutParams>(IID_IDispatch, out, m_bw);
        case Handed::State:
            return CreateComObject<CQnCBasicLutModifyState>(IID_IDispatch, out, m_state);
    }
    return E_INVALIDARG;
}

LONG CLevoraModifyCtrl::SetParamsLutsAndState(IDispatch* colour, IDispatch* bw, IDispatch* state) {
    if (!colour || !bw || !state)
        return E_POINTER;
    CQnCBasicLutParams colourCopy;
    CQnCBasicLutParams bwCopy;
    CQnCBasicLutModifyState stateCopy;
    // A parameter object that cannot be read leaves its copy at the defaults.
    colourCopy.BLPSet(colour);
    bwCopy.BLPSet(bw);
    stateCopy.BLMSSet(state);
    m_colour = colourCopy.Set();
    m_bw = bwCopy.Set();
    m_state.CopyFlags(stateCopy.State());
    if (m_dialog)
        m_dialog->SetParamsAndState(&m_colour, &m_bw, &m_state);
    return 0;
}

HRESULT CLevoraModifyCtrl::Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO*, UINT* argErr) {
    CDispArgs args(params, argErr);
    const bool isMethod = flags & DISPATCH_METHOD;
    HRESULT hr = S_OK;
    switch (member) {
        case kDispParams:
        case kDispParamsBW:
        case kDispModifyState:
            if (flags & DISPATCH_PROPERTYGET) {
                if (FAILED(hr = args.Expect(0)))
                    return hr;
                if (result) {
                    VariantClear(result);
                    result->vt = VT_DISPATCH;
                    result->pdispVal = nullptr;
                }
                return S_OK;
            }
            if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
                if (FAILED(hr = args.Expect(1)))
                    return hr;
                m_modified = true;
                return S_OK;
            }
            return DISP_E_MEMBERNOTFOUND;
        default:
            break;
    }
    if (!isMethod)
        return DISP_E_MEMBERNOTFOUND;

    LONG code = 0;
    switch (member) {
        case kDispGetParamsLutsAndState: {
            IDispatch** outs[3] = {};
            if (FAILED(hr = args.Expect(3)))
                return hr;
            for (UINT i = 0; i < 3; ++i) {
                if (FAILED(hr = args.GetDispatchRef(i, &outs[i])))
                    return hr;
            }
            code = GetParamsLutsAndState(outs[0], outs[1], outs[2]);
            break;
        }
        case kDispSetParamsLutsAndState: {
            IDispatch* objects[3] = {};
            if (FAILED(hr = args.Expect(3)))
                return hr;
            for (UINT i = 0; i < 3; ++i) {
                if (FAILED(hr = args.GetDispatch(i, &objects[i])))
                    return hr;
            }
            code = SetParamsLutsAndState(objects[0], objects[1], objects[2]);
            break;
        }
        case kDispSaveToFile:
        case kDispLoadFromFile:
        case kDispGetDefaultFileExtension:
            if (FAILED(hr = args.Expect(1)))
                return hr;
            break;
        case kDispSetBasePathAndFileName: {
            QString path;
            if (FAILED(hr = args.Expect(1)) || FAILED(hr = args.GetString(0, &path)))
                return hr;
            m_basePath = path;
            if (m_dialog)
                m_dialog->SetBasePath(path);
            break;
        }
        case kDispSetEnabled: {
            LONG enable = 0;
            if (FAILED(hr = args.Expect(1)) || FAILED(hr = args.GetLong(0, &enable)))
                return hr;
            m_enabled = enable != 0;
            if (m_dialog)
                m_dialog->SetEnabled(m_enabled);
            break;
        }
        case kDispGetEnabled: {
            LONG* enabled = nullptr;
            if (FAILED(hr = args.Expect(1)) || FAILED(hr = args.GetLongRef(0, &enabled)))
                return hr;
            if (!enabled) {
                code = E_POINTER;
                break;
            }
            *enabled = (m_dialog ? m_dialog->GetEnabled() : m_enabled) ? 1 : 0;
            break;
        }
        case kDispAboutBox: {
            if (FAILED(hr = args.Expect(0)))
                return hr;
            MessageBoxPrompt about;
            about.text = QStringLiteral("LevoraModify Control\nVersion 1.0");
            about.caption = QStringLiteral("About LevoraModify");
            about.type = MB_OK | MB_ICONINFORMATION;
            about.owner = m_window;
            AfxPrompter().MessageBox(about);
            return S_OK;
        }
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
    SetLongResult(result, code);
    return S_OK;
}

HRESULT CreateLevoraModifyCtrl(REFIID iid, void** object) {
    return CreateComObject<CLevoraModifyCtrl>(iid, object);
}
