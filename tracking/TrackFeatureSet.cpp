#include "tracking/TrackFeatureSet.h"

#include "frames/Dib.h"
#include "frames/lutparams/LutParamSet.h"
#include "platform/framework/File.h"
#include "platform/framework/FileException.h"
#include "platform/framework/IPrompter.h"
#include "tracking/FeatureTracker.h"
#include "tracking/IPositionSource.h"
#include "tracking/ITrackFrameSource.h"
#include "tracking/ITrackerFrameSource.h"
#include "tracking/MImage.h"
#include "tracking/sectioned/CheckedFile.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct Rgb {
    int red;
    int green;
    int blue;
};

// The colours new features cycle through.
constexpr std::array<Rgb, 19> kFeatureColours = {{
    {255, 0, 0},     {0, 255, 0},     {0, 0, 255},     {255, 255, 0},   {255, 0, 255},
    {0, 255, 255},   {255, 218, 185}, {255, 250, 205}, {127, 200, 0},   {188, 143, 143},
    {255, 105, 180}, {205, 193, 197}, {255, 211, 155}, {112, 128, 144}, {100, 149, 237},
    {255, 228, 225}, {64, 224, 208},  {107, 142, 35},  {210, 105, 30},
}};

constexpr int kSetByUser = 1;
constexpr int kSetByRun = 2;

bool PointPresent(const CTrackPoint& point) {
    double x = 0;
    double y = 0;
    point.GetPosition(&x, &y);
    return x != 0 || y != 0;
}

bool RegionPresent(const CTrackRegion& region) {
    double l = 0, t = 0, r = 0, b = 0;
    region.GetRect(&l, &t, &r, &b);
    return l != 0 || t != 0 || r != 0 || b != 0;
}

LONG Who(const CTrackPoint& point) {
    LONG word = 0;
    point.GetWord1(&word);
    return word;
}

LONG Who(const CTrackRegion& region) {
    LONG value = 0;
    region.GetValue7(&value);
    return value;
}

CTrackSample DefaultSample() {
    CTrackSample s;
    s.SetEnabled(1);
    s.SetValue1(160.0);
    s.SetValue2(1.2);
    s.SetValue3(1.6);
    s.SetValue4(0.75);
    s.SetCount(0);
    s.SetFlag1(0);
    s.SetValue5(10.0);
    s.SetValue6(1.0);
    s.SetFlag2(0);
    s.SetFlag3(0);
    s.SetFlag4(0);
    s.SetValue7(1.0);
    s.SetFlag5(1);
    s.SetFlag6(1);
    return s;
}

int AskYesNo(const QString& text, const QString& caption) {
    MessageBoxPrompt prompt;
    prompt.text = text;
    prompt.caption = caption;
    prompt.type = MB_YESNO | MB_ICONEXCLAMATION;
    return AfxPrompter().MessageBox(prompt);
}

}  // namespace

CTrackFeatureSet::CTrackFeatureSet() {
    m_fc.SetName(QStringLiteral("FC"));
    m_fo.SetName(QStringLiteral("FO"));
    m_fr.SetName(QStringLiteral("FR"));
    m_ts.SetName(QStringLiteral("TS"));
}

CTrackFeatureSet::~CTrackFeatureSet() {
    m_trackers.Stop();
    m_trackers.SetHost(nullptr);
}

void CTrackFeatureSet::Notify() {
    m_listener.Invalidate();
}

HRESULT CTrackFeatureSet::GetFeatureCount(int* out) const {
    if (!out)
        return E_POINTER;
    *out = m_fo.GetNumLists();
    return S_OK;
}

HRESULT CTrackFeatureSet::SetFeatureCount(int n) {
    n = std::max(n, 0);
    if (n < m_maxFeatures) {
        m_featureCount = n;
        ResizeLists(n);
    }
    Notify();
    return S_OK;
}

bool CTrackFeatureSet::IsDefined(int feature) const {
    if (!InFeatures(feature))
        return false;
    LONG defined = 0;
    m_fo.GetItem(0, feature).GetParam6(&defined);
    return defined != 0;
}

HRESULT CTrackFeatureSet::GetFeature(int i, bool* defined, CTrackFeature* out) const {
    if (!out)
        return E_POINTER;
    *out = InFeatures(i) ? m_fo.GetItem(0, i) : CTrackFeature();
    if (defined)
        *defined = IsDefined(i);
    return S_OK;
}

HRESULT CTrackFeatureSet::SetFeature(int i, bool* stored, const CTrackFeature* in) {
    if (!in)
        return E_POINTER;
    const bool inside = InFeatures(i);
    if (inside)
        m_fo.SetItem(0, i, *in);
    if (stored)
        *stored = inside;
    return inside ? S_OK : E_FAIL;
}

HRESULT CTrackFeatureSet::CopyFeaturesFrom(const CTrackFeatureSet* other) {
    if (!other)
        return E_POINTER;
    int theirs = 0;
    other->GetFeatureCount(&theirs);
    int ours = 0;
    GetFeatureCount(&ours);
    if (theirs != ours)
        ResizeLists(m_frameCount, theirs);
    for (int i = 0; i < theirs; ++i) {
        bool defined = false;
        CTrackFeature feature;
        other->GetFeature(i, &defined, &feature);
        if (defined)
            SetFeature(i, nullptr, &feature);
    }
    // The copied marks may name other features for automatic tracking than before: only the
    // auto-tracked feature keeps its mark, and whoever loses the mark loses its run results.
    const int autoTracked = AutoTrackedFeature();
    for (int i = 0; i < m_fo.GetNumLists(); ++i) {
        CTrackFeature feature = m_fo.GetItem(0, i);
        BYTE flag = 0;
        feature.GetFlag3(&flag);
        if (flag == 0 || i == autoTracked)
            continue;
        EraseRunResults(i);
        feature.SetFlag3(0);
        m_fo.SetItem(0, i, feature);
    }
    Notify();
    return S_OK;
}

