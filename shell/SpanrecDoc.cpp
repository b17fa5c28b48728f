#include "shell/SpanrecDoc.h"

IMPLEMENT_DYNCREATE(CSpanrecDoc, CDocument)
