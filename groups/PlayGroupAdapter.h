#pragma once

// CPlayGroupAdapter: a play group's entry in the integer-id object model (id 12), through which
// record control and projects reach the group without knowing its document. It also owns the
// group's notifier (id 4), aggregated so that queries on the notifier come back here.

#include "frames/IdObjectBase.h"
#include "groups/IPlayGroup.h"

#include <memory>

class CMeasurementFormDoc;
class CNotifier;

class CPlayGroupAdapter : public CIdObjectBase, public IPlayGroup {
public:
    // document is not owned and may be null.
    explicit CPlayGroupAdapter(CMeasurementFormDoc* document);
    ~CPlayGroupAdapter() override;
    CPlayGroupAdapter(const CPlayGroupAdapter&) = delete;
    CPlayGroupAdapter& operator=(const CPlayGroupAdapter&) = delete;

    // The outer object first; then 1 the root, 12 the play-group interface, 4 the notifier.
    HRESULT QueryInterfaceById(int id, void** out) override;
    HRESULT CloseAllPlaybacks() override;
    HRESULT CloseLatestRecordingPlaybacks() override;
    HRESULT PlaceMemberWindow(int ignored, int deviceHandle, int left, int top, int right,
                              int bottom) override;

    CMeasurementFormDoc* GetDocument() const { return m_document; }
    // Cuts the adapter off its document, which is going.
    void DetachDocument() { m_document = nullptr; }

private:
    CMeasurementFormDoc* m_document;
    std::unique_ptr<CNotifier> m_notifier;
};