HRESULT CTrackFeatureSet::AddFeature() {
    int count = 0;
    GetFeatureCount(&count);
    if (count < m_maxFeatures) {
        m_featureCount = count + 1;
        ResizeLists(count + 1);
    }
    Notify();
    return S_OK;
}

HRESULT CTrackFeatureSet::DeleteFeatures(const std::vector<BYTE>* flags) {
    if (!flags)
        return E_POINTER;
    for (int i = static_cast<int>(flags->size()) - 1; i >= 0; --i)
        if ((*flags)[static_cast<size_t>(i)] != 0)
            DeleteFeature(i);
    // The selection stays on a feature that is still there.
    m_selectedFeature = std::clamp(m_selectedFeature, 0, std::max(m_featureCount - 1, 0));
    Notify();
    return S_OK;
}

void CTrackFeatureSet::DeleteFeature(int index) {
    if (index < 0)
        return;
    if (index < m_fr.GetNumLists())
        m_fr.RemoveList(index);
    if (index < m_fc.GetNumLists())
        m_fc.RemoveList(index);
    if (index < m_fo.GetNumLists())
        m_fo.RemoveList(index);
    // The settings go with their feature, or every later feature would take its neighbour's.
    if (index < m_ts.GetNumLists())
        m_ts.RemoveList(index);
    const int counts[] = {m_fr.GetNumLists(), m_fc.GetNumLists(), m_fo.GetNumLists()};
    const int largest = *std::max_element(std::begin(counts), std::end(counts));
    ResizeLists(m_frameCount, std::min(largest, m_maxFeatures));
}

HRESULT CTrackFeatureSet::GetListener(COverlayListener** out) {
    if (!out)
        return E_POINTER;
    *out = &m_listener;
    return S_OK;
}

HRESULT CTrackFeatureSet::SetWord(int32_t word) {
    m_word = word;
    return S_OK;
}

HRESULT CTrackFeatureSet::SetFrameSource(ITrackFrameSource* source) {
    m_frameSource = source;
    return S_OK;
}

HRESULT CTrackFeatureSet::SetPositionSource(IPositionSource* source) {
    m_positionSource = source;
    return S_OK;
}

HRESULT CTrackFeatureSet::SetHost(ITrackFeatureHost* host) {
    m_host = host;
    return S_OK;
}

HRESULT CTrackFeatureSet::GetFrameSource(ITrackFrameSource** out) const {
    if (!out)
        return E_POINTER;
    *out = m_frameSource;
    return S_OK;
}

HRESULT CTrackFeatureSet::SetFeatureLimits(int maxFeatures, int initialFeatures) {
    m_maxFeatures = std::max(maxFeatures, 0);
    m_initialFeatures = std::min(initialFeatures, m_maxFeatures);
    return S_OK;
}

HRESULT CTrackFeatureSet::SetFeatureCountForRecording(int n) {
    int frames = -1;
    GetFrameCount(&frames);
    if (frames < 0)
        return E_FAIL;
    ResizeLists(frames, n);
    return S_OK;
}

void CTrackFeatureSet::ResizeLists(int count) {
    m_listsReady = false;
    int frames = -1;
    // A count that cannot be told changes nothing: the lists keep their frames and the set
    // the count it knew.
    if (!m_frameSource || m_frameSource->GetFrameCount(&frames) != S_OK || frames < 0)
        return;
    ResizeLists(frames, count);
}

void CTrackFeatureSet::ResizeLists(int frames, int count) {
    m_listsReady = false;
    // An unknown frame count (a failed query) keeps the frames the lists hold: resizing them to
    // none would drop every point and region.
    if (frames < 0)
        frames = std::max(m_fc.GetNumFrames(), m_fr.GetNumFrames());
    else
        m_frameCount = frames;
    m_featureCount = std::clamp(count, 0, std::max(m_maxFeatures, 0));
    m_fc.SetName(QStringLiteral("FC"));
    m_fr.SetName(QStringLiteral("FR"));
    m_fo.SetName(QStringLiteral("FO"));
    m_ts.SetName(QStringLiteral("TS"));
    m_fc.SetHeaderValue(0);
    m_fr.SetHeaderValue(0);
    m_fo.SetHeaderValue(0);
    m_ts.SetHeaderValue(0);
    m_fc.Resize(CSectionedList<CTrackPoint>::kPerFrame, frames, m_featureCount, CTrackPoint());
    m_fr.Resize(CSectionedList<CTrackRegion>::kPerFrame, frames, m_featureCount, CTrackRegion());
    m_fo.Resize(CSectionedList<CTrackFeature>::kFlat, 1, m_featureCount, CTrackFeature());
    m_ts.Resize(CSectionedList<CTrackSample>::kFlat, 1, m_featureCount, CTrackSample());
    GiveStartingValues();
    m_listsReady = true;
}

void CTrackFeatureSet::GiveStartingValues() {
    for (int i = 0; i < m_fo.GetNumLists(); ++i) {
        CTrackFeature feature = m_fo.GetItem(0, i);
        LONG defined = 0;
        feature.GetParam6(&defined);
        if (defined != 0)
            continue;
        const int c = m_styleCounter;
        const Rgb& colour = kFeatureColours[static_cast<size_t>(c % 19)];
        feature.SetFlag1(1);
        feature.SetParam1(c % 4);
        feature.SetParam2(3);
        feature.SetParam4(colour.red | colour.green << 8 | colour.blue << 16);
        feature.SetParam5(3);
        feature.SetParam6(1);
        feature.SetFlag3(i < m_initialFeatures ? 1 : 0);
        ++m_styleCounter;
        m_fo.SetItem(0, i, feature);
    }
    for (int i = 0; i < m_ts.GetNumLists(); ++i) {
        BYTE enabled = 0;
        m_ts.GetItem(0, i).GetEnabled(&enabled);
        if (enabled == 0)
            m_ts.SetItem(0, i, DefaultSample());
    }
}

