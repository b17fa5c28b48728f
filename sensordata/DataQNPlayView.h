#pragma once

// CDataQNPlayView: the view of a data playback window of the second family: the graph control
// ("QNGraph") drawing the data its document's server holds, every channel that is on against
// time. Its frames are the data's scans, as in the first family; the graph's cursor marks the
// current one.

#include "platform/controls/QnGraphDlg.h"
#include "views/PlaybackView.h"

class CDataQNPlayDoc;
class CSensorDataSet;

class CDataQNPlayView : public CPlaybackView {
    DECLARE_DYNCREATE(CDataQNPlayView)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kGraphControlId = 1001;

    CDataQNPlayDoc* GetPlayDocument() const;
    CQnGraphDlg& GetGraph() { return m_graph; }

    // A negative frame counts as 0; the graph's cursor goes there.
    void SetCurrentFrame(int frame, int force) override;
    int GetFirstFrameNumber(int* first) const override;
    double GetFrameRate() const override;
    int GetFrameCount() const override;

    void OnInitialUpdate() override;
    // Draws the server's data anew.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;

protected:
    void OnSize(UINT nType, int cx, int cy);

private:
    CSensorDataSet* ServerData() const;

    CQnGraphDlg m_graph;
};
