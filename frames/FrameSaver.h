#pragma once

// CFrameSaver: writes the frames of a frame source in one kind of output, named by its
// file-type filter ("AVI File (*.avi)|*.avi|").

#include "frames/SaveVideoParams.h"
#include "platform/framework/Wnd.h"

class CFrameSource;

class CFrameSaver : public CWnd {
public:
    // The source stays the caller's.
    CFrameSaver(CFrameSource* source, const QString& filter) : m_source(source), m_filter(filter) {}

    // S_OK with the filter in *filter; E_POINTER for a null out.
    HRESULT GetFilter(QString* filter) const;
    virtual HRESULT Save(CSaveVideoParams* params) = 0;

protected:
    CFrameSource* m_source;
    QString m_filter;
};