bool CTrackFeatureSet::InPoints(int frame, int feature) const {
    return frame >= 0 && feature >= 0 && feature < m_fc.GetNumLists() &&
           frame < std::max(m_fc.GetNumFrames(), 1) && frame < std::max(m_frameCount, 1);
}

bool CTrackFeatureSet::InRegions(int frame, int feature) const {
    return frame >= 0 && feature >= 0 && feature < m_fr.GetNumLists() &&
           frame < std::max(m_fr.GetNumFrames(), 1) && frame < std::max(m_frameCount, 1);
}

HRESULT CTrackFeatureSet::GetPoint(int frame, int feature, bool* found, CTrackPoint* out) const {
    if (!out)
        return E_POINTER;
    const bool inside = InPoints(frame, feature);
    *out = inside ? m_fc.GetItem(frame, feature) : CTrackPoint();
    if (found)
        *found = inside && PointPresent(*out);
    return S_OK;
}

HRESULT CTrackFeatureSet::FindPreviousPoint(int frame, int feature, bool* found, CTrackPoint* out,
                                            int* foundFrame) const {
    if (!out)
        return E_POINTER;
    *out = CTrackPoint();
    if (found)
        *found = false;
    if (foundFrame)
        *foundFrame = -1;
    for (int f = std::min(frame, m_frameCount) - 1; f >= 0; --f) {
        bool present = false;
        CTrackPoint point;
        GetPoint(f, feature, &present, &point);
        if (present) {
            *out = point;
            if (found)
                *found = true;
            if (foundFrame)
                *foundFrame = f;
            break;
        }
    }
    return S_OK;
}

HRESULT CTrackFeatureSet::GetRegion(int frame, int feature, bool* found, CTrackRegion* out) const {
    if (!out)
        return E_POINTER;
    const bool inside = InRegions(frame, feature);
    *out = inside ? m_fr.GetItem(frame, feature) : CTrackRegion();
    if (found)
        *found = inside && RegionPresent(*out);
    return S_OK;
}

HRESULT CTrackFeatureSet::GetSample(int feature, CTrackSample* out) const {
    if (!out)
        return E_POINTER;
    *out = feature >= 0 && feature < m_ts.GetNumLists() ? m_ts.GetItem(0, feature) : CTrackSample();
    return S_OK;
}

HRESULT CTrackFeatureSet::HasPointsAt(int frame, bool* out) const {
    if (!out)
        return E_POINTER;
    *out = false;
    for (int i = 0; i < m_fc.GetNumLists() && !*out; ++i) {
        CTrackPoint point;
        GetPoint(frame, i, out, &point);
    }
    return S_OK;
}

HRESULT CTrackFeatureSet::GetFeaturesInUse(int* out) const {
    if (out)
        *out = m_featureCount;
    return S_OK;
}

HRESULT CTrackFeatureSet::GetFrameCount(int* out) const {
    if (!out)
        return E_POINTER;
    int frames = -1;
    if (!m_frameSource || m_frameSource->GetFrameCount(&frames) != S_OK)
        frames = -1;
    *out = frames;
    return S_OK;
}

HRESULT CTrackFeatureSet::GetCurrentFrame(int* out) const {
    if (!out)
        return E_POINTER;
    int frame = -1;
    if (!m_frameSource || m_frameSource->GetCurrentFrame(&frame) != S_OK)
        frame = -1;
    *out = frame;
    return S_OK;
}

HRESULT CTrackFeatureSet::GetSelectedFeature(int* out) const {
    if (!out)
        return E_POINTER;
    *out = m_selectedFeature;
    return S_OK;
}

HRESULT CTrackFeatureSet::SetSelectedFeature(int i, bool notify) {
    if (i < 0 || i >= m_featureCount)
        return S_OK;
    m_selectedFeature = i;
    if (notify && m_host)
        m_host->OnFeatureSelected(i);
    return S_OK;
}

HRESULT CTrackFeatureSet::GetSampleCount(int* out) const {
    if (!out)
        return E_POINTER;
    *out = m_ts.GetNumLists();
    return S_OK;
}

HRESULT CTrackFeatureSet::GetSampleItem(int i, bool* enabled, CTrackSample* out) const {
    if (!out)
        return E_POINTER;
    GetSample(i, out);
    BYTE flag = 0;
    out->GetEnabled(&flag);
    if (enabled)
        *enabled = flag != 0;
    return S_OK;
}

HRESULT CTrackFeatureSet::SetSampleItem(int i, bool* stored, const CTrackSample* in) {
    if (!in)
        return E_POINTER;
    const bool inside = i >= 0 && i < m_ts.GetNumLists();
    if (inside)
        m_ts.SetItem(0, i, *in);
    if (stored)
        *stored = inside;
    return inside ? S_OK : E_FAIL;
}

HRESULT CTrackFeatureSet::CopySamplesFrom(const CTrackFeatureSet* other) {
    if (!other)
        return E_POINTER;
    int theirs = 0;
    other->GetSampleCount(&theirs);
    if (theirs != m_ts.GetNumLists())
        return E_FAIL;
    for (int i = 0; i < theirs; ++i) {
        bool enabled = false;
        CTrackSample sample;
        other->GetSampleItem(i, &enabled, &sample);
        if (enabled)
            SetSampleItem(i, nullptr, &sample);
    }
    Notify();
    return S_OK;
}

