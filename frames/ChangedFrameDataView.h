#pragma once

// CChangedFrameDataView: the listener adapter of a data-file playback view. A frame change is
// posted to the view's window as a notice; the view then reads its playback position itself.

#include "frames/ChangedFrameAdapter.h"

class CWnd;

class CChangedFrameDataView : public CChangedFrameAdapter {
public:
    // view: the data view's window (not owned; null: every change gives E_POINTER).
    explicit CChangedFrameDataView(CWnd* view);

    // E_POINTER without a view; otherwise posts kMsgDataFrameChanged (0, 0) to it.
    HRESULT OnFrameChanged(int frame, int flag) override;

private:
    CWnd* m_view;
};
