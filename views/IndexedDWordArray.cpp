#include "views/IndexedDWordArray.h"

#include <cstddef>

HRESULT CIndexedDWordArray::SetDelegate(IIndexedValuesDelegate* pDelegate) {
    m_pDelegate = pDelegate;
    return S_OK;
}

HRESULT CIndexedDWordArray::DelegateFirst(intptr_t value) {
    if (!m_pDelegate)
        return E_FAIL;
    return m_pDelegate->First(value);
}

HRESULT CIndexedDWordArray::SetAt(int index, intptr_t value) {
    if (index < 0)
        return E_FAIL;
    if (static_cast<std::size_t>(index) >= m_values.size())
        m_values.resize(static_cast<std::size_t>(index) + 1, 0);
    m_values[static_cast<std::size_t>(index)] = value;
    return S_OK;
}

HRESULT CIndexedDWordArray::GetAt(int index, intptr_t* value) {
    if (index < 0 || index >= GetCount()) {
        if (value)
            *value = -1;
        return E_FAIL;
    }
    if (!value)
        return E_FAIL;
    *value = m_values[static_cast<std::size_t>(index)];
    return S_OK;
}

HRESULT CIndexedDWordArray::DelegateSecond(intptr_t argument, intptr_t* value) {
    if (!m_pDelegate) {
        if (value)
            *value = 0;
        return E_FAIL;
    }
    return m_pDelegate->Second(argument, value);
}