bool CTrackFeatureSet::PassLockCheck(int feature) const {
    if (!IsDefined(feature))
        return true;
    BYTE editable = 1;
    m_fo.GetItem(0, feature).GetFlag2(&editable);
    if (editable != 0)
        return true;
    const QString caption = QStringLiteral("Warning: Feature %1 Locked").arg(feature + 1);
    return AskYesNo(QStringLiteral("Do you want to over ride the feature lock and perform the "
                                   "selected action?"),
                    caption) == IDYES;
}

void CTrackFeatureSet::SetItems(int frame, int feature, const CTrackPoint* point,
                                const CTrackRegion* region) {
    if (!m_toolEnabled || frame < 0 || feature < 0)
        return;
    if (point && InPoints(frame, feature))
        m_fc.SetItem(frame, feature, *point);
    if (region && InRegions(frame, feature))
        m_fr.SetItem(frame, feature, *region);
}

int CTrackFeatureSet::DisplaySettingsEntry() {
    if (!m_frameSource)
        return -1;
    CLutParamSet colour;
    CLutParamSet grey;
    if (m_frameSource->GetDisplaySettings(&colour, &grey) != S_OK)
        return -1;
    int index = -1;
    m_movieSettings.Find(&colour, &grey, &index);
    return index;
}

bool CTrackFeatureSet::RegionHasContrast(int frame, const CRect& rect) {
    ITrackerFrameSource* source = m_frameSource->GetTrackerSource();
    if (!source || !source->GoToFrame(frame))
        return true;
    const CDib* dib = source->GetFrame();
    CMImage image;
    if (!dib || !image.LoadFromDib(*dib))
        return true;
    const int right = std::min(rect.right, image.GetWidth());
    const int bottom = std::min(rect.bottom, image.GetHeight());
    int first = -1;
    for (int y = std::max(0, rect.top); y < bottom; ++y) {
        for (int x = std::max(0, rect.left); x < right; ++x) {
            const int value = image.GetPixel(x, y);
            if (first < 0)
                first = value;
            else if (value != first)
                return true;
        }
    }
    return false;
}

bool CTrackFeatureSet::SetFeatureAtImpl(int frame, int feature) {
    if (!m_listsReady || !m_toolEnabled || !m_positionSource || !m_frameSource)
        return false;
    double px = 0;
    double py = 0;
    if (m_positionSource->GetPickedPosition(&px, &py) != S_OK)
        return false;
    if (!InPoints(frame, feature))
        return false;
    double l = 0, t = 0, r = 0, b = 0;
    const bool gotRegion = m_positionSource->GetDrawnRegion(&l, &t, &r, &b) == S_OK;
    const CRect rect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r),
                     static_cast<int>(b));
    const bool hasRegion = gotRegion && rect.right > rect.left && rect.bottom > rect.top;
    if (!hasRegion && m_indexSwitch) {
        AfxMessageBox(QStringLiteral("You must have a region defined in order to set a feature."));
        return false;
    }
    if (hasRegion && !RegionHasContrast(frame, rect)) {
        AfxMessageBox(QStringLiteral(
            "The feature's region has no contrast to track. Draw the region over detail."));
        return false;
    }
    if (!PassLockCheck(feature))
        return false;
    CTrackPoint point;
    point.SetPosition(std::trunc(px * 10.0), std::trunc(py * 10.0));
    point.SetWord1(kSetByUser);
    CTrackRegion region;
    region.SetRect(rect.left, rect.top, rect.right, rect.bottom);
    region.SetValue1(2);
    region.SetValue2(0);
    region.SetValue3(DisplaySettingsEntry());
    region.SetValue7(kSetByUser);
    SetItems(frame, feature, &point, hasRegion ? &region : nullptr);
    AdvanceAfterSet();
    return true;
}

HRESULT CTrackFeatureSet::SetFeatureAt(int frame, int feature) {
    if (!SetFeatureAtImpl(frame, feature))
        return E_FAIL;
    Notify();
    return S_OK;
}

HRESULT CTrackFeatureSet::SetFeatureHere() {
    int frame = -1;
    GetCurrentFrame(&frame);
    return SetFeatureAt(frame, m_selectedFeature);
}

HRESULT CTrackFeatureSet::SetPointAndRegion(int frame, int feature, int x, int y, int left, int top,
                                            int right, int bottom) {
    if (!m_listsReady || !m_toolEnabled || !m_frameSource || !InPoints(frame, feature))
        return E_FAIL;
    if (!PassLockCheck(feature))
        return E_FAIL;
    const int entry = DisplaySettingsEntry();
    CTrackPoint point;
    point.SetPosition(10.0 * x, 10.0 * y);
    point.SetWord1(kSetByUser);
    CTrackRegion region;
    region.SetRect(left, top, right, bottom);
    region.SetValue1(2);
    region.SetValue2(0);
    region.SetValue3(entry);
    region.SetValue7(kSetByUser);
    SetItems(frame, feature, &point, &region);
    AdvanceAfterSet();
    Notify();
    return S_OK;
}

HRESULT CTrackFeatureSet::MovePoint(int frame, int feature, int x10, int y10, const CRect& rect) {
    if (!InPoints(frame, feature))
        return E_FAIL;
    CTrackPoint point = m_fc.GetItem(frame, feature);
    CTrackRegion region = InRegions(frame, feature) ? m_fr.GetItem(frame, feature) : CTrackRegion();
    double x = 0, y = 0, l = 0, t = 0, r = 0, b = 0;
    point.GetPosition(&x, &y);
    region.GetRect(&l, &t, &r, &b);
    const bool pointMoves = x != x10 || y != y10;
    const bool regionMoves = l != rect.left || t != rect.top || r != rect.right || b != rect.bottom;
    if (!pointMoves && !regionMoves)
        return S_OK;
    if (!PassLockCheck(feature))
        return E_FAIL;
    point.SetPosition(x10, y10);
    point.SetWord1(kSetByUser);
    m_fc.SetItem(frame, feature, point);
    if (regionMoves && InRegions(frame, feature)) {
        region.SetRect(rect.left, rect.top, rect.right, rect.bottom);
        region.SetValue7(kSetByUser);
        m_fr.SetItem(frame, feature, region);
    }
    Notify();
    return S_OK;
}

