#include "shell/SlideEventLink.h"

#include "platform/com/ComObject.h"
#include "platform/com/ComVariant.h"
#include "platform/controls/SlideControl.h"
#include "shell/OutsideControlWnd.h"

class CSlideEventLink::Sink : public CComObject<IDispatch> {
public:
    explicit Sink(Handler handler) : m_handler(std::move(handler)) {}
    void CutOff() { m_handler = nullptr; }

    HRESULT Invoke(DISPID member, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        if (!m_handler)
            return S_OK;
        int pointer = 0;
        double value = 0.0;
        if (member == CSlideControl::kEventValueChanged ||
            member == CSlideControl::kEventValueChanging) {
            if (!params || params->cArgs < 2)
                return DISP_E_BADPARAMCOUNT;
            // Arguments arrive last first: the pointer, then its value.
            pointer = CComVariant(params->rgvarg[1]).ToLong(0);
            value = CComVariant(params->rgvarg[0]).ToDouble(0.0);
        }
        m_handler(member, pointer, value);
        return S_OK;
    }

private:
    Handler m_handler;
};

void CSlideEventLink::Connect(COutsideControlWnd& slide, Handler handler) {
    if (m_sink || slide.IsEmpty())
        return;
    m_sink = new Sink(std::move(handler));
    m_sink->AddRef();
    m_slide = &slide;
    if (FAILED(slide.AdviseEvents(m_sink, &m_cookie)))
        m_cookie = 0;
}

void CSlideEventLink::Disconnect() {
    if (!m_sink)
        return;
    m_sink->CutOff();
    if (m_cookie)
        m_slide->UnadviseEvents(m_cookie);
    m_cookie = 0;
    m_sink->Release();
    m_sink = nullptr;
    m_slide = nullptr;
}
