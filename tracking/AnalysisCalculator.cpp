#include "tracking/AnalysisCalculator.h"

#include "platform/wintypes/CLocale.h"
#include "tracking/AnalysisSettings.h"
#include "tracking/TrackFeatureSet.h"

#include <cmath>
#include <cstdlib>

double CAnalysisCalculator::FrameTime(int n, double rate) {
    const double dt = rate > 0 ? 1.0 / rate : 1.0;
    double time = 0;
    ScanC(FormatC("%9.7f", n * dt).c_str(), "%lf", &time);
    return time;
}

int CAnalysisCalculator::FrameCount() const {
    return m_features ? std::max(m_features->GetFrameListCount(), 0) : 0;
}

int CAnalysisCalculator::FeatureCount() const {
    int count = 0;
    if (m_features)
        m_features->GetFeatureCount(&count);
    return std::max(count, 0);
}

HRESULT CAnalysisCalculator::GetPosition(int frame, int feature, const AnalysisOptions& options,
                                         double* x, double* y, bool* valid) const {
    if (!m_features || !m_settings)
        return E_FAIL;
    bool found = false;
    CTrackPoint point;
    m_features->GetPoint(frame, feature, &found, &point);
    double px = 0, py = 0;
    if (found) {
        double x10 = 0, y10 = 0;
        point.GetPosition(&x10, &y10);
        if (options.applyCoordinateSystem) {
            m_settings->ToCalibrated(x10, y10, &px, &py);
        } else {
            px = x10 * 0.1;
            py = y10 * 0.1;
        }
        if (options.convertUnits) {
            m_settings->PixelsToUnits(px, &px, options.units);
            m_settings->PixelsToUnits(py, &py, options.units);
        }
    }
    if (x)
        *x = px;
    if (y)
        *y = py;
    if (valid)
        *valid = found;
    return S_OK;
}

HRESULT CAnalysisCalculator::GetTable(int trigger, double rate, const AnalysisOptions& options,
                                      std::vector<double>* table, int* rows, int* columns) const {
    if (!table || !rows || !columns)
        return E_POINTER;
    table->clear();
    *rows = 0;
    *columns = 0;
    if (!m_features || !m_settings)
        return E_FAIL;
    const int frames = FrameCount();
    const int features = FeatureCount();
    if (frames == 0 || features == 0)
        return S_OK;
    const int width = 2 * features + 2;
    table->reserve(static_cast<size_t>(frames) * width);
    for (int k = 0; k < frames; ++k) {
        bool tracked = false;
        m_features->HasPointsAt(k, &tracked);
        if (!tracked)
            continue;
        table->push_back(k - trigger);
        table->push_back(FrameTime(k - trigger, rate));
        for (int i = 0; i < features; ++i) {
            double x = 0, y = 0;
            GetPosition(k, i, options, &x, &y, nullptr);
            table->push_back(x);
            table->push_back(y);
        }
        ++*rows;
    }
    *columns = width;
    return S_OK;
}

HRESULT CAnalysisCalculator::GetSeries(int feature, const AnalysisOptions& options,
                                       std::vector<double>* x, std::vector<double>* y) const {
    if (!x || !y)
        return E_POINTER;
    if (!m_features || !m_settings)
        return E_FAIL;
    const int frames = FrameCount();
    x->assign(static_cast<size_t>(frames), 0.0);
    y->assign(static_cast<size_t>(frames), 0.0);
    for (int k = 0; k < frames; ++k)
        GetPosition(k, feature, options, &(*x)[k], &(*y)[k], nullptr);
    return S_OK;
}

HRESULT CAnalysisCalculator::GetSpeeds(int feature, double rate, const AnalysisOptions& options,
                                       std::vector<double>* speeds) const {
    if (!speeds)
        return E_POINTER;
    if (!m_features || !m_settings)
        return E_FAIL;
    const double perSecond = rate > 0 ? rate : 1.0;
    const int frames = FrameCount();
    speeds->assign(static_cast<size_t>(frames), 0.0);
    const auto at = [&](int k, double* x, double* y) {
        bool valid = false;
        GetPosition(k, feature, options, x, y, &valid);
        return valid;
    };
    for (int k = 0; k < frames; ++k) {
        const int before = k > 0 ? k - 1 : k;
        const int after = k + 1 < frames ? k + 1 : k;
        if (after == before)
            continue;
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        if (at(before, &x0, &y0) && at(after, &x1, &y1))
            (*speeds)[k] = std::hypot(x1 - x0, y1 - y0) * perSecond / (after - before);
    }
    return S_OK;
}

HRESULT CAnalysisCalculator::GetDistances(int feature, const AnalysisOptions& options,
                                          std::vector<double>* distances) const {
    if (!distances)
        return E_POINTER;
    if (!m_features || !m_settings)
        return E_FAIL;
    const int frames = FrameCount();
    distances->assign(static_cast<size_t>(frames), 0.0);
    double total = 0;
    bool havePrevious = false;
    double px = 0, py = 0;
    for (int k = 0; k < frames; ++k) {
        double x = 0, y = 0;
        bool valid = false;
        GetPosition(k, feature, options, &x, &y, &valid);
        if (valid) {
            if (havePrevious)
                total += std::hypot(x - px, y - py);
            px = x;
            py = y;
            havePrevious = true;
        }
        (*distances)[k] = total;
    }
    return S_OK;
}