void CTrackFeatureSet::MoveFrameOn() {
    if (!m_frameSource || m_stepAfterSet < 0)
        return;
    int frame = -1;
    GetCurrentFrame(&frame);
    int frames = -1;
    GetFrameCount(&frames);
    // Never past the last frame, however large the step.
    const int target = std::min(frame + m_stepAfterSet + 1, frames - 1);
    if (frame >= 0 && target > frame)
        m_frameSource->GoToFrame(target);
}

void CTrackFeatureSet::AdvanceAfterSet() {
    if (m_selectedFeature < 0)
        return;
    if (m_autoNextFeature) {
        int next = -1;
        for (int i = m_selectedFeature + 1; i < m_featureCount && next < 0; ++i)
            if (IsDefined(i))
                next = i;
        if (next >= 0) {
            SetSelectedFeature(next, true);
        } else if (m_wrapFeatures) {
            for (int i = 0; i < m_featureCount; ++i)
                if (IsDefined(i)) {
                    SetSelectedFeature(i, true);
                    break;
                }
            MoveFrameOn();
        }
        return;
    }
    if (m_wrapFeatures)
        MoveFrameOn();
}

HRESULT CTrackFeatureSet::StoreDisplaySettings(int frame, int feature) {
    if (!m_frameSource || !InRegions(frame, feature))
        return E_FAIL;
    CTrackRegion region = m_fr.GetItem(frame, feature);
    if (!RegionPresent(region))
        return E_FAIL;
    region.SetValue3(DisplaySettingsEntry());
    m_fr.SetItem(frame, feature, region);
    return S_OK;
}

HRESULT CTrackFeatureSet::StoreDisplaySettingsHere(int feature) {
    int frame = -1;
    GetCurrentFrame(&frame);
    return StoreDisplaySettings(frame, feature);
}

bool CTrackFeatureSet::IsTrackedAt(int frame, int feature) const {
    bool found = false;
    CTrackRegion region;
    GetRegion(frame, feature, &found, &region);
    if (!found || !IsDefined(feature))
        return false;
    BYTE flag = 0;
    m_fo.GetItem(0, feature).GetFlag3(&flag);
    return flag != 0;
}

int CTrackFeatureSet::AutoTrackedFeature() const {
    for (int i = 0; i < m_fo.GetNumLists(); ++i) {
        BYTE flag = 0;
        m_fo.GetItem(0, i).GetFlag3(&flag);
        if (IsDefined(i) && flag != 0)
            return i;
    }
    return -1;
}

bool CTrackFeatureSet::IsAutoTrackedAt(int frame) const {
    const int feature = AutoTrackedFeature();
    return feature >= 0 && IsTrackedAt(frame, feature);
}

HRESULT CTrackFeatureSet::StartAutoTracking(int mode, int direction) {
    int current = -1;
    GetCurrentFrame(&current);
    for (int i = 0; i < m_featureCount; ++i) {
        if (!IsTrackedAt(current, i))
            continue;
        CTrackFeature feature = m_fo.GetItem(0, i);
        feature.SetLinkA(current);
        feature.SetLinkB(mode == 1 ? current + 1 : -1);
        m_fo.SetItem(0, i, feature);
    }
    m_backward = direction < 0;
    return RunTracking() ? S_OK : E_FAIL;
}

bool CTrackFeatureSet::RunTracking() {
    std::vector<int> features;
    for (int i = 0; i < m_fo.GetNumLists(); ++i) {
        const CTrackFeature feature = m_fo.GetItem(0, i);
        LONG linkA = -1;
        BYTE flag = 0;
        feature.GetLinkA(&linkA);
        feature.GetFlag3(&flag);
        if (IsDefined(i) && flag != 0 && linkA >= 0)
            features.push_back(i);
    }
    for (int i : features) {
        LONG linkA = -1;
        m_fo.GetItem(0, i).GetLinkA(&linkA);
        bool found = false;
        CTrackRegion region;
        GetRegion(linkA, i, &found, &region);
        double l = 0, t = 0, r = 0, b = 0;
        region.GetRect(&l, &t, &r, &b);
        if ((r - l) * (b - t) > kLargeRegionArea) {
            if (AskYesNo(QStringLiteral("Warning: Tracking large feature regions may cause "
                                        "significant delays.\nDo you wish to continue?"),
                         QStringLiteral("Vidra Player")) != IDYES)
                return false;
            break;
        }
    }
    ITrackerFrameSource* frames = m_frameSource ? m_frameSource->GetTrackerSource() : nullptr;
    if (!frames)
        return false;
    m_trackers.Clear();
    m_runFeatures.assign(static_cast<size_t>(std::max(m_featureCount, 0)), -1);
    int start = -1;
    for (int i : features) {
        const CTrackFeature feature = m_fo.GetItem(0, i);
        LONG linkA = -1;
        LONG linkB = -1;
        feature.GetLinkA(&linkA);
        feature.GetLinkB(&linkB);
        bool found = false;
        CTrackRegion region;
        GetRegion(linkA, i, &found, &region);
        if (!found)
            continue;
        double l = 0, t = 0, r = 0, b = 0;
        region.GetRect(&l, &t, &r, &b);
        CFeatureTracker* tracker = m_trackers.FindOrAddTracker(i + 1);
        tracker->SetFrameSource(frames);
        CTrackSample sample;
        GetSample(i, &sample);
        if (!tracker->StartAt(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l),
                              static_cast<int>(b - t), sample, linkA, linkB))
            continue;
        const int index = m_trackers.GetCount() - 1;
        if (index >= static_cast<int>(m_runFeatures.size()))
            m_runFeatures.resize(static_cast<size_t>(index) + 1, -1);
        m_runFeatures[static_cast<size_t>(index)] = i;
        start = start < 0 ? linkA : start;
    }
    if (start < 0)
        return false;
    // The run goes on from the frame the user looks at; trackers that start elsewhere join it
    // when it reaches their frame.
    int current = -1;
    GetCurrentFrame(&current);
    if (current >= 0)
        start = current;
    m_trackers.SetHost(this);
    m_trackers.SetFrameCount(m_frameCount);
    m_trackers.SetDirection(m_backward ? 1 : 0);
    m_trackers.Run(start);
    Notify();
    return true;
}

