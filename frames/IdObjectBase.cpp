#include "frames/IdObjectBase.h"

HRESULT CIdObjectBase::SetOuter(IIdUnknown* outer) {
    m_outer = outer;
    return S_OK;
}

HRESULT CIdObjectBase::QueryOuter(int id, void** out) {
    if (!out)
        return E_POINTER;
    if (!m_outer)
        return E_FAIL;
    m_outer->QueryInterfaceById(id, out);
    return S_OK;
}

bool CIdObjectBase::AnswerCommonQuery(int id, void** out, HRESULT* result) {
    if (QueryOuter(id, out) == S_OK) {
        *result = S_OK;
        return true;
    }
    if (!out) {
        *result = E_POINTER;
        return true;
    }
    if (id == kIdUnknown) {
        *out = static_cast<IIdUnknown*>(this);
        *result = S_OK;
        return true;
    }
    return false;
}
