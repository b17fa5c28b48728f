#include "frames/SaveDocCallback.h"

HRESULT CSaveDocCallback::OnFileSaved(const QString& path, int tag) {
    if (!m_doc)
        return E_POINTER;
    m_doc->OnSavedFile(path, tag, 0, 0, 0);
    return S_OK;
}