HRESULT CTrackFeatureSet::StopAutoTracking() {
    m_trackers.Stop();
    return S_OK;
}

HRESULT CTrackFeatureSet::TrackedPoint(uint32_t frameWord, uint32_t positionWord) {
    return StoreTrackedPoint(
        static_cast<int>(frameWord >> 16), static_cast<int>(frameWord & 0xFFFF),
        static_cast<int>(positionWord & 0xFFFF), static_cast<int>(positionWord >> 16));
}

HRESULT CTrackFeatureSet::StoreTrackedPoint(int tracker, int frame, int x10, int y10) {
    if (tracker < 0 || tracker >= m_trackers.GetCount() ||
        tracker >= static_cast<int>(m_runFeatures.size()))
        return kUnknownTracker;
    const int feature = m_runFeatures[static_cast<size_t>(tracker)];
    if (feature < 0 || !IsDefined(feature))
        return kUnknownTracker;
    LONG linkA = -1;
    m_fo.GetItem(0, feature).GetLinkA(&linkA);
    bool found = false;
    CTrackRegion start;
    GetRegion(linkA, feature, &found, &start);
    if (!found || !InPoints(frame, feature))
        return S_OK;
    if (frame != linkA) {
        double l = 0, t = 0, r = 0, b = 0;
        start.GetRect(&l, &t, &r, &b);
        const int w = static_cast<int>(r - l);
        const int h = static_cast<int>(b - t);
        int width = 0;
        int height = 0;
        if (m_frameSource)
            m_frameSource->GetSize(&width, &height);
        const auto place = [](double centre10, int size, int limit) {
            int low = static_cast<int>(std::trunc(centre10 * 0.1 - size / 2 + 0.5));
            int high = low + size;
            if (low < 0) {
                low = 0;
                high = size;
            }
            if (high > limit - 1) {
                high = limit - 1;
                // A region wider than the image stays at the left edge.
                low = std::max(limit - 1 - size, 0);
            }
            return std::pair{low, high};
        };
        const auto [left, right] = place(x10, w, width);
        const auto [top, bottom] = place(y10, h, height);
        CTrackRegion region;
        region.SetRect(left, top, right, bottom);
        LONG v = 0;
        start.GetValue1(&v);
        region.SetValue1(v);
        start.GetValue2(&v);
        region.SetValue2(v);
        start.GetValue3(&v);
        region.SetValue3(v);
        region.SetValue7(kSetByRun);
        m_fr.SetItem(frame, feature, region);
    }
    CTrackPoint point;
    point.SetPosition(x10, y10);
    point.SetWord1(kSetByRun);
    m_fc.SetItem(frame, feature, point);
    return S_OK;
}

void CTrackFeatureSet::TrackedPoint(int tracker, int frame, int x10, int y10) {
    StoreTrackedPoint(tracker, frame, x10, y10);
}

void CTrackFeatureSet::FrameDone(int frame, int) {
    if (m_frameSource)
        m_frameSource->GoToFrame(frame);
}

void CTrackFeatureSet::RunComplete(int, int) {}

HRESULT CTrackFeatureSet::SetAutoNextFeature(bool on) {
    m_autoNextFeature = on;
    return S_OK;
}

HRESULT CTrackFeatureSet::GetAutoNextFeature(bool* out) const {
    if (!out)
        return E_POINTER;
    *out = m_autoNextFeature;
    return S_OK;
}

HRESULT CTrackFeatureSet::SetWrapFeatures(bool on) {
    m_wrapFeatures = on;
    return S_OK;
}

HRESULT CTrackFeatureSet::GetWrapFeatures(bool* out) const {
    if (!out)
        return E_POINTER;
    *out = m_wrapFeatures;
    return S_OK;
}

HRESULT CTrackFeatureSet::SetIndexSwitch(bool on) {
    intptr_t value = 0;
    if (m_indexValues.GetAt(kIndexKey, &value) != S_OK)
        value = 0;
    const bool wasOn = m_indexSwitch;
    m_indexSwitch = on && value != 0;
    if (m_indexSwitch && !wasOn) {
        m_savedWrap = m_wrapFeatures;
        m_wrapFeatures = false;
    } else if (!m_indexSwitch && wasOn) {
        m_wrapFeatures = m_savedWrap;
    }
    return S_OK;
}

HRESULT CTrackFeatureSet::GetIndexSwitch(bool* out) const {
    if (!out)
        return E_POINTER;
    *out = m_indexSwitch;
    return S_OK;
}

