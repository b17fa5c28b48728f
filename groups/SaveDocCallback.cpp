#include "groups/SaveDocCallback.h"

#include "groups/MeasurementFormDoc.h"

HRESULT CSaveDocCallback::OnFileSaved(const QString& path, int tag) {
    if (!m_group)
        return E_POINTER;
    m_group->AddPlaybackFromFile(path, tag, 0, nullptr, nullptr);
    return S_OK;
}
