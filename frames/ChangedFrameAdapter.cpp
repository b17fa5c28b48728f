#include "frames/ChangedFrameAdapter.h"

CChangedFrameAdapter::CChangedFrameAdapter() : m_notifier(MakeNotifier()) {}

CChangedFrameAdapter::~CChangedFrameAdapter() {
    // Disconnects the notifier while the adapter still answers for it.
    m_notifier.reset();
}

std::unique_ptr<CNotifier> CChangedFrameAdapter::MakeNotifier() {
    auto notifier = std::make_unique<CNotifier>();
    notifier->SetOuter(static_cast<IIdUnknown*>(this));
    return notifier;
}

bool CChangedFrameAdapter::AnswerOwnId(int, void**) {
    return false;
}

HRESULT CChangedFrameAdapter::QueryInterfaceById(int id, void** out) {
    HRESULT result = E_FAIL;
    if (AnswerCommonQuery(id, out, &result))
        return result;
    if (id == kIdFrameChangeListener) {
        *out = static_cast<IFrameChangeListener*>(this);
        return S_OK;
    }
    if (id == kIdNotifier && m_notifier) {
        *out = static_cast<INotifier*>(m_notifier.get());
        return S_OK;
    }
    return AnswerOwnId(id, out) ? S_OK : E_FAIL;
}