HRESULT CTrackFeatureSet::SetToolActive(bool on) {
    if (!m_positionSource)
        return E_FAIL;
    m_toolActive = on;
    bool active = false;
    m_positionSource->IsActive(&active);
    if (on && !active) {
        m_positionSource->Switch(1);
        m_switchedSourceOn = true;
    } else if (!on && m_switchedSourceOn) {
        m_positionSource->Switch(0);
        m_positionSource->Reset(0);
        m_switchedSourceOn = false;
    }
    return S_OK;
}

HRESULT CTrackFeatureSet::GetToolActive(bool* out) const {
    if (!out)
        return E_POINTER;
    *out = m_toolActive;
    return S_OK;
}

HRESULT CTrackFeatureSet::SetToolEnabled(bool on) {
    intptr_t tool = 0;
    intptr_t index = 0;
    if (m_indexValues.GetAt(kToolKey, &tool) != S_OK)
        tool = 0;
    if (m_indexValues.GetAt(kIndexKey, &index) != S_OK)
        index = 0;
    m_toolEnabled = on && (tool != 0 || index != 0);
    return S_OK;
}

HRESULT CTrackFeatureSet::IsTracking(bool* out) const {
    if (!out)
        return E_POINTER;
    *out = m_trackers.IsRunning();
    return S_OK;
}

HRESULT CTrackFeatureSet::SetStepAfterSet(int32_t step) {
    m_stepAfterSet = step;
    return S_OK;
}

HRESULT CTrackFeatureSet::ClearAllTracks() {
    m_fc.FillAll(CTrackPoint());
    m_fr.FillAll(CTrackRegion());
    if (m_frameCount < 2) {
        for (int i = 0; i < m_fc.GetNumLists(); ++i)
            m_fc.SetItem(0, i, CTrackPoint());
        for (int i = 0; i < m_fr.GetNumLists(); ++i)
            m_fr.SetItem(0, i, CTrackRegion());
    }
    Notify();
    return S_OK;
}

void CTrackFeatureSet::ClearRange(int feature, int first, int end) {
    first = std::max(first, 0);
    end = std::min(end, std::max(m_frameCount, 1));
    for (int f = first; f < end; ++f) {
        if (InPoints(f, feature))
            m_fc.SetItem(f, feature, CTrackPoint());
        if (InRegions(f, feature))
            m_fr.SetItem(f, feature, CTrackRegion());
    }
}

bool CTrackFeatureSet::ClearRangeChecked(int feature, int first, int end) {
    if (!PassLockCheck(feature))
        return false;
    ClearRange(feature, first, end);
    return true;
}

HRESULT CTrackFeatureSet::ClearFrom(int frame, int feature) {
    const bool done = ClearRangeChecked(feature, frame, m_frameCount);
    Notify();
    return done ? S_OK : E_FAIL;
}

HRESULT CTrackFeatureSet::ClearFromAll(int frame) {
    for (int i = 0; i < m_featureCount; ++i)
        ClearRangeChecked(i, frame, m_frameCount);
    Notify();
    return S_OK;
}

HRESULT CTrackFeatureSet::ClearUpTo(int frame, int feature) {
    const bool done = ClearRangeChecked(feature, 0, frame + 1);
    Notify();
    return done ? S_OK : E_FAIL;
}

HRESULT CTrackFeatureSet::ClearUpToAll(int frame) {
    for (int i = 0; i < m_featureCount; ++i)
        ClearRangeChecked(i, 0, frame + 1);
    Notify();
    return S_OK;
}

HRESULT CTrackFeatureSet::ClearAt(int feature, int frame) {
    const bool done = ClearRangeChecked(feature, frame, frame + 1);
    Notify();
    return done ? S_OK : E_FAIL;
}

HRESULT CTrackFeatureSet::ClearAtAll(int frame) {
    for (int i = 0; i < m_featureCount; ++i)
        ClearRangeChecked(i, frame, frame + 1);
    Notify();
    return S_OK;
}

HRESULT CTrackFeatureSet::ClearByKind(int feature, int kind) {
    if (!PassLockCheck(feature))
        return E_FAIL;
    const auto matches = [kind](LONG who) {
        return kind == 1 || (kind == 2 && who == kSetByUser) || (kind == 4 && who == kSetByRun);
    };
    for (int f = 0; f < std::max(m_frameCount, 1); ++f) {
        if (InRegions(f, feature) && matches(Who(m_fr.GetItem(f, feature))))
            m_fr.SetItem(f, feature, CTrackRegion());
        if (InPoints(f, feature) && matches(Who(m_fc.GetItem(f, feature))))
            m_fc.SetItem(f, feature, CTrackPoint());
    }
    Notify();
    return S_OK;
}

void CTrackFeatureSet::EraseRunResults(int feature) {
    for (int f = 0; f < std::max(m_frameCount, 1); ++f) {
        if (InRegions(f, feature) && Who(m_fr.GetItem(f, feature)) == kSetByRun)
            m_fr.SetItem(f, feature, CTrackRegion());
        if (InPoints(f, feature) && Who(m_fc.GetItem(f, feature)) == kSetByRun)
            m_fc.SetItem(f, feature, CTrackPoint());
    }
}

bool CTrackFeatureSet::HasRunResults(int feature) const {
    for (int f = 0; f < std::max(m_frameCount, 1); ++f) {
        if (InRegions(f, feature) && Who(m_fr.GetItem(f, feature)) == kSetByRun)
            return true;
        if (InPoints(f, feature) && Who(m_fc.GetItem(f, feature)) == kSetByRun)
            return true;
    }
    return false;
}

HRESULT CTrackFeatureSet::IsAutoTrackedHere(bool* out) const {
    if (!out)
        return E_POINTER;
    int frame = -1;
    GetCurrentFrame(&frame);
    *out = frame >= 0 && IsAutoTrackedAt(frame);
    return S_OK;
}

