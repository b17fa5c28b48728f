#pragma once

// CFrameWindowAdapter: a document's frame-window adapter. It shows frame sources in video
// windows and data sets in data windows of its document, finds such a window again, brings it
// to the front and closes it. The play group and the record controller each have one
// (CMeasFrameAdapter, CRecordFrameAdapter); the document answers what the adapter asks of it.
// Made by the document with itself; the document outlives it.

#include "frames/IFrameWindowAdapter.h"
#include "frames/IMeasFrameDoc.h"

class CFrameWindowAdapter : public IFrameWindowAdapter {
public:
    // document: not owned (null: ShowVideo gives E_FAIL and nothing is found).
    explicit CFrameWindowAdapter(IMeasFrameDoc* document) : m_document(document) {}
    virtual ~CFrameWindowAdapter() = default;

    // A new window is a group member of type 3 (video) with source kind 2; with the document's
    // frame-changed callback it is notified once and learns the source's frame count.
    HRESULT ShowVideo(const CFrameSourcePtr& source, const QString& title) override;
    // A new data window gets title and the data set; its view's listener adapter is reported.
    HRESULT ShowData(const CSharedRef<CSensorDataSet>& data, const QString& title,
                     IIdUnknown** listener) override;
    HRESULT CloseVideo(const CFrameSourcePtr& source) override;
    HRESULT CloseData(const CSharedRef<CSensorDataSet>& data) override;
    // Looks at each frame among the document window's children through its video view (active
    // view, else pane view), which must show a source with the same source id.
    HRESULT FindVideoWindow(const CFrameSourcePtr& source, CFrameWnd** out) override;
    // The same for a data view showing a data set with the same data id.
    HRESULT FindDataWindow(const CSharedRef<CSensorDataSet>& data, CFrameWnd** out);

private:
    IMeasFrameDoc* m_document;
};
