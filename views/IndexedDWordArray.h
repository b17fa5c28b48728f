#pragma once

// CIndexedDWordArray: the feature-tracking set's indexed store of values, growing on demand,
// with a delegate for the two passed-on operations. Never throws on its own.

#include "platform/framework/IIndexedValues.h"

#include <vector>

class CIndexedDWordArray : public IIndexedValues {
public:
    CIndexedDWordArray() = default;
    virtual ~CIndexedDWordArray() = default;
    CIndexedDWordArray(const CIndexedDWordArray&) = delete;
    CIndexedDWordArray& operator=(const CIndexedDWordArray&) = delete;

    HRESULT SetDelegate(IIndexedValuesDelegate* pDelegate) override;
    HRESULT DelegateFirst(intptr_t value) override;
    HRESULT SetAt(int index, intptr_t value) override;
    HRESULT GetAt(int index, intptr_t* value) override;
    HRESULT DelegateSecond(intptr_t argument, intptr_t* value) override;

    int GetCount() const { return static_cast<int>(m_values.size()); }

private:
    IIndexedValuesDelegate* m_pDelegate = nullptr;
    std::vector<intptr_t> m_values;
};