HRESULT CTrackFeatureSet::IsAutoTrackedAtFrame(int frame, bool* out) const {
    if (!out)
        return E_POINTER;
    *out = IsAutoTrackedAt(frame);
    return S_OK;
}

HRESULT CTrackFeatureSet::IsTrackedAtFrame(int frame, int feature, bool* out) const {
    if (!out)
        return E_POINTER;
    *out = IsTrackedAt(frame, feature);
    return S_OK;
}

HRESULT CTrackFeatureSet::ApplyMovieSettings(int index) {
    int count = 0;
    m_movieSettings.GetCount(&count);
    if (index < 0 || index >= count || !m_frameSource)
        return E_FAIL;
    std::unique_ptr<CLutParamSet> colour;
    std::unique_ptr<CLutParamSet> grey;
    if (m_movieSettings.GetItem(index, &colour, &grey) != S_OK)
        return E_FAIL;
    return m_frameSource->ApplyDisplaySettings(*colour, *grey);
}

HRESULT CTrackFeatureSet::Save(CFile& file) {
    try {
        file.SeekToEnd();
        m_fc.WriteToFile(file, 0, std::max(m_fc.GetNumFrames() - 1, 0), 0);
        m_fo.WriteToFile(file, 0, 0, 0);
        m_fr.WriteToFile(file, 0, std::max(m_fr.GetNumFrames() - 1, 0), 0);
        m_ts.WriteToFile(file, 0, 0, 0);
    } catch (const CFileException&) {
        return E_FAIL;
    }
    return m_movieSettings.Save(file);
}

HRESULT CTrackFeatureSet::Load(const QString& path, bool keepTracks) {
    CCheckedFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary))
        return E_FAIL;
    CSectionedList<CTrackPoint> fc;
    CSectionedList<CTrackFeature> fo;
    CSectionedList<CTrackRegion> fr;
    CSectionedList<CTrackSample> ts;
    fc.SetName(QStringLiteral("FC"));
    fo.SetName(QStringLiteral("FO"));
    fr.SetName(QStringLiteral("FR"));
    ts.SetName(QStringLiteral("TS"));
    CMovieSettingsList settings;
    try {
        // A missing or broken section leaves its list empty.
        if (fc.ReadFromFile(file) & kSectionFailed)
            fc.Init(CSectionedList<CTrackPoint>::kFlat, 0, 0, CTrackPoint());
        if (fo.ReadFromFile(file) & kSectionFailed)
            fo.Init(CSectionedList<CTrackFeature>::kFlat, 0, 0, CTrackFeature());
        if (fr.ReadFromFile(file) & kSectionFailed)
            fr.Init(CSectionedList<CTrackRegion>::kFlat, 0, 0, CTrackRegion());
        if (ts.ReadFromFile(file) & kSectionFailed)
            ts.Init(CSectionedList<CTrackSample>::kFlat, 0, 0, CTrackSample());
        // Into a list of its own, as the tracks: a load that fails changes nothing.
        if (settings.Load(file) != S_OK)
            settings = m_movieSettings;
    } catch (const CFileException&) {
        file.Abort();
        return E_FAIL;
    }
    file.Abort();
    const int features = fc.GetNumLists();
    if (!keepTracks) {
        fc.Init(CSectionedList<CTrackPoint>::kPerFrame, fc.GetNumFrames(), features, CTrackPoint());
        fr.Init(CSectionedList<CTrackRegion>::kPerFrame, fr.GetNumFrames(), fr.GetNumLists(),
                CTrackRegion());
    }
    m_fc.CopyFrom(fc);
    m_fo.CopyFrom(fo);
    m_fr.CopyFrom(fr);
    m_ts.CopyFrom(ts);
    m_movieSettings = settings;
    // Frames beyond the recording are cut off, missing ones added empty. A set not yet sized
    // takes the recording's count from its frame source, or keeps the loaded one.
    int frames = -1;
    GetFrameCount(&frames);
    if (frames < 0)
        frames = fc.GetNumFrames();
    ResizeLists(frames, std::min(features, m_maxFeatures));
    Notify();
    return S_OK;
}

HRESULT CTrackFeatureSet::SwitchAutoTrackedFeature(int feature, bool ask) {
    const int current = AutoTrackedFeature();
    if (current != feature && current >= 0 && HasRunResults(current) && ask) {
        MessageBoxPrompt prompt;
        prompt.text = QStringLiteral(
            "Switching the AutoTracked Feature will erase all previously "
            "AutoTracked points. Do you wish to continue?");
        prompt.caption = QStringLiteral("Warning");
        prompt.type = MB_YESNO;
        if (AfxPrompter().MessageBox(prompt) != IDYES)
            return E_FAIL;
    }
    if (current != feature)
        for (int i = 0; i < m_fo.GetNumLists(); ++i)
            EraseRunResults(i);
    for (int i = 0; i < m_fo.GetNumLists(); ++i) {
        if (!IsDefined(i))
            continue;
        CTrackFeature item = m_fo.GetItem(0, i);
        item.SetFlag3(0);
        m_fo.SetItem(0, i, item);
    }
    if (IsDefined(feature)) {
        CTrackFeature item = m_fo.GetItem(0, feature);
        item.SetFlag3(1);
        m_fo.SetItem(0, feature, item);
        if (feature < m_featureCount)
            m_selectedFeature = feature;
    }
    Notify();
    return S_OK;
}

void CTrackFeatureSet::GetAdvanceModes(int* autoNext, int* wrap) const {
    if (autoNext)
        *autoNext = m_autoNextFeature ? 1 : 0;
    if (wrap)
        *wrap = m_wrapFeatures ? 1 : 0;
}

void CTrackFeatureSet::SetAdvanceModes(int autoNext, int wrap) {
    m_autoNextFeature = autoNext != 0;
    m_wrapFeatures = wrap != 0;
}
