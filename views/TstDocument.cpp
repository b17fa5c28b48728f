#include "views/TstDocument.h"

IMPLEMENT_DYNCREATE(CTstDocument, CDocument)
