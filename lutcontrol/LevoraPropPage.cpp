#include "lutcontrol/LevoraPropPage.h"

HRESULT CreateLevoraPropPage(REFIID iid, void** object) {
    return CreateComObject<CLevoraPropPage>(iid, object);
}
