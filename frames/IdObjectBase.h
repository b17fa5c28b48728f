#pragma once

// CIdObjectBase: the common base of every concrete object of the id layer. It keeps the
// optional outer object that answers queries for an aggregated object, and the query rule.

#include "frames/IIdUnknown.h"

class CIdObjectBase : public virtual IIdUnknown {
public:
    // Queries go to outer from now on (null: the object answers for itself). Not owned.
    HRESULT SetOuter(IIdUnknown* outer);
    // E_POINTER for a null out, E_FAIL without an outer; otherwise asks the outer and returns
    // S_OK whatever it answered.
    HRESULT QueryOuter(int id, void** out);

protected:
    // The shared steps of every QueryInterfaceById: the outer first, then the out-pointer
    // check, then id 1. True when the query is settled, with the result in *result.
    bool AnswerCommonQuery(int id, void** out, HRESULT* result);

private:
    IIdUnknown* m_outer = nullptr;
};
