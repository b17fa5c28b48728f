#include "tracking/PlayDataCallback.h"

#include "frames/FrameSource.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "tracking/TrackFeatureSet.h"
#include "tracking/VideoAnalysis.h"
#include "views/IMeasurementPointHost.h"
#include "views/VidView.h"

#include <cmath>
#include <vector>

CPlayDataCallback::CPlayDataCallback(CMeasurementFormDoc* doc, CMeasurementView* view)
    : m_doc(doc), m_view(view) {}

void CPlayDataCallback::FindTrackSetForActiveView(IMeasurementPointHost** view,
                                                  CTrackFeatureSet** set) const {
    IMeasurementPointHost* host = nullptr;
    CTrackFeatureSet* tracks = nullptr;
    auto* video = m_view ? dynamic_cast<CVidView*>(m_view->GetActivePlaybackView()) : nullptr;
    if (video) {
        host = dynamic_cast<IMeasurementPointHost*>(video);
        const CFrameSourcePtr source = video->GetFrameSource();
        unsigned id = 0;
        if (!source.IsEmpty())
            source->GetSourceId(&id);
        const int index =
            m_doc && !source.IsEmpty() ? m_doc->FindVideoBySourceId(static_cast<int>(id)) : -1;
        if (video->GetSourceType() == CPlaybackView::kVideoMember && video->GetSourceKind() == 0 &&
            index >= 0 && index < m_doc->GetVideoAnalysisCount()) {
            if (auto* analysis = dynamic_cast<CVideoAnalysis*>(m_doc->GetVideoAnalysis(index)))
                tracks = &analysis->GetFeatureSet();
        }
    }
    if (view)
        *view = host;
    if (set)
        *set = tracks;
}

HRESULT CPlayDataCallback::PullTrackPoints(bool* changed) {
    IMeasurementPointHost* view = nullptr;
    CTrackFeatureSet* set = nullptr;
    FindTrackSetForActiveView(&view, &set);
    if (!set)
        return Pull(view, set, changed, nullptr);
    m_pulledFrom = set;
    return Pull(view, set, changed, &m_pulled);
}

HRESULT CPlayDataCallback::PushMeasurementPointsToTracks() {
    IMeasurementPointHost* view = nullptr;
    CTrackFeatureSet* set = nullptr;
    FindTrackSetForActiveView(&view, &set);
    // Points pulled from another recording's set say nothing about this one.
    PulledPoints none;
    return Push(view, set, set == m_pulledFrom ? &m_pulled : &none);
}

HRESULT CPlayDataCallback::Pull(IMeasurementPointHost* view, CTrackFeatureSet* set, bool* changed,
                                PulledPoints* pulled) {
    if (!set)
        return S_OK;
    if (pulled)
        pulled->clear();
    int features = 0;
    set->GetFeatureCount(&features);
    const int points = set->GetFrameListCount();
    bool any = false;
    for (int f = 0; f < features; ++f) {
        bool exists = false;
        CTrackFeature record;
        set->GetFeature(f, &exists, &record);
        LONG shown = 0;
        record.GetFlag1(&shown);
        if (!exists || shown == 0 || points <= 0)
            continue;
        for (int p = 0; p < points; ++p) {
            bool valid = false;
            CTrackPoint point;
            set->GetPoint(p, f, &valid, &point);
            if (!valid)
                continue;
            double x = 0;
            double y = 0;
            point.GetPosition(&x, &y);
            if (view)
                view->AddMeasurementPoint(x * 0.1, y * 0.1, p, f, record);
            if (pulled)
                (*pulled)[{p, f}] = {x * 0.1, y * 0.1};
            any = true;
        }
    }
    if (changed)
        *changed = any;
    return S_OK;
}

HRESULT CPlayDataCallback::Push(IMeasurementPointHost* view, CTrackFeatureSet* set,
                                PulledPoints* pulled) {
    if (!set || !pulled)
        return E_FAIL;
    int autoNext = 0;
    int wrap = 0;
    set->GetAdvanceModes(&autoNext, &wrap);
    set->SetAdvanceModes(0, 0);
    std::vector<MeasurementPointEntry> entries;
    if (view)
        view->GetMeasurementPoints(&entries);
    for (const MeasurementPointEntry& entry : entries) {
        if (entry.feature < 0)
            continue;
        const auto shown = pulled->find({entry.frame, entry.feature});
        if (shown == pulled->end() ||
            (shown->second.first == entry.x && shown->second.second == entry.y))
            continue;
        shown->second = {entry.x, entry.y};
        bool valid = false;
        CTrackPoint point;
        set->GetPoint(entry.frame, entry.feature, &valid, &point);
        CTrackRegion region;
        set->GetRegion(entry.frame, entry.feature, nullptr, &region);
        if (!valid)
            continue;
        double l = 0, t = 0, r = 0, b = 0;
        region.GetRect(&l, &t, &r, &b);
        // The inverse of the pull's factor 0.1, so that an unmoved point keeps its position.
        const int x10 = static_cast<int>(std::lround(entry.x * 10.0));
        const int y10 = static_cast<int>(std::lround(entry.y * 10.0));
        set->MovePoint(entry.frame, entry.feature, x10, y10,
                       CRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r),
                             static_cast<int>(b)));
    }
    set->SetAdvanceModes(autoNext, wrap);
    return S_OK;
}
