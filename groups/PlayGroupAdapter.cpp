#include "groups/PlayGroupAdapter.h"

#include "frames/Notifier.h"
#include "groups/MeasurementFormDoc.h"
#include "platform/framework/FrameWnd.h"

CPlayGroupAdapter::CPlayGroupAdapter(CMeasurementFormDoc* document)
    : m_document(document), m_notifier(std::make_unique<CNotifier>()) {
    m_notifier->SetOuter(static_cast<IIdUnknown*>(this));
}

CPlayGroupAdapter::~CPlayGroupAdapter() {
    // The notifier asks its outer while it disconnects: it must go while this still answers.
    m_notifier.reset();
}

HRESULT CPlayGroupAdapter::QueryInterfaceById(int id, void** out) {
    HRESULT result = E_FAIL;
    if (AnswerCommonQuery(id, out, &result))
        return result;
    if (id == kIdPlayGroup) {
        *out = static_cast<IPlayGroup*>(this);
        return S_OK;
    }
    if (id == kIdNotifier) {
        *out = static_cast<INotifier*>(m_notifier.get());
        return S_OK;
    }
    return E_FAIL;
}

HRESULT CPlayGroupAdapter::CloseAllPlaybacks() {
    if (!m_document)
        return E_POINTER;
    m_document->CloseAllPlaybacks();
    return S_OK;
}

HRESULT CPlayGroupAdapter::CloseLatestRecordingPlaybacks() {
    if (!m_document)
        return E_POINTER;
    m_document->CloseLatestRecordingPlaybacks();
    return S_OK;
}

HRESULT CPlayGroupAdapter::PlaceMemberWindow(int, int deviceHandle, int left, int top, int right,
                                             int bottom) {
    if (!m_document)
        return E_FAIL;
    CFrameWnd* frame = m_document->FindDevicePlaybackFrame(deviceHandle);
    if (!frame)
        return S_OK;
    const int width = right - left;
    const int height = bottom - top;
    frame->ShowWindow(SW_RESTORE);
    frame->SendMessage(WM_SIZE, 0, MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height)));
    frame->SetWindowPos(nullptr, left, top, width, height, SWP_NOZORDER);
    return S_OK;
}
