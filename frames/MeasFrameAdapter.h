#pragma once

// CMeasFrameAdapter: the play group's frame-window adapter. It shows frame sources in video
// windows and data sets in data windows of the group, finds such a window again, brings it to
// the front and closes it.
// Made by the play-group document with itself; the document outlives it.

#include "frames/IFrameWindowAdapter.h"
#include "frames/IMeasFrameDoc.h"

class CMeasFrameAdapter : public IFrameWindowAdapter {
public:
    // document: not owned (null: ShowVideo gives E_FAIL and nothing is found).
    explicit CMeasFrameAdapter(IMeasFrameDoc* document) : m_document(document) {}
    virtual ~CMeasFrameAdapter() = default;

    // A new window is a group member of type 3 (video) with source kind 2; with the group's
    // frame-changed callback it is notified once and learns the source's frame count.
    HRESULT ShowVideo(const CFrameSourcePtr& source, const QString& title) override;
    // A new data window gets title and the data set; its view's listener adapter is reported.
    HRESULT ShowData(const CSharedRef<CSensorDataSet>& data, const QString& title,
                     IIdUnknown** listener) override;
    HRESULT CloseVideo(const CFrameSourcePtr& source) override;
    HRESULT CloseData(const CSharedRef<CSensorDataSet>& data) override;
    // Looks at each frame among the group window's children through its video view (active
    // view, else pane view), which must show a source with the same source id.
    HRESULT FindVideoWindow(const CFrameSourcePtr& source, CFrameWnd** out) override;
    // The same for a data view showing a data set with the same data id.
    HRESULT FindDataWindow(const CSharedRef<CSensorDataSet>& data, CFrameWnd** out);

private:
    IMeasFrameDoc* m_document;
};
