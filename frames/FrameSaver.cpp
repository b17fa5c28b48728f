#include "frames/FrameSaver.h"

HRESULT CFrameSaver::GetFilter(QString* filter) const {
    if (!filter)
        return E_POINTER;
    *filter = m_filter;
    return S_OK;
}
