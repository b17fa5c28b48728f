#include "views/VidDoc.h"

IMPLEMENT_DYNCREATE(CVidDoc, CDocument)
